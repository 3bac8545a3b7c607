// The automaton builder of LinearMatcher: from the syntax tree to the automata and the walk's program.
#include <map>

#include "LinearMatcherParts.h"

namespace Orvane { namespace Quillon { namespace Detail {

namespace {

// More states than this leave an automaton, and so the matcher, unusable; the model's expressions
// need at most a few hundred.
constexpr std::size_t kMaxAutomatonStates = 1024;

// The position automaton: the atoms that can begin and end a match, whether the empty text
// matches, and for each atom the atoms that may follow it and those that it may follow.
struct Positions {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    bool nullable = false;
    std::vector<std::uint64_t> follow;
    std::vector<std::uint64_t> precede;
    // False when a repeat's body can match nothing: the program could then loop without reading.
    bool guidable = true;
};

// The first and last atoms of one node, and whether it can match nothing.
struct Fragment {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    bool nullable = true;
};

// Every atom of from may be followed by every atom of to.
void Link(Positions& positions, std::uint64_t from, std::uint64_t to)
{
    for (std::size_t p = 0; p < positions.follow.size(); ++p)
        if (from & AtomBit(p))
            positions.follow[p] |= to;
    for (std::size_t q = 0; q < positions.precede.size(); ++q)
        if (to & AtomBit(q))
            positions.precede[q] |= from;
}

// The fragment of node, linking the follow sets inside it.
Fragment LinkFragment(Positions& positions, const ExpressionNode& node)
{
    Fragment result;
    switch (node.kind) {
    case ExpressionNode::Atom:
        result.first = result.last = AtomBit(node.atom);
        result.nullable = false;
        break;
    case ExpressionNode::Sequence:
        for (const auto& child : node.children) {
            const Fragment next = LinkFragment(positions, *child);
            Link(positions, result.last, next.first);
            result.first |= result.nullable ? next.first : 0;
            result.last = next.last | (next.nullable ? result.last : 0);
            result.nullable = result.nullable && next.nullable;
        }
        break;
    case ExpressionNode::Alternation:
        result.nullable = false;
        for (const auto& child : node.children) {
            const Fragment next = LinkFragment(positions, *child);
            result.first |= next.first;
            result.last |= next.last;
            result.nullable = result.nullable || next.nullable;
        }
        break;
    case ExpressionNode::Group:
        result = LinkFragment(positions, *node.children[0]);
        break;
    case ExpressionNode::Star:
    case ExpressionNode::Plus:
    case ExpressionNode::Optional:
        result = LinkFragment(positions, *node.children[0]);
        if (node.kind != ExpressionNode::Optional && result.nullable)
            positions.guidable = false;
        if (node.kind != ExpressionNode::Optional)
            Link(positions, result.last, result.first);
        if (node.kind != ExpressionNode::Plus)
            result.nullable = true;
        break;
    }
    return result;
}

Positions PositionsOf(const Expression& expression)
{
    Positions positions;
    positions.follow.assign(expression.atomCount, 0);
    positions.precede.assign(expression.atomCount, 0);
    const Fragment whole = LinkFragment(positions, *expression.root);
    positions.first = whole.first;
    positions.last = whole.last;
    positions.nullable = whole.nullable;
    return positions;
}

// Bytes that every atom accepts or refuses alike form one class: classOf gets the class of each
// byte; the result holds the atoms that accept each class.
std::vector<std::uint64_t> ByteClasses(const std::uint64_t (&accepts)[256], std::uint8_t (&classOf)[256])
{
    std::map<std::uint64_t, std::uint8_t> classes;
    for (std::size_t b = 0; b < 256; ++b) {
        const auto found = classes.emplace(accepts[b], static_cast<std::uint8_t>(classes.size()));
        classOf[b] = found.first->second;
    }
    std::vector<std::uint64_t> classAccepts(classes.size());
    for (const auto& entry : classes)
        classAccepts[entry.second] = entry.first;
    return classAccepts;
}

// The search as a deterministic automaton over the classes: a state is the set of atoms that the
// bytes read so far may end at, with a match starting anywhere; reading a byte that ends a match
// leads to the found state, which every byte leaves as it is. next gets, per state and class, the
// next state as the index of its first entry; false when there are too many states.
bool BuildSearch(const Positions& positions, const std::vector<std::uint64_t>& classAccepts,
                 std::vector<std::uint32_t>& next, std::uint32_t& found)
{
    // While the automaton is built: the entry that ends a match.
    constexpr std::uint32_t kFound = UINT32_MAX;
    const std::size_t classCount = classAccepts.size();
    std::vector<std::uint64_t> states(1, 0);
    std::map<std::uint64_t, std::uint32_t> known{{0, 0}};
    for (std::size_t s = 0; s < states.size(); ++s) {
        if (states.size() > kMaxAutomatonStates)
            return false;
        std::uint64_t reachable = positions.first;
        for (std::uint64_t rest = states[s]; rest != 0; rest &= rest - 1)
            reachable |= positions.follow[static_cast<std::size_t>(__builtin_ctzll(rest))];
        for (std::size_t c = 0; c < classCount; ++c) {
            const std::uint64_t after = reachable & classAccepts[c];
            if (after & positions.last) {
                next.push_back(kFound);
                continue;
            }
            const auto state = known.emplace(after, static_cast<std::uint32_t>(states.size()));
            if (state.second)
                states.push_back(after);
            next.push_back(state.first->second * static_cast<std::uint32_t>(classCount));
        }
    }
    const std::uint32_t foundState = static_cast<std::uint32_t>(states.size() * classCount);
    for (std::uint32_t& entry : next)
        if (entry == kFound)
            entry = foundState;
    next.insert(next.end(), classCount, foundState);
    found = foundState;
    return true;
}

// The backward pass as a deterministic automaton over the classes. A state is the set of atoms
// after which the rest of the text can be read (at the end: the last atoms); reading one byte
// backwards gives the atoms live at that byte, and the state before it. live and before get one
// entry per state and class; false when there are too many states.
bool BuildBackward(const Positions& positions, const std::vector<std::uint64_t>& classAccepts,
                   std::vector<std::uint64_t>& live, std::vector<std::uint32_t>& before)
{
    const std::size_t classCount = classAccepts.size();
    std::vector<std::uint64_t> states(1, positions.last);
    std::map<std::uint64_t, std::uint32_t> known{{positions.last, 0}};
    for (std::size_t s = 0; s < states.size(); ++s) {
        if (states.size() > kMaxAutomatonStates)
            return false;
        for (std::size_t c = 0; c < classCount; ++c) {
            const std::uint64_t liveHere = states[s] & classAccepts[c];
            std::uint64_t preceding = 0;
            for (std::uint64_t rest = liveHere; rest != 0; rest &= rest - 1)
                preceding |= positions.precede[static_cast<std::size_t>(__builtin_ctzll(rest))];
            const auto state = known.emplace(preceding, static_cast<std::uint32_t>(states.size()));
            if (state.second)
                states.push_back(preceding);
            live.push_back(liveHere);
            before.push_back(state.first->second * static_cast<std::uint32_t>(classCount));
        }
    }
    return true;
}

// The thread program of a tree; a split prefers its first branch, as the backtracking matcher tries
// the left alternative and the longer repeat first.
class ProgramWriter {
public:
    explicit ProgramWriter(std::vector<ProgramStep>& program) : program_(program) {}

