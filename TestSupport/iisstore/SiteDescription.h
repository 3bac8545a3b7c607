#pragma once
// The web sites a stand-in store answers with, read from a small text file (format in README.md),
// and the metabase key tree built from them. Immutable once read; the store objects share it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace IisStore {

struct MetabaseValue {
    DWORD identifier = 0;
    DWORD attributes = 0;
    DWORD userType = 0;
    DWORD dataType = 0;
    std::vector<BYTE> data;
};

struct MetabaseKey {
    std::wstring name;
    std::vector<MetabaseValue> values;
    std::vector<std::unique_ptr<MetabaseKey>> children;
    MetabaseKey* parent = nullptr;

    // The child of that name (ignoring case, as the metabase does); null when there is none.
    const MetabaseKey* Child(const std::wstring& childName) const;
    MetabaseKey& AddChild(const std::wstring& childName);
    const MetabaseValue* Value(DWORD identifier) const;
    void SetValue(MetabaseValue value);
};

struct VirtualDirectory {
    std::wstring path;
    std::wstring physicalPath;
};

struct Application {
    std::wstring path;
    std::vector<VirtualDirectory> directories;
};

struct Site {
    long id = 0;
    std::wstring name;
    // The "id" property answers get_Value with a text instead of a 32-bit integer.
    bool idAsText = false;
    std::vector<Application> applications;
};

struct SiteDescription {
    bool metabaseAbsent = false;
    bool appHostAbsent = false;
    // Metabase keys whose OpenKey fails, as absolute paths.
    std::vector<std::wstring> failingKeys;
    std::vector<Site> sites;
    MetabaseKey metabaseRoot;

    // The key at an absolute or relative metabase path ("/LM/W3SVC/1/ROOT/", "shop/img"); "" and
    // "/" are the start key itself. Null when a key on the way is missing.
    static const MetabaseKey* Find(const MetabaseKey& start, const std::wstring& path);
    bool OpenKeyFails(const MetabaseKey& key) const;
};

// Splits a metabase or URL path at "/" and drops empty segments.
std::vector<std::wstring> SplitPath(const std::wstring& path);
// Case-insensitive equality of two key names or paths.
bool SameName(const std::wstring& a, const std::wstring& b);

// Parses the description text; false with a message naming the line on the first error.
bool ParseSiteDescription(const std::wstring& text, SiteDescription& description, std::wstring& error);

}
