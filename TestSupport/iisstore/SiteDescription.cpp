#include "SiteDescription.h"

#include <iiscnfg.h>
#include <mddefw.h>

#include <cwctype>
#include <sstream>

namespace IisStore {

namespace {

constexpr size_t maxKeyNameLength = METADATA_MAX_NAME_LEN - 1;

std::wstring Trim(const std::wstring& text)
{
    size_t begin = text.find_first_not_of(L" \t\r");
    if (begin == std::wstring::npos)
        return std::wstring();
    size_t end = text.find_last_not_of(L" \t\r");
    return text.substr(begin, end - begin + 1);
}

// Takes the next blank-separated word off the front of rest.
std::wstring NextWord(std::wstring& rest)
{
    rest = Trim(rest);
    size_t end = rest.find_first_of(L" \t");
    std::wstring word = rest.substr(0, end);
    rest = end == std::wstring::npos ? std::wstring() : Trim(rest.substr(end));
    return word;
}

bool ParseNumber(const std::wstring& text, long long low, long long high, long long& value)
{
    size_t start = !text.empty() && text[0] == L'-' ? 1 : 0;
    // Twelve digits hold every 32-bit value without overflowing the sum below.
    if (text.size() == start || text.size() - start > 12)
        return false;
    long long result = 0;
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return false;
        result = result * 10 + (text[i] - L'0');
    }
    value = start ? -result : result;
    return value >= low && value <= high;
}

MetabaseValue StringValue(DWORD identifier, const std::wstring& text, bool terminated)
{
    MetabaseValue value;
    value.identifier = identifier;
    value.attributes = identifier == MD_VR_PATH ? METADATA_INHERIT : METADATA_NO_ATTRIBUTES;
    value.userType = identifier == MD_VR_PATH ? IIS_MD_UT_FILE : IIS_MD_UT_SERVER;
    value.dataType = STRING_METADATA;
    size_t characters = text.size() + (terminated ? 1 : 0);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    value.data.assign(bytes, bytes + characters * sizeof(wchar_t));
    return value;
}

class Parser {
public:
    explicit Parser(SiteDescription& description) : description_(description) {}

    bool Line(const std::wstring& line, std::wstring& problem)
    {
        std::wstring rest = line;
        std::wstring keyword = NextWord(rest);
        if (keyword.empty() || keyword[0] == L'#')
            return true;
        if (keyword == L"site")
            return SiteLine(rest, problem);
        if (keyword == L"absent")
            return AbsentLine(rest, problem);
        if (keyword == L"fail-open")
            return FailOpenLine(rest, problem);
        if (keyword == L"key")
            return KeyLine(rest, problem);
        if (keyword == L"value")
            return ValueLine(rest, problem);
        if (keyword == L"root" || keyword == L"app" || keyword == L"vdir" || keyword == L"dir" ||
            keyword == L"id-as-text") {
            if (!site_) {
                problem = L"\"" + keyword + L"\" before the first \"site\"";
                return false;
            }
            if (keyword == L"root")
                return RootLine(rest, problem);
            if (keyword == L"id-as-text") {
                site_->idAsText = true;
                return true;
            }
            return FolderLine(keyword, rest, problem);
        }
        problem = L"unknown keyword \"" + keyword + L"\"";
        return false;
    }

private:
    MetabaseKey* KeyAt(const std::vector<std::wstring>& segments, MetabaseKey& start, std::wstring& problem)
    {
        MetabaseKey* key = &start;
        for (const std::wstring& segment : segments) {
            if (segment.size() > maxKeyNameLength) {
                problem = L"a key name is longer than 255 characters";
                return nullptr;
            }
            const MetabaseKey* existing = key->Child(segment);
            key = existing ? const_cast<MetabaseKey*>(existing) : &key->AddChild(segment);
        }
        return key;
    }

