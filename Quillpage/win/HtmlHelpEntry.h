#pragma once
// The HTML Help entry point, taken from the HTML Help control library rather than linked, so that a
// machine without the library still loads the module.
#include <windows.h>

namespace Orvane { namespace Quillon {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// HtmlHelpW's command that opens a help file at its table of contents (HH_DISPLAY_TOC).
constexpr UINT kHelpDisplayTableOfContents = 1;

// HtmlHelpW from the library that the registry names for the HTML Help control, else "hhctrl.ocx";
// null when neither loads. Loaded on first use.
HtmlHelpFunction HtmlHelpEntry();

}}
