#include "Framework/WindowImpl.h"

#include "Framework/Module.h"
#include "MessageDispatch.h"

namespace Framework {

namespace {

const wchar_t kObjectProperty[] = L"Framework.WindowObject";
const wchar_t kBaseProcProperty[] = L"Framework.BaseProc";

// The object whose window is being created on this thread; the window's first message binds it.
thread_local CWindowImplRoot* t_creating = nullptr;

}

CWndClassInfo::CWndClassInfo(const wchar_t* className, UINT style, HBRUSH background, UINT iconId) noexcept
    : className_(className), baseClassName_(nullptr), style_(style), background_(background), iconId_(iconId)
{
}

CWndClassInfo::CWndClassInfo(const wchar_t* className, const wchar_t* baseClassName) noexcept
    : className_(className), baseClassName_(baseClassName), style_(0), background_(nullptr), iconId_(0)
{
}

ATOM CWndClassInfo::Register(HINSTANCE instance)
{
    // Window threads create their first windows at the same time; the class is registered once.
    std::call_once(once_, [&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (baseClassName_) {
            if (!::GetClassInfoExW(nullptr, baseClassName_, &wc) && !::GetClassInfoExW(instance, baseClassName_, &wc))
                return;
            baseProc_ = wc.lpfnWndProc;
            wc.cbSize = sizeof(wc);
        } else {
            wc.style = style_;
            wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hbrBackground = background_;
            if (iconId_) {
                wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(iconId_), IMAGE_ICON,
                                                           ::GetSystemMetrics(SM_CXICON),
                                                           ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
                wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(iconId_), IMAGE_ICON,
                                                             ::GetSystemMetrics(SM_CXSMICON),
                                                             ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
            }
        }
        wc.lpfnWndProc = &CWindowImplRoot::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = className_;
        wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        atom_ = ::RegisterClassExW(&wc);
        if (!atom_ && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
            atom_ = static_cast<ATOM>(::GetClassInfoExW(instance, className_, &wc));
    });
    return atom_;
}

CWindowImplRoot::~CWindowImplRoot()
{
    // A window that outlives its object no longer reaches it; its messages go to the procedure
    // under the object's map.
    if (bound_ && FromHandle(bound_) == this) {
        if (subclassed_)
            ::SetWindowLongPtrW(bound_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
        ::RemovePropW(bound_, kObjectProperty);
    }
}

CWindowImplRoot* CWindowImplRoot::FromHandle(HWND window) noexcept
{
    return static_cast<CWindowImplRoot*>(::GetPropW(window, kObjectProperty));
}

void CWindowImplRoot::Bind(HWND window)
{
    HandleRef() = window;
    bound_ = window;
    ::SetPropW(window, kObjectProperty, this);
    ::SetPropW(window, kBaseProcProperty, reinterpret_cast<HANDLE>(superProc_));
}

HWND CWindowImplRoot::CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect, const wchar_t* name,
                                 DWORD style, DWORD exStyle, HMENU menuOrId, void* param)
{
    if (HandleRef())
        return nullptr;
    HINSTANCE instance = Module().GetModuleInstance();
    if (!info.Register(instance))
        return nullptr;
    superProc_ = info.BaseProc();
    subclassed_ = false;
    RECT area = rect ? *rect : RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    int width = rect ? area.right - area.left : CW_USEDEFAULT;
    int height = rect ? area.bottom - area.top : CW_USEDEFAULT;
    CWindowImplRoot* previous = t_creating;
    t_creating = this;
    HWND window = ::CreateWindowExW(exStyle, info.ClassName(), name, style, area.left, area.top, width, height,
                                    parent, menuOrId, instance, param);
    t_creating = previous;
    if (!window && HandleRef())
        HandleRef() = nullptr;
    return window;
}

bool CWindowImplRoot::SubclassImpl(HWND window)
{
    if (HandleRef() || !::IsWindow(window) || FromHandle(window))
        return false;
    WNDPROC old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (!old)
        return false;
    superProc_ = old;
    subclassed_ = true;
    Bind(window);
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowImplRoot::WindowProc));
    return true;
}

HWND CWindowImplRoot::UnsubclassImpl()
{
    HWND window = HandleRef();
    if (!subclassed_ || !window)
        return nullptr;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    ::RemovePropW(window, kObjectProperty);
    ::RemovePropW(window, kBaseProcProperty);
    subclassed_ = false;
    superProc_ = ::DefWindowProcW;
    HandleRef() = nullptr;
    bound_ = nullptr;
    return window;
}

LRESULT CWindowImplRoot::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(superProc_, HandleRef(), msg, wParam, lParam);
}

LRESULT CWindowImplRoot::DefaultProc()
{
    if (!currentMsg_)
        return 0;
    return DefaultProc(currentMsg_->message, currentMsg_->wParam, currentMsg_->lParam);
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRoot* self = FromHandle(window);
    if (!self) {
        self = t_creating;
        if (!self) {
            // A window whose object is gone: the procedure it had before us, if any.
            WNDPROC base = reinterpret_cast<WNDPROC>(::GetPropW(window, kBaseProcProperty));
            return ::CallWindowProcW(base ? base : ::DefWindowProcW, window, msg, wParam, lParam);
        }
        t_creating = nullptr;
        self->Bind(window);
    }

    const MSG current{window, msg, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    {
        CurrentMessageScope scope(self->currentMsg_, current);
        NestedMessage nested(self->final_);
        bool handled = false;
        if (!ProcessWithoutThrowing(*self, window, msg, wParam, lParam, result, handled)) {
            // A handler that threw answers for itself: creation fails, anything else is done.
            handled = true;
            result = (msg == WM_CREATE) ? -1 : 0;
        }
        // A window destroyed while its handler ran (in a modal loop, say) has no procedure left.
        if (!handled && self->bound_ == window)
            result = self->DefaultProc(msg, wParam, lParam);
    }

    if (msg == WM_NCDESTROY) {
        if (self->subclassed_ && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) ==
                                     &CWindowImplRoot::WindowProc)
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->superProc_));
        ::RemovePropW(window, kObjectProperty);
        ::RemovePropW(window, kBaseProcProperty);
        self->subclassed_ = false;
        self->HandleRef() = nullptr;
        self->bound_ = nullptr;
        self->final_.Destroyed(window);
    }
    // OnFinalMessage may free the object: only once no handler of it is on the stack any more.
    if (HWND gone = self->final_.Due())
        self->OnFinalMessage(gone);
    return result;
}

}