    // The whole expression: group 0 around the tree, then the match.
    void WriteExpression(const ExpressionNode& root)
    {
        Append(ProgramStep::Save, 0);
        Write(root);
        Append(ProgramStep::Save, 1);
        Append(ProgramStep::Match, 0);
    }

private:
    std::size_t Append(ProgramStep::Op op, std::size_t a, std::size_t b = 0)
    {
        program_.push_back(ProgramStep{op, a, b});
        return program_.size() - 1;
    }

    std::size_t Here() const { return program_.size(); }

    void Write(const ExpressionNode& node)
    {
        switch (node.kind) {
        case ExpressionNode::Atom:
            Append(ProgramStep::Char, node.atom);
            break;
        case ExpressionNode::Sequence:
            for (const auto& child : node.children)
                Write(*child);
            break;
        case ExpressionNode::Alternation:
            WriteAlternation(node);
            break;
        case ExpressionNode::Group:
            if (node.group != 0)
                Append(ProgramStep::Save, 2 * node.group);
            Write(*node.children[0]);
            if (node.group != 0)
                Append(ProgramStep::Save, 2 * node.group + 1);
            break;
        case ExpressionNode::Star: {
            // L: split L+1, E; body; jump L; E:
            const std::size_t loop = Append(ProgramStep::Split, 0, 0);
            program_[loop].a = Here();
            Write(*node.children[0]);
            Append(ProgramStep::Jump, loop);
            program_[loop].b = Here();
            break;
        }
        case ExpressionNode::Plus: {
            // B: body; split B, E; E:
            const std::size_t body = Here();
            Write(*node.children[0]);
            const std::size_t split = Append(ProgramStep::Split, body, 0);
            program_[split].b = Here();
            break;
        }
        case ExpressionNode::Optional: {
            // split B, E; B: body; E:
            const std::size_t split = Append(ProgramStep::Split, 0, 0);
            program_[split].a = Here();
            Write(*node.children[0]);
            program_[split].b = Here();
            break;
        }
        }
    }

