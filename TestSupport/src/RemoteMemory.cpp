#include "TestSupport/RemoteMemory.h"

namespace TestSupport {

namespace {

constexpr int kTextChars = 1024;

// Sends a message whose lParam is an item structure followed by its text buffer in the other
// process; the structure's text fields are set to point into that buffer.
template <typename Item>
std::wstring RemoteItemText(HANDLE process, HWND window, UINT msg, WPARAM wParam, Item item)
{
    RemoteBuffer buffer(process, sizeof(Item) + kTextChars * sizeof(wchar_t));
    if (!buffer)
        return std::wstring();
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(Item));
    item.cchTextMax = kTextChars;
    if (!buffer.Write(0, &item, sizeof(item)))
        return std::wstring();
    if (!::SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(buffer.Address())))
        return std::wstring();
    wchar_t text[kTextChars] = {};
    if (!buffer.Read(sizeof(Item), text, sizeof(text)))
        return std::wstring();
    text[kTextChars - 1] = L'\0';
    return text;
}

}

RemoteBuffer::RemoteBuffer(HANDLE process, size_t bytes)
    : process_(process), address_(::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
{
}

RemoteBuffer::~RemoteBuffer()
{
    if (address_)
        ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t bytes) const
{
    SIZE_T written = 0;
    return address_ && ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, &written) &&
           written == bytes;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t bytes) const
{
    SIZE_T read = 0;
    return address_ && ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, &read) &&
           read == bytes;
}

std::wstring RemoteTreeItemText(HANDLE process, HWND tree, HTREEITEM item)
{
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    return RemoteItemText(process, tree, TVM_GETITEMW, 0, query);
}

std::wstring RemoteTabText(HANDLE process, HWND tab, int index)
{
    TCITEMW query{};
    query.mask = TCIF_TEXT;
    return RemoteItemText(process, tab, TCM_GETITEMW, static_cast<WPARAM>(index), query);
}

}