    bool SiteLine(std::wstring rest, std::wstring& problem)
    {
        long long id = 0;
        std::wstring idText = NextWord(rest);
        if (!ParseNumber(idText, LONG_MIN, LONG_MAX, id)) {
            problem = L"site id \"" + idText + L"\" is not a 32-bit number";
            return false;
        }
        if (rest.empty()) {
            problem = L"site without a name";
            return false;
        }
        description_.sites.push_back(Site());
        site_ = &description_.sites.back();
        site_->id = static_cast<long>(id);
        site_->name = rest;

        // A second site with the same id shares the first one's metabase key.
        MetabaseKey* w3svc = KeyAt({L"LM", L"W3SVC"}, description_.metabaseRoot, problem);
        siteKey_ = KeyAt({std::to_wstring(site_->id)}, *w3svc, problem);
        if (!siteKey_->Value(MD_KEY_TYPE)) {
            siteKey_->SetValue(StringValue(MD_KEY_TYPE, L"IIsWebServer", true));
            siteKey_->SetValue(StringValue(MD_SERVER_COMMENT, site_->name, true));
        }
        rootKey_ = KeyAt({L"ROOT"}, *siteKey_, problem);
        if (!rootKey_->Value(MD_KEY_TYPE))
            rootKey_->SetValue(StringValue(MD_KEY_TYPE, L"IIsWebVirtualDir", true));
        return true;
    }

    bool RootLine(const std::wstring& rest, std::wstring& problem)
    {
        if (rest.empty()) {
            problem = L"\"root\" without a physical path";
            return false;
        }
        rootKey_->SetValue(StringValue(MD_VR_PATH, rest, true));
        Application& root = RootApplication();
        root.directories.insert(root.directories.begin(), VirtualDirectory{L"/", rest});
        return true;
    }

    // app, vdir and dir: a URL path below the site's root, and for app and vdir a physical path.
    bool FolderLine(const std::wstring& keyword, std::wstring rest, std::wstring& problem)
    {
        std::wstring urlPath = NextWord(rest);
        std::vector<std::wstring> segments = SplitPath(urlPath);
        if (urlPath.empty() || urlPath[0] != L'/' || segments.empty()) {
            problem = L"\"" + keyword + L"\" needs a URL path below the root, such as /shop";
            return false;
        }
        std::wstring normalized;
        for (const std::wstring& segment : segments)
            normalized += L"/" + segment;
        if (keyword != L"dir" && rest.empty()) {
            problem = L"\"" + keyword + L"\" without a physical path";
            return false;
        }
        MetabaseKey* key = KeyAt(segments, *rootKey_, problem);
        if (!key)
            return false;
        if (keyword == L"dir") {
            key->SetValue(StringValue(MD_KEY_TYPE, L"IIsWebDirectory", true));
            return true;
        }
        key->SetValue(StringValue(MD_KEY_TYPE, L"IIsWebVirtualDir", true));
        key->SetValue(StringValue(MD_VR_PATH, rest, true));
        if (keyword == L"app") {
            site_->applications.push_back(Application{normalized, {VirtualDirectory{L"/", rest}}});
            return true;
        }
        Application& application = ApplicationFor(normalized);
        std::wstring inner = application.path == L"/" ? normalized : normalized.substr(application.path.size());
        application.directories.push_back(VirtualDirectory{inner, rest});
        return true;
    }

    bool AbsentLine(std::wstring rest, std::wstring& problem)
    {
        std::wstring store = NextWord(rest);
        if (store == L"metabase")
            description_.metabaseAbsent = true;
        else if (store == L"apphost")
            description_.appHostAbsent = true;
        else {
            problem = L"\"absent\" takes metabase or apphost";
            return false;
        }
        return true;
    }

    bool FailOpenLine(const std::wstring& rest, std::wstring& problem)
    {
        if (rest.empty() || rest[0] != L'/') {
            problem = L"\"fail-open\" needs an absolute metabase path";
            return false;
        }
        if (!KeyAt(SplitPath(rest), description_.metabaseRoot, problem))
            return false;
        description_.failingKeys.push_back(rest);
        return true;
    }

    bool KeyLine(const std::wstring& rest, std::wstring& problem)
    {
        if (rest.empty() || rest[0] != L'/') {
            problem = L"\"key\" needs an absolute metabase path";
            return false;
        }
        return KeyAt(SplitPath(rest), description_.metabaseRoot, problem) != nullptr;
    }

