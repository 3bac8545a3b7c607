#include "RewriteConfig/ModelDescription.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <map>
#include <typeinfo>

#include "RewriteConfig/QuillonConfig.h"

namespace Orvane { namespace Quillon {

namespace {

// Where the bytes go: appended to a text, or held against a text already written, from its start.
class Appender {
public:
    explicit Appender(std::string& out) : out_(out) {}
    void Bytes(const char* data, std::size_t size) { out_.append(data, size); }
    bool Differs() const { return false; }

private:
    std::string& out_;
};

class Comparer {
public:
    explicit Comparer(const std::string& expected) : expected_(expected) {}

    void Bytes(const char* data, std::size_t size)
    {
        if (!same_)
            return;
        same_ = expected_.size() - at_ >= size && std::memcmp(expected_.data() + at_, data, size) == 0;
        at_ += size;
    }

    // Whether every byte matched and none of the expected text is left.
    bool Done() const { return same_ && at_ == expected_.size(); }
    bool Differs() const { return !same_; }

private:
    const std::string& expected_;
    std::size_t at_ = 0;
    bool same_ = true;
};

// Numbers as variable-length integers (seven bits a byte, the sign folded into the lowest bit) and
// texts after their length, so that no two different sequences of values write the same bytes. The
// bytes gather in a small buffer and reach the sink in blocks.
template <class Sink>
class Writer {
public:
    explicit Writer(Sink& sink) : sink_(sink) {}
    ~Writer() { Flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Number(std::int64_t value)
    {
        if (kBufferSize - size_ < kLongestNumber)
            Flush();
        std::uint64_t folded = (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
        while (folded >= 0x80) {
            buffer_[size_++] = static_cast<char>((folded & 0x7F) | 0x80);
            folded >>= 7;
        }
        buffer_[size_++] = static_cast<char>(folded);
    }

    void Text(const char* data, std::size_t size)
    {
        Number(static_cast<std::int64_t>(size));
        if (size > kBufferSize - size_) {
            Flush();
            if (size > kBufferSize) {
                sink_.Bytes(data, size);
                return;
            }
        }
        std::memcpy(buffer_ + size_, data, size);
        size_ += size;
    }

    void Text(const std::string& text) { Text(text.data(), text.size()); }

    void Text(const std::wstring& text)
    {
        Text(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }

    // A compiled expression: whether there is one, its text (most often the text it was compiled
    // from, which is then only named) and its syntax flags.
    template <class Regex>
    void Expression(const Regex& regex, const std::string& source)
    {
        if (regex.empty()) {
            Number(0);
            return;
        }
        const std::size_t size = static_cast<std::size_t>(regex.end() - regex.begin());
        const char* text = size != 0 ? &*regex.begin() : "";
        if (size == source.size() && std::memcmp(text, source.data(), size) == 0) {
            Number(1);
        } else {
            Number(2);
            Text(text, size);
        }
        Number(static_cast<std::int64_t>(regex.flags()));
    }

    // Switches, each 0 or 1 in one bit of a number; any other value is written as it is.
    void Flags(std::initializer_list<unsigned char> flags)
    {
        std::int64_t bits = 0;
        std::int64_t bit = 1;
        bool plain = true;
        for (unsigned char flag : flags) {
            plain = plain && flag <= 1;
            bits |= flag == 1 ? bit : 0;
            bit <<= 1;
        }
        Number(plain ? bits : -1);
        if (!plain)
            for (unsigned char flag : flags)
                Number(flag);
    }

    // Whether a comparison has already failed, so that the rest need not be walked.
    bool Differs()
    {
        Flush();
        return sink_.Differs();
    }

private:
    static constexpr std::size_t kBufferSize = 512;
    static constexpr std::size_t kLongestNumber = 10;

    void Flush()
    {
        if (size_ != 0)
            sink_.Bytes(buffer_, size_);
        size_ = 0;
    }

    Sink& sink_;
    char buffer_[kBufferSize];
    std::size_t size_ = 0;
};

// The place of an object's own class among the known ones, -1 for another class.
std::int64_t KindOf(const std::type_info& type, std::initializer_list<const std::type_info*> known)
{
    std::int64_t place = 0;
    for (const std::type_info* k : known) {
        if (type == *k)
            return place;
        ++place;
    }
    return -1;
}

template <class Sink>
class Describer {
public:
    explicit Describer(Sink& sink) : out_(sink) {}

    void Container(const Htaccess& h);

private:
    std::int64_t Kind(const std::type_info& type, std::initializer_list<const std::type_info*> known)
    {
        const std::int64_t kind = KindOf(type, known);
        out_.Number(kind);
        if (kind < 0)
            out_.Text(type.name(), std::strlen(type.name()));
        return kind;
    }

    void Condition(const CfgRewriteCond& c);
    void Rule(const CfgRewriteRule& r);
    void Section(const boost::shared_ptr<DirectoryLevel>& section);
    void Sections(const std::vector<boost::shared_ptr<DirectoryLevel>>& sections);
    void VirtualHost(const VirtualHostHtaccess& v);
    void Server(const QuillonConfig& q);

    Writer<Sink> out_;
};

template <class Sink>
void Describer<Sink>::Condition(const CfgRewriteCond& c)
{
    out_.Text(c.testString);
    out_.Text(c.pattern);
    out_.Text(c.flagsText);
    out_.Flags({c.negate, c.nocase, c.ornext, c.hasDollarBraceReference, c.hasHttpHeaderReference,
                c.hasPercentBraceReference, c.O});
    const ICondFunction* test = c.condFunction.get();
    out_.Number(test ? 1 : 0);
    if (!test)
        return;
    Kind(typeid(*test), {&typeid(CondRegexp), &typeid(CondEqual), &typeid(CondLess), &typeid(CondGreater),
                         &typeid(CondDirectory), &typeid(CondFile), &typeid(CondFileWithSize)});
    if (const CondRegexp* regexp = dynamic_cast<const CondRegexp*>(test)) {
        out_.Expression(regexp->regex, regexp->pattern);
        out_.Text(regexp->pattern);
        out_.Number(regexp->nocase);
    } else if (const CondEqual* equal = dynamic_cast<const CondEqual*>(test)) {
        out_.Number(equal->nocase);
    } else if (const CondLess* less = dynamic_cast<const CondLess*>(test)) {
        out_.Number(less->nocase);
    } else if (const CondGreater* greater = dynamic_cast<const CondGreater*>(test)) {
        out_.Number(greater->nocase);
    }
}

template <class Sink>
void Describer<Sink>::Rule(const CfgRewriteRule& r)
{
    const std::int64_t kind =
        Kind(typeid(r), {&typeid(CfgRewriteRule), &typeid(CfgRewriteHeader), &typeid(CfgRewriteProxy)});
    out_.Number(static_cast<std::int64_t>(r.conditions.size()));
    for (const CfgRewriteCond& c : r.conditions)
        Condition(c);
    out_.Text(r.pattern);
    out_.Text(r.substitution);
    out_.Text(r.flagsText);
    out_.Number(r.redirectCode);
    out_.Number(r.skipCount);
    out_.Number(r.cookieLifetime);
    out_.Flags({r.negate, r.forbidden, r.gone, r.proxy, r.last, r.next, r.chain, r.nocase, r.qsappend, r.noescape,
                r.loop, r.U, r.O, r.CL, r.CU, r.hasDollarBraceReference, r.hasHttpHeaderReference,
                r.hasPercentBraceReference});
    for (const std::string* text : {&r.cookieName, &r.cookieValue, &r.cookieDomain, &r.cookiePath, &r.mimeType})
        out_.Text(*text);
    out_.Expression(r.regex, r.pattern);
    // Plain rules are most; the others are looked at only when they may be one.
    if (kind == 0)
        return;
    if (const CfgRewriteHeader* header = dynamic_cast<const CfgRewriteHeader*>(&r))
        out_.Text(header->headerName);
    if (const CfgRewriteProxy* proxy = dynamic_cast<const CfgRewriteProxy*>(&r))
        out_.Number(proxy->proxyFlags);
}

template <class Sink>
void Describer<Sink>::Section(const boost::shared_ptr<DirectoryLevel>& section)
{
    out_.Number(section ? 1 : 0);
    if (section)
        Container(*section);
}

template <class Sink>
void Describer<Sink>::Sections(const std::vector<boost::shared_ptr<DirectoryLevel>>& sections)
{
    out_.Number(static_cast<std::int64_t>(sections.size()));
    for (const boost::shared_ptr<DirectoryLevel>& section : sections)
        Section(section);
}

template <class Sink>
void Describer<Sink>::Container(const Htaccess& h)
{
    const std::int64_t kind = Kind(typeid(h), {&typeid(Htaccess), &typeid(DirectoryLevel), &typeid(VirtualHostHtaccess),
                                               &typeid(QuillonConfig), &typeid(QuillpageConfig)});
    out_.Text(h.path);
    out_.Expression(h.pathRegex, h.path);
    out_.Number(h.rewriteEngine);
    out_.Text(h.rewriteBase);
    out_.Number(h.repeatLimit);
    out_.Text(h.fileName);
    out_.Text(h.fileDirectory);
    out_.Number(h.allowOverride);
    out_.Number(h.inheritOptions);
    const ProxySettings& proxy = h.proxySettings;
    for (std::int32_t value : {proxy.connectTimeout, proxy.receiveTimeout, proxy.sendTimeout, proxy.suppressErrors})
        out_.Number(value);
    out_.Number(h.rewriteCompatibility2);
    out_.Number(h.redirectHandlerInternal);
    out_.Number(static_cast<std::int64_t>(h.sectionKinds.size()));
    for (std::int32_t kind : h.sectionKinds)
        out_.Number(kind);
    out_.Number(static_cast<std::int64_t>(h.rewriteMaps.size()));
    for (const CfgRewriteMap& map : h.rewriteMaps) {
        out_.Text(map.name);
        out_.Number(map.type);
        out_.Text(map.source);
    }
    // A comparison ends at the first rule that differs.
    out_.Number(static_cast<std::int64_t>(h.rules.size()));
    for (const boost::shared_ptr<CfgRewriteRule>& rule : h.rules) {
        if (out_.Differs())
            return;
        Rule(*rule);
    }
    out_.Number(h.pendingRule ? 1 : 0);
    if (h.pendingRule)
        Rule(*h.pendingRule);
    Sections(h.filesSections);
    Section(h.openFilesSection);
    if (kind == 0 || kind == 1)
        return;
    if (const VirtualHostHtaccess* v = dynamic_cast<const VirtualHostHtaccess*>(&h))
        VirtualHost(*v);
    if (const QuillonConfig* q = dynamic_cast<const QuillonConfig*>(&h))
        Server(*q);
}

template <class Sink>
void Describer<Sink>::VirtualHost(const VirtualHostHtaccess& v)
{
    out_.Number(static_cast<std::int64_t>(v.accessFileNames.size()));
    for (const std::wstring& name : v.accessFileNames)
        out_.Text(name);
    out_.Text(v.rewriteLog);
    out_.Number(v.rewriteLogLevel);
    Sections(v.directorySections);
    Sections(v.directoryMatchSections);
    Sections(v.locationSections);
    Section(v.openSection);
}

// A virtual host that several names share is written once, where its first name stands; the names
// after it refer to it by its number.
template <class Sink>
void Describer<Sink>::Server(const QuillonConfig& q)
{
    out_.Number(q.notifyOrder);
    out_.Text(q.errorLog);
    out_.Number(q.logLevel);
    std::map<const VirtualHostHtaccess*, std::int64_t> numbers;
    auto host = [&](const boost::shared_ptr<VirtualHostHtaccess>& v) {
        if (!v) {
            out_.Number(-2);
            return;
        }
        const auto known = numbers.find(v.get());
        if (known != numbers.end()) {
            out_.Number(known->second);
            return;
        }
        out_.Number(-1);
        numbers.emplace(v.get(), static_cast<std::int64_t>(numbers.size()));
        Container(*v);
    };
    out_.Number(static_cast<std::int64_t>(q.virtualHosts.size()));
    for (const auto& entry : q.virtualHosts) {
        out_.Text(entry.first.first);
        out_.Text(entry.first.second);
        host(entry.second);
    }
    host(q.openVirtualHost);
}

}

void DescribeModel(const Htaccess& container, std::string& description)
{
    Appender sink(description);
    Describer<Appender> describer(sink);
    describer.Container(container);
}

bool MatchesDescription(const Htaccess& container, const std::string& description)
{
    // The describer hands its last bytes to the sink when it ends, before the sink is asked.
    Comparer sink(description);
    {
        Describer<Comparer> describer(sink);
        describer.Container(container);
    }
    return sink.Done();
}

}}
