#pragma once
// Reads the version resource of a module (the running executable or library) and hands out its
// product version.
#include <windows.h>
#include <vector>

class ModuleVersionInfo {
public:
    ModuleVersionInfo();
    ModuleVersionInfo(const ModuleVersionInfo&) = delete;
    ModuleVersionInfo& operator=(const ModuleVersionInfo&) = delete;

    // Reads the version resource of the module; true when its fixed record is valid.
    bool Load(HMODULE module);
    // Copies the string value `name` of the current translation, at most capacity characters
    // with the terminator.
    bool QueryValue(const wchar_t* name, wchar_t* out, size_t capacity) const;
    // Splits "3, 0, 0, 25" or "1.2.3.4" (in place) into four numbers; false with fewer than four.
    static bool SplitVersion(wchar_t* text, WORD& major, WORD& minor, WORD& build, WORD& revision);
    bool GetProductVersion(WORD& major, WORD& minor, WORD& build, WORD& revision) const;

    const VS_FIXEDFILEINFO& FixedInfo() const noexcept { return fixedInfo_; }
    WORD TranslationLanguage() const noexcept { return language_; }
    WORD TranslationCodePage() const noexcept { return codePage_; }

private:
    VS_FIXEDFILEINFO fixedInfo_;
    std::vector<BYTE> block_;
    WORD language_;
    WORD codePage_;
};
