// The proxy section rewrite against its contract, over generated files: the parser then reads exactly
// the new settings; every other line it read, it reads again with the same text; it refuses no line
// that it did not refuse before; the bytes outside the cut stay in order. Checked by parsing, as a
// directory level and as the whole language read the files.
#include "ProxySection.h"

#include <RewriteConfig/OrvaneSections.h>
#include <RewriteConfig/QuillonConfig.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace Orvane::Quillon;

class FileMaker {
public:
    explicit FileMaker(unsigned seed) : random_(seed) {}

    // A file of plain lines, closed Files sections and closed Orvane sections, with tags written as
    // people write them.
    std::string WellFormed()
    {
        std::vector<std::string> lines;
        const int items = Below(8);
        for (int i = 0; i < items; ++i) {
            switch (Below(4)) {
            case 0:
                lines.push_back(Pick(kOpenings));
                for (int n = Below(5); n > 0; --n)
                    lines.push_back(Below(2) ? Setting() : Pick(kInsideLines));
                lines.push_back(Pick(kClosings));
                break;
            case 1:
                lines.push_back("<Files a.txt>");
                lines.push_back(Pick(kPlainLines));
                lines.push_back("</Files>");
                break;
            default:
                lines.push_back(Pick(kPlainLines));
                break;
            }
        }
        return Join(lines);
    }

    // Anything of the above, and tags left open, stray closing tags, sections the whole language
    // knows, final backslashes, lone carriage returns and NUL bytes.
    std::string Wild()
    {
        std::vector<std::string> lines;
        for (int n = Below(12); n > 0; --n) {
            std::string line;
            switch (Below(6)) {
            case 0: line = Pick(kOpenings); break;
            case 1: line = Pick(kClosings); break;
            case 2: line = Setting(); break;
            case 3: line = Pick(kWildLines); break;
            case 4: line = Pick(kInsideLines); break;
            default: line = Pick(kPlainLines); break;
            }
            if (Below(8) == 0)
                line += '\\';
            if (Below(12) == 0)
                line.insert(Below(static_cast<int>(line.size()) + 1), 1, Below(3) ? '\r' : '\0');
            lines.push_back(line);
        }
        return Join(lines);
    }

    ProxySettings Settings()
    {
        static const std::int32_t seconds[] = {0, 1, 30, 60, 90, 2147483};
        ProxySettings settings;
        settings.connectTimeout = seconds[Below(6)] * 1000;
        settings.receiveTimeout = seconds[Below(6)] * 1000;
        settings.sendTimeout = seconds[Below(6)] * 1000;
        settings.suppressErrors = Below(2);
        return settings;
    }

private:
    const std::vector<std::string> kOpenings = {"<Orvane>", "< orvane >", "<ORVANE>  # proxy", "\t<Orvane>"};
    const std::vector<std::string> kClosings = {"</Orvane>", "< /orvane >", "</Orvane> # end", "</ORVANE>\t"};
    const std::vector<std::string> kInsideLines = {"# timeouts", "", "RewriteRule a b", "ProxySendTimeout x",
                                                   "<Orvane>", "RepeatLimit 3"};
    const std::vector<std::string> kPlainLines = {"RewriteEngine On", "RewriteRule ^a$ /b [L]", "RewriteCond %{HTTP_HOST} x",
                                                  "# a comment", "# <Orvane> in a comment", "", "  ", "RepeatLimit 5",
                                                  "AllowOverride None", "ProxySendTimeout 4", "x <Orvane>"};
    const std::vector<std::string> kWildLines = {"<Files b>", "</Files>", "<VirtualHost *>", "</VirtualHost>",
                                                 "<Directory C:/x>", "</Directory>", "<DirectoryMatch a>",
                                                 "</DirectoryMatch>", "<Orv\\", "ane>"};

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    const std::string& Pick(const std::vector<std::string>& from) { return from[Below(static_cast<int>(from.size()))]; }

    std::string Setting()
    {
        static const char* const names[] = {"ProxyConnectTimeout ", "ProxyReceiveTimeout ", "ProxySendTimeout "};
        if (Below(4) == 0)
            return Below(2) ? "ProxySuppressErrors Off" : "ProxySuppressErrors on";
        return names[Below(3)] + std::to_string(Below(200));
    }

    std::string Join(const std::vector<std::string>& lines)
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += lines[i];
            if (i + 1 < lines.size() || Below(2))
                text += Below(2) ? "\r\n" : "\n";
        }
        return text;
    }

    std::mt19937 random_;
};

