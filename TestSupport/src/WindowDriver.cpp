#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"
#include "Framework/Paths.h"
#include "TestSupport/TestFiles.h"

#include <chrono>

namespace TestSupport {

namespace {

struct FindRequest {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != request->processId)
        return TRUE;
    if (request->visibleOnly && !::IsWindowVisible(window))
        return TRUE;
    if (request->className && ClassNameOf(window) != request->className)
        return TRUE;
    if (request->caption) {
        // Read without a message: the window's thread may be busy.
        wchar_t caption[512] = {};
        ::InternalGetWindowText(window, caption, 512);
        if (std::wstring(caption) != request->caption)
            return TRUE;
    }
    request->found.push_back(window);
    return TRUE;
}

struct ChildRequest {
    const wchar_t* className;
    std::wstring texts;
};

BOOL CALLBACK CollectChildText(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<ChildRequest*>(param);
    if (_wcsicmp(ClassNameOf(window).c_str(), request->className) == 0) {
        if (!request->texts.empty())
            request->texts += L"\n";
        request->texts += WindowText(window);
    }
    return TRUE;
}

}

std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className, const wchar_t* caption, bool visibleOnly)
{
    FindRequest request{processId ? processId : ::GetCurrentProcessId(), className, caption, visibleOnly, {}};
    ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            auto windows = FindTopWindows(processId, className, caption);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs, false);
    return found;
}

void PumpMessages()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool pumpMessages)
{
    ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (pumpMessages)
            PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(20);
    }
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT itself, because GetWindowTextW does not ask windows of other processes; with a
    // timeout, because the window's thread may hang.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) || length == 0)
        return std::wstring();
    // Rich edit may count line breaks differently for the length than for the text.
    std::wstring text(static_cast<size_t>(length) * 2 + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                               2000, &copied))
        return std::wstring();
    text.resize(copied < text.size() ? static_cast<size_t>(copied) : text.size() - 1);
    return text;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c < 0x100 ? c : '?');
    return out;
}

std::wstring Widen(const std::string& text)
{
    std::wstring out;
    for (char c : text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

namespace {

struct ChildSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if ((*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match)
{
    ChildSearch search{&match, nullptr};
    ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ExpandTreeItemByKey(HWND tree, HTREEITEM item, DWORD timeoutMs)
{
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ::PostMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
    ::PostMessageW(tree, WM_KEYUP, VK_RIGHT, 0);
    return WaitUntil(
        [&] {
            return (::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        },
        timeoutMs, false);
}

std::wstring ChildTexts(HWND window, const wchar_t* className)
{
    ChildRequest request{className, {}};
    ::EnumChildWindows(window, CollectChildText, reinterpret_cast<LPARAM>(&request));
    return request.texts;
}

DialogAnswerer::DialogAnswerer(const wchar_t* caption, int command, DWORD timeoutMs, DWORD processId,
                               std::vector<int> first, std::wstring screenshot)
    : caption_(caption), command_(command), timeoutMs_(timeoutMs), processId_(processId), before_(std::move(first)),
      screenshot_(std::move(screenshot))
{
    thread_ = std::thread([this] { Watch(); });
    started_ = true;
}

DialogAnswerer::~DialogAnswerer() { Join(); }

bool DialogAnswerer::Join()
{
    if (!started_) {
        started_ = true;
        thread_ = std::thread([this] { Watch(); });
    }
    if (thread_.joinable())
        thread_.join();
    return found_;
}

void DialogAnswerer::Watch()
{
    HWND dialog = WaitForTopWindow(processId_, L"#32770", caption_.c_str(), timeoutMs_);
    if (!dialog)
        return;
    found_ = true;
    // A box can be visible before its dialog procedure has set its texts.
    WaitUntil([&] { return !ChildTexts(dialog, L"Static").empty(); }, 5000, false);
    ::Sleep(100);
    statics_ = ChildTexts(dialog, L"Static");
    edit_ = ChildTexts(dialog, L"Edit");
    if (!screenshot_.empty())
        SaveWindowScreenshot(dialog, screenshot_);
    for (int command : before_) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        ::Sleep(200);
        stayedOpen_ = stayedOpen_ && ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    }
    HWND button = ::GetDlgItem(dialog, command_);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command_, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

BoxAnswerer::BoxAnswerer(const wchar_t* caption, int button) : caption_(caption), button_(button)
{
    thread_ = std::thread([this] { Watch(); });
}

BoxAnswerer::~BoxAnswerer()
{
    stop_ = true;
    thread_.join();
}

std::wstring BoxAnswerer::Text() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

void BoxAnswerer::Watch()
{
    while (!stop_) {
        // Only boxes of this process: other test programs may run beside this one.
        std::vector<HWND> boxes = FindTopWindows(0, L"#32770", caption_.c_str());
        if (!boxes.empty()) {
            HWND box = boxes.front();
            {
                std::lock_guard<std::mutex> lock(mutex_);
                text_ = WindowText(::GetDlgItem(box, 0xFFFF));
            }
            owner_ = ::GetWindow(box, GW_OWNER);
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, button_)));
            answered_ = true;
            while (!stop_ && ::IsWindow(box))
                ::Sleep(10);
            return;
        }
        ::Sleep(10);
    }
}

bool SaveWindowScreenshot(HWND window, const std::wstring& path)
{
    RECT rect{};
    if (!::GetWindowRect(window, &rect))
        return false;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    Framework::WindowDC screen(nullptr);
    if (!screen)
        return false;
    Framework::ScopedDC memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Framework::ScopedBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (memory && bitmap) {
        {
            Framework::SelectedObject selected(memory.Get(), bitmap.Get());
            ok = ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY) != FALSE;
        }
        ::GdiFlush();
    }
    if (ok) {
        DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
        DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
        bytes.append(static_cast<const char*>(bits), imageSize);
        ok = WriteWholeFile(path, bytes);
    }
    return ok;
}

std::wstring BuildFolder()
{
    // The test programs live in <build>\tests\.
    std::wstring folder = Framework::ModuleFolder();
    if (!folder.empty())
        folder.pop_back();
    size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? folder : folder.substr(0, slash);
}

ChildProcess::~ChildProcess() { Terminate(); }

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    return true;
}

DWORD ChildProcess::Wait(DWORD timeoutMs)
{
    if (!process_)
        return STILL_ACTIVE;
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.Get(), &code);
    return code;
}

void ChildProcess::Terminate()
{
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.Get(), 99);
        ::WaitForSingleObject(process_.Get(), 5000);
    }
    process_.Reset();
    thread_.Reset();
    processId_ = 0;
    threadId_ = 0;
}

TempFolder::TempFolder(const std::wstring& name)
{
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(::GetTickCount64());
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAW data{};
    Framework::ScopedFind find(::FindFirstFileW((path_ + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring file = path_ + L"\\" + name;
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(file.c_str());
        } while (::FindNextFileW(find.Get(), &data));
    }
    // The search holds the folder open: it ends before the folder goes.
    find.Reset();
    ::RemoveDirectoryW(path_.c_str());
}


}