    // value <metabase path> <identifier> string|unterminated|odd-length|dword <data>
    bool ValueLine(std::wstring rest, std::wstring& problem)
    {
        std::wstring path = NextWord(rest);
        std::wstring identifierText = NextWord(rest);
        std::wstring kind = NextWord(rest);
        long long identifier = 0;
        if (path.empty() || path[0] != L'/' || !ParseNumber(identifierText, 0, MAXDWORD, identifier)) {
            problem = L"\"value\" needs an absolute metabase path and an identifier";
            return false;
        }
        MetabaseKey* key = KeyAt(SplitPath(path), description_.metabaseRoot, problem);
        if (!key)
            return false;
        DWORD id = static_cast<DWORD>(identifier);
        if (kind == L"string" || kind == L"unterminated") {
            key->SetValue(StringValue(id, rest, kind == L"string"));
            return true;
        }
        if (kind == L"odd-length") {
            // Half a character after the text: a length no UTF-16 string has.
            MetabaseValue value = StringValue(id, rest, false);
            value.data.push_back('X');
            key->SetValue(value);
            return true;
        }
        long long number = 0;
        if (kind == L"dword" && ParseNumber(rest, 0, MAXDWORD, number)) {
            MetabaseValue value = StringValue(id, L"", false);
            value.dataType = DWORD_METADATA;
            DWORD data = static_cast<DWORD>(number);
            const BYTE* bytes = reinterpret_cast<const BYTE*>(&data);
            value.data.assign(bytes, bytes + sizeof(data));
            key->SetValue(value);
            return true;
        }
        problem = L"\"value\" takes string, unterminated, odd-length or dword and its data";
        return false;
    }

    Application& RootApplication()
    {
        for (Application& application : site_->applications) {
            if (application.path == L"/")
                return application;
        }
        site_->applications.push_back(Application{L"/", {}});
        return site_->applications.back();
    }

    // The application with the longest path that ends at a "/" boundary of urlPath; the root
    // application when no other one contains it.
    Application& ApplicationFor(const std::wstring& urlPath)
    {
        Application* best = &RootApplication();
        for (Application& application : site_->applications) {
            const std::wstring& path = application.path;
            bool contains = path != L"/" && urlPath.size() > path.size() && urlPath.compare(0, path.size(), path) == 0 &&
                            urlPath[path.size()] == L'/';
            if (contains && (best->path == L"/" || path.size() > best->path.size()))
                best = &application;
        }
        return *best;
    }

    SiteDescription& description_;
    Site* site_ = nullptr;
    MetabaseKey* siteKey_ = nullptr;
    MetabaseKey* rootKey_ = nullptr;
};

}

const MetabaseKey* MetabaseKey::Child(const std::wstring& childName) const
{
    for (const auto& child : children) {
        if (SameName(child->name, childName))
            return child.get();
    }
    return nullptr;
}

MetabaseKey& MetabaseKey::AddChild(const std::wstring& childName)
{
    children.push_back(std::make_unique<MetabaseKey>());
    children.back()->name = childName;
    children.back()->parent = this;
    return *children.back();
}

const MetabaseValue* MetabaseKey::Value(DWORD identifier) const
{
    for (const MetabaseValue& value : values) {
        if (value.identifier == identifier)
            return &value;
    }
    return nullptr;
}

void MetabaseKey::SetValue(MetabaseValue value)
{
    for (MetabaseValue& existing : values) {
        if (existing.identifier == value.identifier) {
            existing = std::move(value);
            return;
        }
    }
    values.push_back(std::move(value));
}

const MetabaseKey* SiteDescription::Find(const MetabaseKey& start, const std::wstring& path)
{
    const MetabaseKey* key = &start;
    for (const std::wstring& segment : SplitPath(path)) {
        key = key->Child(segment);
        if (!key)
            return nullptr;
    }
    return key;
}

bool SiteDescription::OpenKeyFails(const MetabaseKey& key) const
{
    for (const std::wstring& path : failingKeys) {
        if (Find(metabaseRoot, path) == &key)
            return true;
    }
    return false;
}

std::vector<std::wstring> SplitPath(const std::wstring& path)
{
    std::vector<std::wstring> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find(L'/', start);
        if (slash == std::wstring::npos)
            slash = path.size();
        if (slash > start)
            segments.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return segments;
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i]))
            return false;
    }
    return true;
}

bool ParseSiteDescription(const std::wstring& text, SiteDescription& description, std::wstring& error)
{
    description = SiteDescription();
    // The web service's own keys that are not sites, as a real metabase has them.
    description.metabaseRoot.AddChild(L"LM").AddChild(L"W3SVC");
    MetabaseKey* w3svc = const_cast<MetabaseKey*>(SiteDescription::Find(description.metabaseRoot, L"/LM/W3SVC"));
    w3svc->SetValue(StringValue(MD_KEY_TYPE, L"IIsWebService", true));
    w3svc->AddChild(L"Info");
    w3svc->AddChild(L"Filters");

    Parser parser(description);
    std::wistringstream lines(text);
    std::wstring line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::wstring problem;
        if (!parser.Line(line, problem)) {
            error = L"line " + std::to_wstring(number) + L": " + problem;
            return false;
        }
    }
    return true;
}

}