std::string ParsedPart(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// The refused lines' texts, each as often as it is refused.
std::multiset<std::string> Refused(const std::string& errors)
{
    std::multiset<std::string> refused;
    std::size_t at = 0;
    while (at < errors.size()) {
        const std::size_t end = errors.find("\r\n", at);
        const std::string line = errors.substr(at, end - at);
        refused.insert(line.substr(line.find(": ") + 2));
        at = end + 2;
    }
    return refused;
}

std::multiset<std::string> LogicalTexts(const std::string& text)
{
    std::multiset<std::string> texts;
    LogicalLines lines(text);
    while (const LogicalLine* line = lines.Next())
        texts.insert(line->text);
    return texts;
}

bool Contains(const std::multiset<std::string>& whole, const std::multiset<std::string>& part)
{
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

template <class Container>
void ExpectContract(const std::string& before, const std::string& after, const ProxySettings& settings)
{
    const std::string read0 = ParsedPart(before);
    const std::string read1 = ParsedPart(after);
    Container parsed0;
    Container parsed1;
    std::string errors0;
    std::string errors1;
    parsed0.ParseText(read0, errors0);
    parsed1.ParseText(read1, errors1);

    EXPECT_EQ(parsed1.proxySettings.connectTimeout, settings.connectTimeout);
    EXPECT_EQ(parsed1.proxySettings.receiveTimeout, settings.receiveTimeout);
    EXPECT_EQ(parsed1.proxySettings.sendTimeout, settings.sendTimeout);
    EXPECT_EQ(parsed1.proxySettings.suppressErrors, settings.suppressErrors);
    EXPECT_TRUE(Contains(Refused(errors0), Refused(errors1))) << "refused after:\n" << errors1 << "before:\n" << errors0;

    // Every line but the section's tags, settings and blank lines is read again.
    Container reader;
    std::multiset<std::string> others;
    for (const SectionLine& line : ReadOrvaneSections(reader, read0))
        if ((line.place == SectionLine::Outside || line.place == SectionLine::Inside) && !line.line.text.empty())
            others.insert(line.line.text);
    EXPECT_TRUE(Contains(LogicalTexts(read1), others));
}

// The bytes of the lines outside the sections stay, in their order; so does everything from the
// first NUL byte on.
void ExpectBytesKept(const std::string& before, const std::string& after)
{
    Htaccess reader;
    std::size_t from = 0;
    for (const SectionLine& line : ReadOrvaneSections(reader, ParsedPart(before))) {
        if (line.place != SectionLine::Outside)
            continue;
        const std::string bytes = before.substr(line.line.begin, line.line.next - line.line.begin);
        const std::size_t found = after.find(bytes, from);
        ASSERT_NE(found, std::string::npos) << "lost: " << bytes;
        from = found + bytes.size();
    }
    const std::size_t nul = before.find('\0');
    if (nul != std::string::npos) {
        EXPECT_NE(after.find(before.substr(nul), from), std::string::npos) << "lost what follows the NUL byte";
    }
}

void ExpectRewriteKeepsContract(const std::string& before, const std::string& after, const ProxySettings& settings)
{
    ExpectContract<Htaccess>(before, after, settings);
    ExpectContract<QuillonConfig>(before, after, settings);
    ExpectBytesKept(before, after);
}

TEST(ProxySectionContract, WellFormedFilesAreAlwaysRewrittenAndKeepTheirReading)
{
    FileMaker maker(20261211);
    for (int n = 0; n < 3000; ++n) {
        const std::string before = maker.WellFormed();
        const ProxySettings settings = maker.Settings();
        const std::optional<std::string> after = ReplaceProxySection(before, settings);
        ASSERT_TRUE(after) << before;
        SCOPED_TRACE(before + "\n----\n" + *after);
        ExpectRewriteKeepsContract(before, *after, settings);
        if (HasFailure())
            return;
    }
}

TEST(ProxySectionContract, AnyFileIsEitherLeftAloneOrRewrittenWithinTheContract)
{
    FileMaker maker(7);
    int rewritten = 0;
    const int files = 3000;
    for (int n = 0; n < files; ++n) {
        const std::string before = maker.Wild();
        const ProxySettings settings = maker.Settings();
        const std::optional<std::string> after = ReplaceProxySection(before, settings);
        if (!after)
            continue;
        ++rewritten;
        SCOPED_TRACE(before + "\n----\n" + *after);
        ExpectRewriteKeepsContract(before, *after, settings);
        if (HasFailure())
            return;
    }
    // Most files are rewritten: refusing is for the files whose sections no placement can keep.
    EXPECT_GT(rewritten, files * 8 / 10);
}

}
