#pragma once
// Scoped owners for the Win32 and COM resources the programs use: one small type per kind.
// Each closes its resource in its destructor, moves but never copies.
#include <windows.h>
#include <objbase.h>
#include <utility>

namespace Framework {

template <typename Traits>
class ScopedResource {
public:
    using Handle = typename Traits::Handle;

    ScopedResource() noexcept : handle_(Traits::Invalid()) {}
    explicit ScopedResource(Handle handle) noexcept : handle_(handle) {}
    ~ScopedResource() { Reset(); }

    ScopedResource(ScopedResource&& other) noexcept : handle_(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;

    Handle Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    Handle Release() noexcept
    {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }
    void Reset(Handle handle = Traits::Invalid()) noexcept
    {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = handle;
    }
    // For functions that return a new resource through an out parameter.
    Handle* Receive() noexcept
    {
        Reset();
        return &handle_;
    }

private:
    Handle handle_;
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
// CreateFileW and FindFirstChangeNotificationW report failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindCloseChangeNotification(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};
template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
// A device context made by CreateCompatibleDC or CreateDCW (not one of a window: WindowDC).
struct DeviceContextTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
struct LibraryTraits {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::GlobalFree(h); }
};
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};
// CreateActCtxW reports failure as INVALID_HANDLE_VALUE.
struct ActivationContextTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::ReleaseActCtx(h); }
};

using ScopedHandle = ScopedResource<KernelHandleTraits>;
using ScopedFile = ScopedResource<FileHandleTraits>;
using ScopedChangeNotification = ScopedResource<ChangeNotificationTraits>;
using ScopedFind = ScopedResource<FindHandleTraits>;
using ScopedFont = ScopedResource<GdiObjectTraits<HFONT>>;
using ScopedBitmap = ScopedResource<GdiObjectTraits<HBITMAP>>;
using ScopedPen = ScopedResource<GdiObjectTraits<HPEN>>;
using ScopedBrush = ScopedResource<GdiObjectTraits<HBRUSH>>;
using ScopedDC = ScopedResource<DeviceContextTraits>;
using ScopedMenu = ScopedResource<MenuTraits>;
using ScopedIcon = ScopedResource<IconTraits>;
using ScopedLibrary = ScopedResource<LibraryTraits>;
using ScopedRegKey = ScopedResource<RegKeyTraits>;
using ScopedGlobal = ScopedResource<GlobalMemoryTraits>;
using ScopedLocal = ScopedResource<LocalMemoryTraits>;
using ScopedActivationContext = ScopedResource<ActivationContextTraits>;

// A device context of a window, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of a window's WM_PAINT: BeginPaint for the life of the object, then EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintDC() { ::EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A GDI object selected into a device context; the previous object is selected back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    bool Succeeded() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GlobalLock for the life of the object.
template <typename T>
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL memory) noexcept : memory_(memory), data_(static_cast<T*>(::GlobalLock(memory))) {}
    ~GlobalLocked()
    {
        if (data_)
            ::GlobalUnlock(memory_);
    }
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
    T* Get() const noexcept { return data_; }
    explicit operator bool() const noexcept { return data_ != nullptr; }

private:
    HGLOBAL memory_;
    T* data_;
};

// Where a program lets COM look for a class: in-process server or handler, local server, remote
// server.
constexpr DWORD kAnyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// A COM interface pointer that owns one reference.
template <typename I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes an extra reference on an existing pointer.
    explicit ComPtr(I* pointer) noexcept : pointer_(pointer)
    {
        if (pointer_)
            pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(pointer_, other.pointer_);
        return *this;
    }

    I* Get() const noexcept { return pointer_; }
    I* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }
    void Reset() noexcept
    {
        if (pointer_) {
            I* old = pointer_;
            pointer_ = nullptr;
            old->Release();
        }
    }
    // Adopts a reference that the caller already owns.
    void Attach(I* pointer) noexcept
    {
        Reset();
        pointer_ = pointer;
    }
    I* Detach() noexcept
    {
        I* pointer = pointer_;
        pointer_ = nullptr;
        return pointer;
    }
    I** Receive() noexcept
    {
        Reset();
        return &pointer_;
    }
    void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }
    template <typename J>
    HRESULT QueryInterface(REFIID iid, ComPtr<J>& out) const noexcept
    {
        if (!pointer_)
            return E_POINTER;
        return pointer_->QueryInterface(iid, out.ReceiveVoid());
    }

private:
    I* pointer_ = nullptr;
};

// CoInitializeEx for the life of the object; CoUninitialize only after a successful start.
class ComInitialization {
public:
    explicit ComInitialization(DWORD model = COINIT_APARTMENTTHREADED) noexcept : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComInitialization()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    HRESULT Result() const noexcept { return result_; }
    bool Succeeded() const noexcept { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// Memory the COM task allocator handed out (CoTaskMemFree).
template <typename T>
class CoTaskMemory {
public:
    CoTaskMemory() noexcept = default;
    ~CoTaskMemory() { ::CoTaskMemFree(data_); }
    CoTaskMemory(const CoTaskMemory&) = delete;
    CoTaskMemory& operator=(const CoTaskMemory&) = delete;
    T* Get() const noexcept { return data_; }
    T** Receive() noexcept
    {
        ::CoTaskMemFree(data_);
        data_ = nullptr;
        return &data_;
    }

private:
    T* data_ = nullptr;
};

}
