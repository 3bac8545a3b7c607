// The logical lines with the bytes they come from, and the Orvane sections as a container reads them.
#include "RewriteConfig/OrvaneSections.h"
#include "RewriteConfig/QuillonConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParseHelpers.h"

using namespace Orvane::Quillon;

namespace {

struct Extent {
    std::size_t begin, end, next;
    std::string text;
    bool operator==(const Extent& other) const
    {
        return begin == other.begin && end == other.end && next == other.next && text == other.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Extent& e)
{
    return out << "[" << e.begin << "," << e.end << "," << e.next << " \"" << e.text << "\"]";
}

std::vector<Extent> ExtentsOf(const std::string& text)
{
    std::vector<Extent> extents;
    LogicalLines lines(text);
    while (const LogicalLine* line = lines.Next())
        extents.push_back(Extent{line->begin, line->end, line->next, line->text});
    return extents;
}

TEST(LogicalLines, EachLineKnowsTheBytesItCameFrom)
{
    const struct {
        std::string text;
        std::vector<Extent> lines;
    } cases[] = {
        {"", {}},
        {"A\r\nB", {{0, 1, 3, "A"}, {3, 4, 4, "B"}}},
        {"A\n\n", {{0, 1, 2, "A"}, {2, 2, 3, ""}}},
        // A lone carriage return stays in its line; the one before the line feed is the separator's.
        {"  A\rB \r\r\nC", {{0, 7, 9, "A\rB"}, {9, 10, 10, "C"}}},
        // A continued line ends where its last physical line ends.
        {"a \\\n b\r\nc", {{0, 6, 8, "a  b"}, {8, 9, 9, "c"}}},
        {"a\\", {{0, 2, 2, "a"}}},
        {"x\\ y\n", {{0, 4, 5, "x\\x20y"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtentsOf(c.text), c.lines) << c.text;
}

// The lines a container is offered are those of the reader, in the same order.
TEST(LogicalLines, AreTheLinesTheParserOffers)
{
    struct Recorder : Htaccess {
        std::vector<std::string> offered;
        bool ParseLine(const std::string& line) override
        {
            offered.push_back(line);
            return true;
        }
    } recorder;
    const std::string text = "a\\\n\\\nb\r\n c\\ d \n\ne\\\\\nf\\";
    std::string errors;
    recorder.ParseText(text, errors);
    std::vector<std::string> read;
    for (const Extent& e : ExtentsOf(text))
        read.push_back(e.text);
    EXPECT_EQ(recorder.offered, read);
}

typedef SectionLine::Place Place;
const Place Out = SectionLine::Outside;
const Place Open = SectionLine::Opening;
const Place In = SectionLine::Inside;
const Place Set = SectionLine::Setting;
const Place Close = SectionLine::Closing;

struct Read {
    Place place;
    bool accepted;
    bool operator==(const Read& other) const { return place == other.place && accepted == other.accepted; }
};

std::ostream& operator<<(std::ostream& out, const Read& r)
{
    return out << "{" << r.place << (r.accepted ? ", accepted}" : ", refused}");
}

template <class Container>
std::vector<Read> PlacesOf(const std::string& text)
{
    Container container;
    std::vector<Read> places;
    ReadOrvaneSections(container, text,
                       [&places](const SectionLine& line) { places.push_back(Read{line.place, line.accepted}); });
    return places;
}

struct PlaceCase {
    const char* text;
    std::vector<Read> places;
};

TEST(OrvaneSections, LinesStandWhereTheDirectoryLevelReadsThem)
{
    const PlaceCase cases[] = {
        {"A\n<Orvane>\nProxySendTimeout 5\n# note\nRewriteEngine On\n\n</Orvane>\nB",
         {{Out, false}, {Open, true}, {Set, true}, {In, true}, {In, false}, {In, true}, {Close, true}, {Out, false}}},
        // Tags as the parser takes them: blanks inside, any letter case, a comment after them.
        {"< orVANE > # proxy\nProxySuppressErrors Off\n</ORVANE># end", {{Open, true}, {Set, true}, {Close, true}}},
        // A setting to the default value is still a setting; one the expression refuses is none.
        {"<Orvane>\nProxySendTimeout 30\nProxySendTimeout x\n</Orvane>", {{Open, true}, {Set, true}, {In, false}, {Close, true}}},
        // No tags: inside a comment, joined to a comment, after a lone carriage return, after other text.
        {"# <Orvane>\n# x \\\n<Orvane>\n# y\r<Orvane>\nx <Orvane>\nProxySendTimeout 5",
         {{Out, true}, {Out, true}, {Out, true}, {Out, false}, {Out, false}}},
        // A closing tag outside a section closes nothing; a second opening tag opens nothing.
        {"</Orvane>\n<Orvane>\n<Orvane>\n</Orvane>\n</Orvane>", {{Out, true}, {Open, true}, {In, true}, {Close, true}, {Out, true}}},
        // A section that is never closed runs to the end.
        {"<Orvane>\nProxySendTimeout 5\nRewriteEngine On", {{Open, true}, {Set, true}, {In, false}}},
        // A Files section has sections of its own; inside the Orvane section it holds the closing tag.
        {"<Files a>\n<Orvane>\nProxySendTimeout 5\n</Orvane>\n</Files>",
         {{Out, true}, {Out, true}, {Out, true}, {Out, true}, {Out, true}}},
        {"<Orvane>\n<Files a>\n</Orvane>\nProxySendTimeout 5\n</Files>\n</Orvane>",
         {{Open, true}, {In, true}, {In, true}, {In, false}, {In, true}, {Close, true}}},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(PlacesOf<Htaccess>(c.text), c.places) << c.text;
}

TEST(OrvaneSections, TheServerLevelReadsTheSectionsOfItsVirtualHostsAsTheirs)
{
    const char text[] = "<VirtualHost *>\n<Orvane>\nProxySendTimeout 5\n</Orvane>\n</VirtualHost>\n<Orvane>\n</Orvane>";
    EXPECT_EQ(PlacesOf<QuillonConfig>(text), (std::vector<Read>{{Out, true}, {Out, true}, {Out, true}, {Out, true},
                                                                 {Out, true}, {Open, true}, {Close, true}}));
    EXPECT_EQ(PlacesOf<Htaccess>(text), (std::vector<Read>{{Out, false}, {Open, true}, {Set, true}, {Close, true},
                                                           {Out, false}, {Open, true}, {Close, true}}));
}

// Reading the sections leaves the container as ParseText does, settings and error-free parse alike.
TEST(OrvaneSections, TheContainerEndsAsParseTextLeavesIt)
{
    const std::string texts[] = {
        "<Orvane>\nProxyConnectTimeout 7\nProxySuppressErrors Off\n</Orvane>\n<Orvane>\nProxySendTimeout 9\n",
        "<Orvane>\nProxyReceiveTimeout 99999999999\n</Orvane>\nRewriteRule a b\nProxySendTimeout 1",
    };
    for (const std::string& text : texts) {
        Htaccess parsed;
        Parse(parsed, text);
        Htaccess read;
        ReadOrvaneSections(read, text, [](const SectionLine&) {});
        EXPECT_EQ(read.proxySettings.connectTimeout, parsed.proxySettings.connectTimeout) << text;
        EXPECT_EQ(read.proxySettings.receiveTimeout, parsed.proxySettings.receiveTimeout) << text;
        EXPECT_EQ(read.proxySettings.sendTimeout, parsed.proxySettings.sendTimeout) << text;
        EXPECT_EQ(read.proxySettings.suppressErrors, parsed.proxySettings.suppressErrors) << text;
        EXPECT_EQ(read.rules.size(), parsed.rules.size()) << text;
        EXPECT_EQ(read.sectionKinds, parsed.sectionKinds) << text;
        EXPECT_EQ(read.lineNumber, parsed.lineNumber) << text;
    }
}

}
