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
// report (leftmost alternative and greediest repeat first) come from a backtracking run that visits
// each pair of program step and text position at most once, or, for very long lines, from a thread
// list kept in priority order. Which byte values each character atom accepts is asked of the library
// itself, with the same syntax flags.
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon { namespace Detail {

// The bytes that the library's "\s" accepts with the model's syntax flags.
const std::bitset<256>& RegexSpaces();

// Groups of one whole-line match: group 0 is the line, groups from 1 in the order of their "(".
class Captures {
public:
    struct Group {
        bool matched = false;
        std::string text;
        const std::string& str() const { return text; }
    };

    const Group& operator[](std::size_t group) const;
    std::size_t size() const { return groups_.size(); }
    void Assign(const std::string& line, const std::vector<std::ptrdiff_t>& slots);
    void Assign(const boost::smatch& what);

private:
    std::vector<Group> groups_;
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
    // The two ways MatchGroups takes: a backtracking run with a visited map (one bit per program step
    // and text position, so for lines of up to a few thousand characters), and a thread list.
    bool Backtrack(const std::string& text, Captures& captures) const;
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
    std::uint64_t accepts_[256] = {};
    // Thread program.
    std::vector<Instruction> program_;
    std::vector<std::bitset<256>> atomSets_;
    std::size_t slotCount_ = 2;

    std::uint64_t Step(std::uint64_t states, unsigned char c) const;
};

}}}
