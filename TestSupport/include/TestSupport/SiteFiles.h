#pragma once
// Real folders for the store tests, one tree in the temporary folder and one on the system drive
// (for "%SystemDrive%" paths), and the stand-in's site description written beside them. Both trees
// are removed with the object.
#include <initializer_list>
#include <string>

namespace TestSupport {

class SiteFiles {
public:
    explicit SiteFiles(const std::wstring& name);
    ~SiteFiles();
    SiteFiles(const SiteFiles&) = delete;
    SiteFiles& operator=(const SiteFiles&) = delete;

    // The folder in the temporary tree.
    const std::wstring& Base() const noexcept { return base_; }
    // The name of the tree on the system drive ("%SystemDrive%\" + name).
    const std::wstring& DriveName() const noexcept { return driveName_; }
    // Creates the folders (relative paths, "D:" for the system-drive tree) with their parents.
    bool Folders(std::initializer_list<const wchar_t*> relative) const;
    // Writes the description (UTF-8); "{B}" stands for Base(), "{S}" for DriveName(). Its path.
    std::wstring Description(const std::wstring& text) const;

private:
    std::wstring base_;
    std::wstring driveName_;
    std::wstring driveBase_;
};

}
