#pragma once
// Reading controls of another process whose messages carry pointers: the structure and its text
// buffer are placed in the other process's memory.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace TestSupport {

// Memory in another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address() const noexcept { return address_; }
    explicit operator bool() const noexcept { return address_ != nullptr; }
    bool Write(size_t offset, const void* data, size_t bytes) const;
    bool Read(size_t offset, void* data, size_t bytes) const;

private:
    HANDLE process_;
    void* address_;
};

// The text of a tree-view item or of a tab of a tab control in another process; empty on failure.
std::wstring RemoteTreeItemText(HANDLE process, HWND tree, HTREEITEM item);
std::wstring RemoteTabText(HANDLE process, HWND tab, int index);

}
