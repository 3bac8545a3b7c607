#pragma once
// Linear-time matching of the fixed expressions of the model (the directive tables, the flag
// expressions and the reference scans).
//
// The library's backtracking matcher needs time that grows with the square of the line, or more, for
// some lines (long runs of blanks or long words before a failing end, or a late split that only a
// trailing comment makes possible), and only gives up after a complexity limit that itself grows with
// the line. These expressions use a small regular syntax, so automata built from the same text answer
// in time proportional to the line: a position automaton tells whether the whole line matches (or
// whether the expression is found anywhere), and the groups that the backtracking matcher would
// report (leftmost alternative and greediest repeat first) come from a walk through the program that
// a backward pass over the line guides (or, for the few programs it cannot take, a backtracking run
// that visits each pair of program step and text position at most once), or, for very long lines,
// from a thread list kept in priority order. Which byte values each character atom accepts is asked
// of the library itself, with the same syntax flags.
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon { namespace Detail {

// The bytes that the library's "\s" accepts with the model's syntax flags.
const std::bitset<256>& RegexSpaces();

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

    const Group& operator[](std::size_t group) const;
    std::size_t size() const { return size_; }
    // slots: begin and end of each group, -1 for a group that took no part.
    void Assign(const std::string& line, const std::ptrdiff_t* slots, std::size_t slotCount);
    void Assign(const std::string& line, const boost::smatch& what);

private:
    // The model's expressions have few groups; more than fit here go to the heap.
    static const std::size_t kInlineGroups = 8;
    Group* Resize(std::size_t count);

    Group inline_[kInlineGroups];
    std::vector<Group> more_;
    std::size_t size_ = 0;
    Group none_;
};

class LinearMatcher {
public:
    // Supported: literals, escaped punctuation, ".", "\s", "\S", "\d", bracket sets, groups "(...)"
    // and "(?:...)", "|", and the greedy quantifiers "*", "+", "?"; at most 64 character atoms.
    // Anything else leaves the matcher unusable, and its callers use the library's matcher alone.
    LinearMatcher(const char* expression, boost::regex::flag_type flags);
    ~LinearMatcher();

    bool Usable() const { return usable_; }
    bool MatchesWhole(const std::string& text) const;
    bool FoundIn(const std::string& text) const;
    // The groups of the whole-line match that the library's matcher would give; false when the whole
    // line does not match.
    bool MatchGroups(const std::string& text, Captures& captures) const;
    // The ways MatchGroups takes: a backtracking run with a visited map (one bit per program step
    // and text position, so for lines of up to a few thousand characters), a thread list, and a
    // walk that never goes back: a backward pass over the text first finds, for each position, the
    // atoms after which the rest can still be read, so each split takes its preferred branch exactly
    // when the backtracking run would succeed on it. The walk needs a program that cannot loop
    // without reading (no repeat of a body that can match nothing).
    bool Backtrack(const std::string& text, Captures& captures) const;
    bool GuidedWalk(const std::string& text, Captures& captures) const;
    // Whether MatchGroups answers the whole-line question as fast as MatchesWhole: then the parsers
    // ask it alone.
    bool Guidable() const { return usable_ && guidable_; }
    bool RunThreads(const std::string& text, Captures& captures) const;

private:
    struct Node;
    struct Instruction;
    struct Fragment;
    class Builder;

    bool usable_ = false;
    // Position automaton.
    std::uint64_t first_ = 0;
    std::uint64_t last_ = 0;
    bool nullable_ = false;
    std::vector<std::uint64_t> follow_;
    std::vector<std::uint64_t> precede_;  // precede_[q]: the positions that q may follow
    std::vector<std::uint64_t> precedeBytes_;  // precede_ united over each byte of a position set
    std::uint64_t accepts_[256] = {};
    // Thread program.
    std::vector<Instruction> program_;
    std::vector<std::bitset<256>> atomSets_;
    std::size_t slotCount_ = 2;
    // Guided walk: per program step, the atoms it reaches before reading and whether it reaches the
    // match.
    bool guidable_ = true;
    std::vector<std::uint64_t> firstFrom_;
    std::vector<unsigned char> matchFrom_;

    std::uint64_t Step(std::uint64_t states, unsigned char c) const;
};

}}}
