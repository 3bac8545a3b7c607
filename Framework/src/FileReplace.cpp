#include "Framework/FileReplace.h"

#include "Framework/FileRead.h"
#include "Framework/Format.h"

#include <vector>

namespace Framework {

namespace {

constexpr int kNameAttempts = 32;
// WriteFile takes a 32-bit count: larger texts go in pieces of this size.
constexpr DWORD kWritePiece = 0x40000000u;
// The temporary name carries the low 48 bits of its seed as 12 hexadecimal digits.
constexpr unsigned kNameDigits = 12;
constexpr unsigned long long kNameSeedMask = (1ull << (4 * kNameDigits)) - 1;

std::wstring TemporaryName(const std::wstring& target, unsigned attempt)
{
    unsigned long long seed = (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                              (static_cast<unsigned long long>(::GetCurrentThreadId()) << 12) ^
                              ::GetTickCount64() ^ attempt;
    return target + L".~" + HexText(seed & kNameSeedMask, kNameDigits) + L".tmp";
}

// Gives the temporary file the access rules of the file it replaces, so the replacement does not
// widen or narrow who may read it. A target that does not exist yet has nothing to keep.
DWORD CopyAccessRules(const std::wstring& from, const std::wstring& to)
{
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    if (::GetFileSecurityW(from.c_str(), what, nullptr, 0, &needed))
        return 0;
    DWORD error = ::GetLastError();
    if (IsMissingFileError(error))
        return 0;
    if (error != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return error;
    std::vector<BYTE> descriptor(needed);
    if (!::GetFileSecurityW(from.c_str(), what, descriptor.data(), needed, &needed))
        return ::GetLastError();
    if (!::SetFileSecurityW(to.c_str(), what, descriptor.data()))
        return ::GetLastError();
    return 0;
}

}

FileReplacement::~FileReplacement() { Abandon(); }

void FileReplacement::Abandon() noexcept
{
    file_.Reset();
    if (!temporary_.empty()) {
        ::SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(temporary_.c_str());
        temporary_.clear();
    }
}

DWORD FileReplacement::Begin(const std::wstring& target, DWORD attributes)
{
    Abandon();
    if (target.empty())
        return ERROR_INVALID_NAME;
    target_ = target;
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::wstring name = TemporaryName(target, attempt);
        HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_.Reset(file);
            temporary_ = name;
            return 0;
        }
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return error;
    }
    return ERROR_FILE_EXISTS;
}

DWORD FileReplacement::Commit()
{
    if (!file_ || temporary_.empty())
        return ERROR_INVALID_HANDLE;
    if (!::FlushFileBuffers(file_.Get())) {
        DWORD error = ::GetLastError();
        Abandon();
        return error;
    }
    // Closed here rather than by the owner so that a failed close is seen: the data may not have
    // reached the disk.
    if (!::CloseHandle(file_.Release())) {
        DWORD error = ::GetLastError();
        Abandon();
        return error;
    }
    if (DWORD error = CopyAccessRules(target_, temporary_)) {
        Abandon();
        return error;
    }
    if (!::MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = ::GetLastError();
        Abandon();
        return error;
    }
    temporary_.clear();
    return 0;
}

DWORD WriteAllBytes(HANDLE file, const std::string& bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const size_t left = bytes.size() - written;
        const DWORD piece = left > kWritePiece ? kWritePiece : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, piece, &done, nullptr)) {
            const DWORD error = ::GetLastError();
            return error ? error : ERROR_WRITE_FAULT;
        }
        if (done != piece)
            return ERROR_WRITE_FAULT;
        written += done;
    }
    return 0;
}

DWORD ReplaceWholeFile(const std::wstring& target, DWORD attributes, const std::string& bytes)
{
    FileReplacement replacement;
    if (DWORD error = replacement.Begin(target, attributes))
        return error;
    if (DWORD error = WriteAllBytes(replacement.Handle(), bytes))
        return error;
    return replacement.Commit();
}

}
