#include "Framework/FileBytes.h"

#include "Framework/FileReplace.h"
#include "Framework/Handles.h"

namespace Framework {

DWORD ReadFileBytes(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    ScopedFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return ::GetLastError();
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
        return ERROR_FILE_TOO_LARGE;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const size_t left = content.size() - done;
        const DWORD piece = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file.Get(), &content[done], piece, &got, nullptr))
            return ::GetLastError();
        if (got == 0)
            break;  // the file got shorter meanwhile
        done += got;
    }
    content.resize(done);
    bytes.swap(content);
    return 0;
}

bool IsMissingFileError(DWORD error) noexcept
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

DWORD ReplaceFileBytes(const std::wstring& path, const std::string& bytes, DWORD attributes)
{
    FileReplacement replacement;
    if (DWORD error = replacement.Begin(path, attributes))
        return error;
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD piece = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(replacement.Handle(), bytes.data() + done, piece, &written, nullptr))
            return ::GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        done += written;
    }
    return replacement.Commit();
}

}
