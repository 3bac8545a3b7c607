#pragma once
// Linear-time matching of the fixed expressions of the model (the directive tables, the flag
// expressions and the reference scans).
//
// The library's backtracking matcher needs time that grows with the square of the line, or more, for
// some lines (long runs of blanks or long words before a failing end, or a late split that only a
// trailing comment makes possible), and only gives up after a complexity limit that itself grows with
// the line. These expressions use a small regular syntax, so automata built from the same text answer
// in time proportional to the line: a position automaton tells whether the expression is found
// anywhere, and the whole-line match with the groups that the backtracking matcher would report
// (leftmost alternative and greediest repeat first) comes from a walk through the program that a
// backward pass over the line guides. Which byte values each character atom accepts is asked of the
// library itself, with the same syntax flags, when the matcher is built.
//
// LinearMatcherReader.cpp reads the expression into a tree, LinearMatcherBuilder.cpp builds the
// automata and the program from it, and LinearMatcherWalk.cpp matches with them.
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon { namespace Detail {

// The bytes that the library's "\s" accepts with the model's syntax flags.
const std::bitset<256>& RegexSpaces();

// One step of the program that LinearMatcher walks (LinearMatcherParts.h).
struct ProgramStep;

// Groups of one whole-line match: group 0 is the line, groups from 1 in the order of their "(". The
// groups are kept as places in the matched line, which must outlive them; str() copies the text out.
class Captures {
public:
    struct Group {
        bool matched = false;
        const std::string* line = nullptr;
        std::size_t begin = 0;
        std::size_t length = 0;
        std::string str() const { return matched ? line->substr(begin, length) : std::string(); }
    };

    Group operator[](std::size_t group) const
    {
        Group result;
        if (group >= size_)
            return result;
        const std::ptrdiff_t begin = slots_[2 * group];
        const std::ptrdiff_t end = slots_[2 * group + 1];
        result.matched = begin >= 0 && end >= begin;
        result.line = line_;
        if (result.matched) {
            result.begin = static_cast<std::size_t>(begin);
            result.length = static_cast<std::size_t>(end - begin);
        }
        return result;
    }
    std::size_t size() const { return size_; }
    // Room for the slots of a match of line: begin and end of each group, -1 for a group that takes no
    // part; the matcher writes them in place.
    std::ptrdiff_t* Slots(const std::string& line, std::size_t slotCount);

private:
    // The model's expressions have few groups; more than fit here go to the heap.
    static const std::size_t kInlineSlots = 16;

    const std::string* line_ = nullptr;
    std::size_t size_ = 0;
    const std::ptrdiff_t* slots_ = nullptr;
    std::ptrdiff_t inline_[kInlineSlots];
    std::unique_ptr<std::ptrdiff_t[]> more_;
    std::size_t moreSize_ = 0;
};

class LinearMatcher {
public:
    // Supported: literals, escaped punctuation, ".", "\s", "\S", "\d", bracket sets, groups "(...)"
    // and "(?:...)", "|", and the greedy quantifiers "*", "+", "?"; at most 64 character atoms; no
    // repeat of a body that can match nothing. Anything else leaves the matcher unusable: it then
    // matches nothing, and the tests see to it that every expression of the model is usable.
    // A matcher answers one of the two questions.
    enum class Use { WholeLine, Search };
    LinearMatcher(const char* expression, boost::regex::flag_type flags, Use use = Use::WholeLine);
    ~LinearMatcher();

    bool Usable() const { return usable_; }
    // Whether the expression matches anywhere in the text (Search).
    bool FoundIn(const std::string& text) const;
    // The groups of the whole-line match that the library's matcher would give; false when the whole
    // line does not match. A backward pass over the text first finds, for each position, the atoms
    // after which the rest can still be read; then a walk through the program takes at each split
    // its preferred branch exactly when the backtracking matcher would succeed on it, and never goes
    // back.
    bool MatchGroups(const std::string& text, Captures& captures) const;

private:
    // Reads the expression and builds the automata and the program that the use needs; false when the
    // expression is outside the supported syntax or its automaton grows too large.
    bool Build(const char* expression, boost::regex::flag_type flags);

    Use use_;
    bool usable_ = false;
    // Whether the expression matches the empty text (and so is found in every text).
    bool nullable_ = false;
    // The class of each byte: bytes that every atom accepts or refuses alike share one. Both automata
    // step by class.
    std::uint8_t classOf_[256] = {};
    // Backward pass: per state and class one step: the atoms live at the byte read, and the state
    // before it (as the index of that state's first step). The first state stands at the end of the
    // text.
    std::vector<std::uint64_t> backwardLive_;
    std::vector<std::uint32_t> backwardNext_;
    // Search: per state and class the next state (as the index of its first step), and the found
    // state.
    std::vector<std::uint32_t> search_;
    std::uint32_t found_ = 0;
    // Program of the walk, and per program step the atoms it reaches before reading and whether it
    // reaches the match.
    std::vector<ProgramStep> program_;
    std::size_t slotCount_ = 2;
    std::vector<std::uint64_t> firstFrom_;
    std::vector<unsigned char> matchFrom_;
};

}}}