    // Each alternative but the last behind a split to the next one, and a jump to the end after it.
    void WriteAlternation(const ExpressionNode& node)
    {
        std::vector<std::size_t> jumps;
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            if (i + 1 < node.children.size()) {
                const std::size_t split = Append(ProgramStep::Split, 0, 0);
                program_[split].a = Here();
                Write(*node.children[i]);
                jumps.push_back(Append(ProgramStep::Jump, 0));
                program_[split].b = Here();
            } else {
                Write(*node.children[i]);
            }
        }
        for (std::size_t jump : jumps)
            program_[jump].a = Here();
    }

    std::vector<ProgramStep>& program_;
};

// For every program step, the atoms that the program reaches from it before it reads a character,
// and whether it reaches the match.
void Reach(const std::vector<ProgramStep>& program, std::vector<std::uint64_t>& firstFrom,
           std::vector<unsigned char>& matchFrom)
{
    firstFrom.assign(program.size(), 0);
    matchFrom.assign(program.size(), 0);
    for (std::size_t start = 0; start < program.size(); ++start) {
        std::vector<unsigned char> seen(program.size(), 0);
        std::vector<std::size_t> pending(1, start);
        while (!pending.empty()) {
            const std::size_t pc = pending.back();
            pending.pop_back();
            if (seen[pc])
                continue;
            seen[pc] = 1;
            const ProgramStep& step = program[pc];
            switch (step.op) {
            case ProgramStep::Char:
                firstFrom[start] |= AtomBit(step.a);
                break;
            case ProgramStep::Match:
                matchFrom[start] = 1;
                break;
            case ProgramStep::Jump:
                pending.push_back(step.a);
                break;
            case ProgramStep::Split:
                pending.push_back(step.a);
                pending.push_back(step.b);
                break;
            case ProgramStep::Save:
                pending.push_back(pc + 1);
                break;
            }
        }
    }
}

// A star of one atom is "L: split L+1, E; char x; jump L; E:", a plus "B: char x; split B, E; E:".
void MarkLoops(std::vector<ProgramStep>& program)
{
    for (std::size_t pc = 0; pc < program.size(); ++pc) {
        ProgramStep& split = program[pc];
        if (split.op != ProgramStep::Split)
            continue;
        const bool star = split.a == pc + 1 && pc + 2 < program.size() && program[pc + 1].op == ProgramStep::Char &&
                          program[pc + 2].op == ProgramStep::Jump && program[pc + 2].a == pc && split.b == pc + 3;
        const bool plus = pc > 0 && split.a == pc - 1 && program[pc - 1].op == ProgramStep::Char && split.b == pc + 1;
        if (star)
            split.loop = AtomBit(program[pc + 1].a);
        else if (plus)
            split.loop = AtomBit(program[pc - 1].a);
    }
}

// The walk reads a run of Char steps at once: they only move on.
void CountCharRuns(std::vector<ProgramStep>& program)
{
    for (std::size_t pc = program.size(); pc-- > 0;) {
        ProgramStep& step = program[pc];
        if (step.op != ProgramStep::Char)
            continue;
        const bool more = pc + 1 < program.size() && program[pc + 1].op == ProgramStep::Char;
        step.b = more ? program[pc + 1].b + 1 : 1;
        // The split after the run, when it is the loop of the run's last character.
        const ProgramStep& after = program[pc + step.b];
        step.loop = after.op == ProgramStep::Split && after.loop != 0 && after.a == pc + step.b - 1 ? after.loop : 0;
    }
    for (ProgramStep& split : program)
        if (split.op == ProgramStep::Split && split.loop != 0 && program[split.b].op == ProgramStep::Save)
            split.saveAfter = program[split.b].a + 1;
}

}

LinearMatcher::LinearMatcher(const char* expression, boost::regex::flag_type flags, Use use) : use_(use)
{
    try {
        usable_ = Build(expression, flags);
    } catch (const std::exception&) {
        usable_ = false;
    }
}

LinearMatcher::~LinearMatcher() = default;

bool LinearMatcher::Build(const char* text, boost::regex::flag_type flags)
{
    Expression expression;
    if (!ReadExpression(text, flags, expression))
        return false;
    const Positions positions = PositionsOf(expression);
    // The walk needs a program that cannot loop without reading.
    if (!positions.guidable)
        return false;
    nullable_ = positions.nullable;
    slotCount_ = 2 * (expression.groupCount + 1);
    const std::vector<std::uint64_t> classAccepts = ByteClasses(expression.accepts, classOf_);
    if (use_ == Use::Search)
        return BuildSearch(positions, classAccepts, search_, found_);
    ProgramWriter(program_).WriteExpression(*expression.root);
    Reach(program_, firstFrom_, matchFrom_);
    MarkLoops(program_);
    CountCharRuns(program_);
    return BuildBackward(positions, classAccepts, backwardLive_, backwardNext_);
}

}}}
