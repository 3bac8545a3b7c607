#include "RichEditFormat.h"

namespace Orvane { namespace Quillprobe { namespace RichEditFormat {

namespace {

CHARFORMAT2W EmptyFormat()
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    return format;
}

}

void RaiseTextLimit(HWND edit)
{
    ::SendMessageW(edit, EM_EXLIMITTEXT, 0, kFieldTextLimit);
}

CHARRANGE GetSelection(HWND edit)
{
    CHARRANGE range{0, 0};
    ::SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void SetSelection(HWND edit, LONG start, LONG end)
{
    CHARRANGE range{start, end};
    ::SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void SetDefaultFormat(HWND edit, bool withBackground, COLORREF background)
{
    CHARFORMAT2W format = EmptyFormat();
    format.dwMask = CFM_SIZE;
    format.yHeight = kFieldHeightTwips;
    if (withBackground) {
        format.dwMask |= CFM_BACKCOLOR;
        format.dwEffects = 0;
        format.crBackColor = background;
    }
    ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void SetTextColour(HWND edit, COLORREF colour)
{
    CHARRANGE saved = GetSelection(edit);
    CHARFORMAT2W defaults = EmptyFormat();
    ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaults));
    SetSelection(edit, 0, -1);
    ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&defaults));
    SetSelectionColour(edit, colour);
    SetSelection(edit, saved.cpMin, saved.cpMax);
}

void SetSelectionColour(HWND edit, COLORREF colour)
{
    CHARFORMAT2W format = EmptyFormat();
    format.dwMask = CFM_COLOR;
    format.dwEffects = 0;
    format.crTextColor = colour;
    ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void SetSelectionBackground(HWND edit, COLORREF background)
{
    CHARFORMAT2W format = EmptyFormat();
    ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    format.dwMask = CFM_BACKCOLOR;
    format.dwEffects = 0;
    format.crBackColor = background;
    ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

}}}
