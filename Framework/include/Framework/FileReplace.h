#pragma once
// Replaces a file whole or not at all: the new content is written to a temporary file beside the
// target, flushed, given the target's access rules, and moved over the target in one step.
// Until Commit succeeds the target stays as it was; an abandoned temporary file is deleted.
#include <windows.h>
#include <string>

#include "Framework/Handles.h"

namespace Framework {

class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary file with the given attributes; 0 or a system error code.
    DWORD Begin(const std::wstring& target, DWORD attributes);
    // The temporary file, open for writing, between Begin and Commit.
    HANDLE Handle() const noexcept { return file_.Get(); }
    // Flushes and closes the temporary file and moves it over the target; 0 or a system error code.
    DWORD Commit();

    const std::wstring& TemporaryPath() const noexcept { return temporary_; }

private:
    void Abandon() noexcept;

    std::wstring target_;
    std::wstring temporary_;
    ScopedFile file_;
};

// Writes all of bytes to file; 0, or a system error code when a WriteFile fails or writes fewer
// bytes than it was given (ERROR_WRITE_FAULT: a full disk, a pipe that does not wait), so that a
// partial file is never taken for a whole one.
DWORD WriteAllBytes(HANDLE file, const std::string& bytes);

// Replaces target by bytes through a FileReplacement whose new file has the given attributes;
// 0 or a system error code. On failure target stays as it was.
DWORD ReplaceWholeFile(const std::wstring& target, DWORD attributes, const std::string& bytes);

}
