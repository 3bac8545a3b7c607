#include "Framework/Bars.h"

#include "Framework/Handles.h"
#include "Framework/Module.h"
#include "Framework/Resources.h"

namespace Framework {

namespace {

// The resource type of the TOOLBAR statement (RT_TOOLBAR, which the system headers do not name).
constexpr WORD kToolBarResourceType = 241;
// More buttons than this in the 32-bit layout means the data is no toolbar.
constexpr DWORD kMaxToolBarItems = 1024;

// A TOOLBAR resource: image size, count, then the command of each button (0 for a separator).
// Resource compilers write it in one of two layouts: 16-bit fields after a version word of 1,
// or (GNU windres) 32-bit fields without a version.
struct ToolBarResource {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<WORD> items;
};

bool ReadToolBarResource(UINT id, ToolBarResource& out)
{
    const HINSTANCE instance = Module().GetResourceInstance();
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolBarResourceType));
    if (!found)
        return false;
    DWORD size = ::SizeofResource(instance, found);
    HGLOBAL loaded = ::LoadResource(instance, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    auto word = [&](size_t index) { return static_cast<DWORD>(reinterpret_cast<const WORD*>(data)[index]); };
    auto dword = [&](size_t index) { return reinterpret_cast<const DWORD*>(data)[index]; };
    if (size >= 8 && word(0) == 1 && size >= (4 + word(3)) * sizeof(WORD)) {
        out.width = word(1);
        out.height = word(2);
        for (DWORD i = 0; i < word(3); ++i)
            out.items.push_back(static_cast<WORD>(word(4 + i)));
        return true;
    }
    if (size >= 12 && dword(2) <= kMaxToolBarItems && size >= (3 + dword(2)) * sizeof(DWORD)) {
        out.width = dword(0);
        out.height = dword(1);
        for (DWORD i = 0; i < dword(2); ++i)
            out.items.push_back(static_cast<WORD>(dword(3 + i)));
        return true;
    }
    return false;
}

// One bar, a child of parent with its control id, until the frame's layout places it.
HWND CreateBarWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int size, HWND parent,
                     UINT id)
{
    return ::CreateWindowExW(exStyle, className, text, style, 0, 0, size, size, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Module().GetResourceInstance(), nullptr);
}

}

HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, bool initialSeparator, DWORD style, UINT id)
{
    ToolBarResource resource{};
    if (!ReadToolBarResource(resourceId, resource))
        return nullptr;

    std::vector<TBBUTTON> buttons;
    if (initialSeparator)
        buttons.push_back(TBBUTTON{0, 0, TBSTATE_ENABLED, BTNS_SEP, {0}, 0, 0});
    int image = 0;
    for (WORD item : resource.items) {
        TBBUTTON button{};
        if (item) {
            button.iBitmap = image++;
            button.idCommand = item;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        } else {
            button.fsStyle = BTNS_SEP;
        }
        button.iString = -1;
        buttons.push_back(button);
    }

    HWND toolbar = CreateBarWindow(0, TOOLBARCLASSNAMEW, nullptr, style, kUnplacedChildSize, parent, id);
    if (!toolbar)
        return nullptr;
    ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(resource.width), static_cast<WORD>(resource.height)));
    if (image > 0) {
        TBADDBITMAP bitmap{Module().GetResourceInstance(), resourceId};
        ::SendMessageW(toolbar, TB_ADDBITMAP, static_cast<WPARAM>(image), reinterpret_cast<LPARAM>(&bitmap));
    }
    if (!buttons.empty())
        ::SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

HWND CreateSimpleReBarCtrl(HWND parent, DWORD style, UINT id)
{
    HWND rebar = CreateBarWindow(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr, style, kUnplacedChildSize, parent, id);
    if (!rebar)
        return nullptr;
    REBARINFO info{};
    info.cbSize = sizeof(info);
    if (!::SendMessageW(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        ::DestroyWindow(rebar);
        return nullptr;
    }
    return rebar;
}

bool AddSimpleReBarBand(HWND rebar, HWND band, const wchar_t* title, bool newRow, int cx, bool fullWidthAlways)
{
    if (!rebar || !band)
        return false;
    REBARBANDINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
    if (title) {
        info.fMask |= RBBIM_TEXT;
        info.lpText = const_cast<wchar_t*>(title);
    }
    info.fStyle = RBBS_CHILDEDGE | RBBS_USECHEVRON;
    if (newRow)
        info.fStyle |= RBBS_BREAK;
    if (fullWidthAlways)
        info.fStyle |= RBBS_FIXEDSIZE;
    info.hwndChild = band;
    info.wID = static_cast<UINT>(::GetDlgCtrlID(band));

    RECT last{0, 0, 0, 0};
    int count = static_cast<int>(::SendMessageW(band, TB_BUTTONCOUNT, 0, 0));
    if (count > 0)
        ::SendMessageW(band, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    DWORD buttonSize = static_cast<DWORD>(::SendMessageW(band, TB_GETBUTTONSIZE, 0, 0));
    int height = HIWORD(buttonSize) > 0 ? HIWORD(buttonSize) : last.bottom - last.top;
    info.cxMinChild = 0;
    info.cyMinChild = height;
    info.cxIdeal = last.right;
    info.cx = cx > 0 ? cx : last.right;
    return ::SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info)) != 0;
}

