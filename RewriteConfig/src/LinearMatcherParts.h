#pragma once
// What the reader, the builder and the walk of LinearMatcher hand on to one another.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <boost/regex.hpp>

#include "LinearMatcher.h"

namespace Orvane { namespace Quillon { namespace Detail {

// Character atoms an expression may hold: each is one bit of a 64-bit atom set.
constexpr std::size_t kMaxAtoms = 64;

// The bit of one atom in an atom set.
inline std::uint64_t AtomBit(std::size_t atom)
{
    return std::uint64_t(1) << atom;
}

// One node of an expression's syntax tree.
struct ExpressionNode {
    enum Kind { Atom, Sequence, Alternation, Group, Star, Plus, Optional };
    explicit ExpressionNode(Kind k) : kind(k) {}
    Kind kind;
    std::vector<std::unique_ptr<ExpressionNode>> children;
    std::size_t atom = 0;   // Atom: its position
    std::size_t group = 0;  // Group: its number, 0 for "(?:"
};

// An expression as the reader leaves it: the tree, and its capturing groups and atoms, each numbered
// in the order of the text.
struct Expression {
    std::unique_ptr<ExpressionNode> root;
    std::size_t groupCount = 0;
    std::size_t atomCount = 0;
    // Per byte value, the atoms that accept it.
    std::uint64_t accepts[256] = {};
};

// Reads text in the syntax that LinearMatcher supports; false for anything else. Which bytes each
// atom accepts is asked of the library with flags.
bool ReadExpression(const char* text, boost::regex::flag_type flags, Expression& expression);

// One step of the program that the walk follows: read a character, branch, jump, note where a
// group begins or ends, or stop at the match.
struct ProgramStep {
    enum Op { Char, Split, Jump, Save, Match };
    Op op;
    std::size_t a;  // Char: atom; Split: preferred branch; Jump: target; Save: slot
    std::size_t b;  // Split: other branch; Char: how many Char steps follow one another from here
    // Split that repeats one character atom, the loop of "x*" or "x+": that atom's bit, else 0.
    // Char whose run ends at the character of an "x+" (its loop split right after the run): that
    // loop's bit, so that the walk reads the run and turns the loop at once.
    std::uint64_t loop = 0;
    // Split with a loop whose exit is a Save step: that step's slot + 1, which the walk writes as it
    // leaves the loop; else 0.
    std::size_t saveAfter = 0;
};

}}}
