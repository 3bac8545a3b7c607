#pragma once
// Character formats of the tester's rich-edit fields.
#include <windows.h>
#include <richedit.h>

namespace Orvane { namespace Quillprobe { namespace RichEditFormat {

inline constexpr COLORREF kBlack = 0x000000;
inline constexpr COLORREF kRed = 0x0000FF;
inline constexpr COLORREF kBlue = 0xFF0000;
inline constexpr COLORREF kRegexpBackground = 0xEFFEE2;
inline constexpr COLORREF kFormatBackground = 0xECE3FD;
// 16 points.
inline constexpr LONG kFieldHeightTwips = 320;
// The control's own limit of 32,767 characters would cut long lines and results without a word.
inline constexpr LONG kFieldTextLimit = 0x7FFFFFFE;

void RaiseTextLimit(HWND edit);

CHARRANGE GetSelection(HWND edit);
void SetSelection(HWND edit, LONG start, LONG end);

// The default format of new text: the size, and the background when one is given.
void SetDefaultFormat(HWND edit, bool withBackground, COLORREF background);

// Gives all text the control's default format (which removes earlier highlighting) and the colour.
void SetTextColour(HWND edit, COLORREF colour);

// Formats of the selection.
void SetSelectionColour(HWND edit, COLORREF colour);
void SetSelectionBackground(HWND edit, COLORREF background);

}}}