HWND CreateSimpleStatusBar(HWND parent, const wchar_t* text, DWORD style, UINT id)
{
    // The status bar sizes itself to its parent.
    return CreateBarWindow(0, STATUSCLASSNAMEW, text, style, 0, parent, id);
}

bool SetToolBarButtonText(HWND toolbar, int command, const wchar_t* text)
{
    if (!toolbar || !text)
        return false;
    DWORD extended = static_cast<DWORD>(::SendMessageW(toolbar, TB_GETEXTENDEDSTYLE, 0, 0));
    if (!(extended & TBSTYLE_EX_MIXEDBUTTONS))
        ::SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_MIXEDBUTTONS);
    int index = static_cast<int>(::SendMessageW(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0));
    if (index < 0)
        return false;
    TBBUTTON button{};
    if (!::SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return false;
    // TB_ADDSTRING takes a list of strings, each terminated, the list ended by an empty one.
    std::wstring list(text);
    list.push_back(L'\0');
    list.push_back(L'\0');
    LRESULT stringIndex = ::SendMessageW(toolbar, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(list.c_str()));
    if (stringIndex < 0)
        return false;
    button.iString = static_cast<INT_PTR>(stringIndex);
    button.fsStyle |= BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    if (!::SendMessageW(toolbar, TB_DELETEBUTTON, static_cast<WPARAM>(index), 0))
        return false;
    return ::SendMessageW(toolbar, TB_INSERTBUTTONW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)) != 0;
}

bool CMultiPaneStatusBarCtrl::SetPanes(const int* ids, int count)
{
    if (!m_hWnd || !ids || count <= 0)
        return false;
    ids_.assign(ids, ids + count);
    widths_.assign(ids_.size(), 0);

    HFONT font = GetFont();
    WindowDC dc(m_hWnd);
    if (!dc)
        return false;
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] == kDefaultPaneId)
            continue;
        std::wstring text = LoadResourceString(static_cast<UINT>(ids_[i]));
        SIZE extent{0, 0};
        if (!text.empty())
            ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        widths_[i] = extent.cx + 2 * borders[0] + 2 * borders[2] + 8;
    }
    UpdatePanesLayout();
    return true;
}

void CMultiPaneStatusBarCtrl::UpdatePanesLayout()
{
    if (!m_hWnd || ids_.empty())
        return;
    RECT client{};
    GetClientRect(&client);
    int right = client.right;
    // Room for the size grip at the right end.
    if (GetStyle() & SBARS_SIZEGRIP)
        right -= ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges(ids_.size(), -1);
    int others = 0;
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] != kDefaultPaneId)
            others += widths_[i];
    }
    int x = right - others;
    if (x < 0)
        x = 0;
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] == kDefaultPaneId) {
            edges[i] = x;
        } else {
            x += widths_[i];
            edges[i] = x;
        }
    }
    if (!edges.empty())
        edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int CMultiPaneStatusBarCtrl::GetPaneIndex(int id) const
{
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] == id)
            return static_cast<int>(i);
    }
    return -1;
}

bool CMultiPaneStatusBarCtrl::SetPaneText(int id, const std::wstring& text)
{
    int index = GetPaneIndex(id);
    if (index < 0)
        return false;
    return SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::wstring CMultiPaneStatusBarCtrl::GetPaneText(int id) const
{
    int index = GetPaneIndex(id);
    if (index < 0)
        return std::wstring();
    LRESULT info = SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
    size_t length = LOWORD(info);
    std::wstring text(length + 1, L'\0');
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

LRESULT CMultiPaneStatusBarCtrl::OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool&)
{
    LRESULT result = DefaultProc(msg, wParam, lParam);
    UpdatePanesLayout();
    return result;
}

}
