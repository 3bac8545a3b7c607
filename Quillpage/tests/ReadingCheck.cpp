#include "ReadingCheck.h"

#include <RewriteConfig/ModelWalk.h>
#include <RewriteConfig/OrvaneSections.h>
#include <RewriteConfig/QuillonConfig.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <vector>

namespace Orvane { namespace Quillon { namespace Testing {

namespace {

// The walk's visitor for the readable text: one line an object, each field as its name and value;
// wide text with every character beyond printable ASCII, and the backslash and quote, as its code.
class TextVisitor {
public:
    explicit TextVisitor(std::ostream& out) : out_(out) {}

    void Kind(ModelKind kind, const char* name)
    {
        out_ << (kind == ModelKind::Unknown ? " kind=unknown class " : " kind=") << name;
    }
    void Number(const char* name, std::int64_t value) { out_ << " " << name << "=" << value; }
    void Text(const char* name, const std::string& text) { out_ << " " << name << "='" << text << "'"; }

    void Text(const char* name, const std::wstring& text)
    {
        out_ << " " << name << "=L'";
        for (wchar_t c : text) {
            if (c >= 0x20 && c < 0x7F && c != L'\\' && c != L'\'')
                out_ << static_cast<char>(c);
            else
                out_ << "\\x{" << std::hex << static_cast<std::uint32_t>(c) << std::dec << "}";
        }
        out_ << "'";
    }

    void Expression(const char* name, const boost::regex& regex, const std::string&)
    {
        out_ << " " << name << "=";
        if (regex.empty())
            out_ << "none";
        else
            out_ << "'" << regex.str() << "'/" << regex.flags();
    }

    void Flags(std::initializer_list<ModelFlag> flags)
    {
        for (const ModelFlag& flag : flags)
            out_ << " " << flag.name << "=" << int(flag.value);
    }

    void Begin(const char* name)
    {
        ++depth_;
        out_ << "\n" << std::string(2 * depth_, ' ') << name << " {";
    }

    void End()
    {
        --depth_;
        out_ << " }";
    }

    bool Differs() const { return false; }

private:
    std::ostream& out_;
    int depth_ = 0;
};

std::string ParsedPart(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// The refused lines' texts, sorted, from the parser's error text.
std::vector<std::string> Refused(const std::string& errors)
{
    std::vector<std::string> refused;
    std::size_t at = 0;
    while (at < errors.size()) {
        const std::size_t end = errors.find("\r\n", at);
        const std::string line = errors.substr(at, end - at);
        refused.push_back(line.substr(line.find(": ") + 2));
        at = end + 2;
    }
    std::sort(refused.begin(), refused.end());
    return refused;
}

// The container's own proxy settings back at their defaults, and its section-kind stack without the
// Orvane entries: the new section ends where the old one may have been left open.
void WithoutProxySection(Htaccess& container)
{
    container.proxySettings = ProxySettings();
    std::vector<std::int32_t>& kinds = container.sectionKinds;
    kinds.erase(std::remove(kinds.begin(), kinds.end(), std::int32_t{Htaccess::OrvaneSection}), kinds.end());
}

template <class Container>
void ExpectSameReading(const char* reader, const std::string& before, const std::string& after,
                       const ProxySettings& settings)
{
    SCOPED_TRACE(reader);
    Container parsed0;
    Container parsed1;
    std::string errors0;
    std::string errors1;
    parsed0.ParseText(ParsedPart(before), errors0);
    parsed1.ParseText(ParsedPart(after), errors1);

    EXPECT_EQ(parsed1.proxySettings.connectTimeout, settings.connectTimeout);
    EXPECT_EQ(parsed1.proxySettings.receiveTimeout, settings.receiveTimeout);
    EXPECT_EQ(parsed1.proxySettings.sendTimeout, settings.sendTimeout);
    EXPECT_EQ(parsed1.proxySettings.suppressErrors, settings.suppressErrors);
    EXPECT_EQ(Refused(errors1), Refused(errors0));
    WithoutProxySection(parsed0);
    WithoutProxySection(parsed1);
    EXPECT_EQ(ModelText(parsed1), ModelText(parsed0));
}

// The bytes of the lines outside the sections stay, in their order; so does everything from the
// first NUL byte on.
void ExpectBytesKept(const std::string& before, const std::string& after)
{
    Htaccess reader;
    std::size_t from = 0;
    ReadOrvaneSections(reader, ParsedPart(before), [&](const SectionLine& line) {
        if (line.place != SectionLine::Outside || ::testing::Test::HasFailure())
            return;
        const std::string bytes = before.substr(line.line.begin, line.line.next - line.line.begin);
        const std::size_t found = after.find(bytes, from);
        ASSERT_NE(found, std::string::npos) << "lost: " << bytes;
        from = found + bytes.size();
    });
    const std::size_t nul = before.find('\0');
    if (nul != std::string::npos) {
        const std::string unread = before.substr(nul);
        const bool endsWithIt = after.size() >= unread.size() && after.size() - unread.size() >= from &&
                                after.compare(after.size() - unread.size(), std::string::npos, unread) == 0;
        EXPECT_TRUE(endsWithIt) << "what follows the NUL byte changed";
    }
}

}

std::string ModelText(const Htaccess& container)
{
    std::ostringstream out;
    TextVisitor visitor(out);
    ModelWalk<TextVisitor>(visitor).Container(container);
    out << "\n";
    return out.str();
}

void ExpectRewriteKeepsContract(const std::string& before, const std::string& after, const ProxySettings& settings)
{
    ExpectSameReading<Htaccess>("directory level", before, after, settings);
    ExpectSameReading<QuillonConfig>("whole language", before, after, settings);
    ExpectSameReading<QuillpageConfig>("site page's server file", before, after, settings);
    ExpectBytesKept(before, after);
}

}}}
