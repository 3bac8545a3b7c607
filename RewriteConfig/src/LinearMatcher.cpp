#include "LinearMatcher.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <utility>

namespace Orvane { namespace Quillon { namespace Detail {

namespace {

// Which of the 256 byte values one expression atom ("a", "\s", "[^>]", ".") accepts, as the library
// matches it with the given flags. Asked once per atom and kept.
const std::bitset<256>& AtomAccepts(const std::string& atom, boost::regex::flag_type flags)
{
    static std::mutex lock;
    static std::map<std::pair<std::string, boost::regex::flag_type>, std::bitset<256>> known;
    const std::lock_guard<std::mutex> guard(lock);
    const auto key = std::make_pair(atom, flags);
    auto found = known.find(key);
    if (found != known.end())
        return found->second;
    std::bitset<256> accepts;
    const boost::regex single(atom, flags);
    boost::smatch what;
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        accepts[static_cast<std::size_t>(c)] = boost::regex_match(one, what, single);
    }
    return known.emplace(key, accepts).first->second;
}

}

const std::bitset<256>& RegexSpaces()
{
    static const std::bitset<256> spaces = AtomAccepts("\\s", boost::regex::perl | boost::regex::icase);
    return spaces;
}

std::ptrdiff_t* Captures::Slots(const std::string& line, std::size_t slotCount)
{
    line_ = &line;
    size_ = slotCount / 2;
    std::ptrdiff_t* slots = inline_;
    if (slotCount > kInlineSlots) {
        if (moreSize_ < slotCount) {
            more_.reset(new std::ptrdiff_t[slotCount]);
            moreSize_ = slotCount;
        }
        slots = more_.get();
    }
    std::fill(slots, slots + slotCount, -1);
    slots_ = slots;
    return slots;
}

struct LinearMatcher::Node {
    enum Kind { Atom, Sequence, Alternation, Group, Star, Plus, Optional };
    explicit Node(Kind k) : kind(k) {}
    Kind kind;
    std::vector<std::unique_ptr<Node>> children;
    std::size_t atom = 0;    // Atom: its position, the index of its byte set
    std::size_t group = 0;   // Group: its number, 0 for "(?:"
};

struct LinearMatcher::Instruction {
    enum Op { Char, Split, Jump, Save, Match };
    Op op;
    std::size_t a;  // Char: byte set; Split: preferred branch; Jump: target; Save: slot
    std::size_t b;  // Split: other branch; Char: how many Char steps follow one another from here
    // Split that repeats one character atom, the loop of "x*" or "x+": that atom's bit, else 0.
    // Char whose run ends at the character of an "x+" (its loop split right after the run): that
    // loop's bit, so that the walk reads the run and turns the loop at once.
    std::uint64_t loop = 0;
    // Split with a loop whose exit is a Save step: that step's slot + 1, which the walk writes as it
    // leaves the loop; else 0.
    std::size_t saveAfter = 0;
};

struct LinearMatcher::Fragment {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    bool nullable = true;
};

// Reads the expression into a tree, then builds both automata from it.
class LinearMatcher::Builder {
public:
    Builder(LinearMatcher& matcher, const char* text, boost::regex::flag_type flags, Use use)
        : matcher_(matcher), text_(text), flags_(flags), use_(use)
    {
    }

    bool Build()
    {
        std::unique_ptr<Node> root = ParseAlternation();
        if (!root || text_[at_] != '\0')
            return false;
        matcher_.follow_.assign(atoms_, 0);
        precede_.assign(atoms_, 0);
        const Fragment whole = Positions(*root);
        matcher_.first_ = whole.first;
        matcher_.last_ = whole.last;
        matcher_.nullable_ = whole.nullable;
        matcher_.slotCount_ = 2 * (groups_ + 1);
        Emit(Instruction::Save, 0);
        Emit(*root);
        Emit(Instruction::Save, 1);
        Emit(Instruction::Match, 0);
        // The walk needs a program that cannot loop without reading.
        if (!guidable_)
            return false;
        ByteClasses();
        if (use_ == Use::Search)
            return Search();
        Reach();
        MarkLoops();
        CountCharRuns();
        return Backward();
    }

private:
    // For every program step, the atoms that the program reaches from it before it reads a
    // character, and whether it reaches the match.
    void Reach()
    {
        const std::vector<Instruction>& program = matcher_.program_;
        matcher_.firstFrom_.assign(program.size(), 0);
        matcher_.matchFrom_.assign(program.size(), 0);
        for (std::size_t start = 0; start < program.size(); ++start) {
            std::vector<unsigned char> seen(program.size(), 0);
            std::vector<std::size_t> pending(1, start);
            while (!pending.empty()) {
                const std::size_t pc = pending.back();
                pending.pop_back();
                if (seen[pc])
                    continue;
                seen[pc] = 1;
                const Instruction& instruction = program[pc];
                switch (instruction.op) {
                case Instruction::Char:
                    matcher_.firstFrom_[start] |= std::uint64_t(1) << instruction.a;
                    break;
                case Instruction::Match:
                    matcher_.matchFrom_[start] = 1;
                    break;
                case Instruction::Jump:
                    pending.push_back(instruction.a);
                    break;
                case Instruction::Split:
                    pending.push_back(instruction.a);
                    pending.push_back(instruction.b);
                    break;
                case Instruction::Save:
                    pending.push_back(pc + 1);
                    break;
                }
            }
        }
    }

    // The backward pass as a deterministic automaton over classes of bytes. A state is the set of
    // atoms after which the rest of the text can be read (at the end: the last atoms); reading one
    // byte backwards gives the atoms live at that byte, and the state before it.
    bool Backward()
    {
        const std::size_t classCount = classAccepts_.size();
        const std::vector<std::uint64_t>& classAccepts = classAccepts_;
        std::vector<std::uint64_t> states(1, matcher_.last_);
        std::map<std::uint64_t, std::uint32_t> known{{matcher_.last_, 0}};
        for (std::size_t s = 0; s < states.size(); ++s) {
            if (states.size() > kMaxAutomatonStates)
                return false;
            for (std::size_t c = 0; c < classCount; ++c) {
                const std::uint64_t live = states[s] & classAccepts[c];
                std::uint64_t before = 0;
                for (std::uint64_t rest = live; rest != 0; rest &= rest - 1)
                    before |= precede_[static_cast<std::size_t>(__builtin_ctzll(rest))];
                const auto found = known.emplace(before, static_cast<std::uint32_t>(states.size()));
                if (found.second)
                    states.push_back(before);
                matcher_.backwardLive_.push_back(live);
                matcher_.backwardNext_.push_back(found.first->second * static_cast<std::uint32_t>(classCount));
            }
        }
        return true;
    }

    // Bytes that every atom accepts or refuses alike form one class.
    void ByteClasses()
    {
        std::map<std::uint64_t, std::uint8_t> classes;
        for (std::size_t b = 0; b < 256; ++b) {
            const auto found = classes.emplace(matcher_.accepts_[b], static_cast<std::uint8_t>(classes.size()));
            matcher_.classOf_[b] = found.first->second;
        }
        classAccepts_.resize(classes.size());
        for (const auto& entry : classes)
            classAccepts_[entry.second] = entry.first;
    }

    // The search as a deterministic automaton over the same classes: a state is the set of atoms
    // that the bytes read so far may end at, with a match starting anywhere; reading a byte that ends
    // a match leads to the found state, which every byte leaves as it is.
    bool Search()
    {
        const std::size_t classCount = classAccepts_.size();
        std::vector<std::uint64_t> states(1, 0);
        std::map<std::uint64_t, std::uint32_t> known{{0, 0}};
        for (std::size_t s = 0; s < states.size(); ++s) {
            if (states.size() > kMaxAutomatonStates)
                return false;
            std::uint64_t reachable = matcher_.first_;
            for (std::uint64_t rest = states[s]; rest != 0; rest &= rest - 1)
                reachable |= matcher_.follow_[static_cast<std::size_t>(__builtin_ctzll(rest))];
            for (std::size_t c = 0; c < classCount; ++c) {
                const std::uint64_t next = reachable & classAccepts_[c];
                if (next & matcher_.last_) {
                    matcher_.search_.push_back(kFound);
                    continue;
                }
                const auto found = known.emplace(next, static_cast<std::uint32_t>(states.size()));
                if (found.second)
                    states.push_back(next);
                matcher_.search_.push_back(found.first->second * static_cast<std::uint32_t>(classCount));
            }
        }
        const std::uint32_t foundState = static_cast<std::uint32_t>(states.size() * classCount);
        for (std::uint32_t& next : matcher_.search_)
            if (next == kFound)
                next = foundState;
        matcher_.search_.insert(matcher_.search_.end(), classCount, foundState);
        matcher_.found_ = foundState;
        return true;
    }

    // The walk reads a run of Char steps at once: they only move on.
    void CountCharRuns()
    {
        std::vector<Instruction>& program = matcher_.program_;
        for (std::size_t pc = program.size(); pc-- > 0;) {
            Instruction& step = program[pc];
            if (step.op != Instruction::Char)
                continue;
            const bool more = pc + 1 < program.size() && program[pc + 1].op == Instruction::Char;
            step.b = more ? program[pc + 1].b + 1 : 1;
            // The split after the run, when it is the loop of the run's last character.
            const Instruction& after = program[pc + step.b];
            step.loop = after.op == Instruction::Split && after.loop != 0 && after.a == pc + step.b - 1 ? after.loop : 0;
        }
        for (Instruction& split : program)
            if (split.op == Instruction::Split && split.loop != 0 && program[split.b].op == Instruction::Save)
                split.saveAfter = program[split.b].a + 1;
    }

    // A star of one atom is "L: split L+1, E; char x; jump L; E:", a plus "B: char x; split B, E; E:".
    void MarkLoops()
    {
        std::vector<Instruction>& program = matcher_.program_;
        for (std::size_t pc = 0; pc < program.size(); ++pc) {
            Instruction& split = program[pc];
            if (split.op != Instruction::Split)
                continue;
            const bool star = split.a == pc + 1 && pc + 2 < program.size() && program[pc + 1].op == Instruction::Char &&
                              program[pc + 2].op == Instruction::Jump && program[pc + 2].a == pc && split.b == pc + 3;
            const bool plus = pc > 0 && split.a == pc - 1 && program[pc - 1].op == Instruction::Char && split.b == pc + 1;
            if (star)
                split.loop = std::uint64_t(1) << program[pc + 1].a;
            else if (plus)
                split.loop = std::uint64_t(1) << program[pc - 1].a;
        }
    }

    std::unique_ptr<Node> ParseAlternation()
    {
        std::unique_ptr<Node> first = ParseSequence();
        if (!first || text_[at_] != '|')
            return first;
        std::unique_ptr<Node> alternation(new Node(Node::Alternation));
        alternation->children.push_back(std::move(first));
        while (text_[at_] == '|') {
            ++at_;
            std::unique_ptr<Node> next = ParseSequence();
            if (!next)
                return nullptr;
            alternation->children.push_back(std::move(next));
        }
        return alternation;
    }

    std::unique_ptr<Node> ParseSequence()
    {
        std::unique_ptr<Node> sequence(new Node(Node::Sequence));
        while (text_[at_] != '\0' && text_[at_] != '|' && text_[at_] != ')') {
            std::unique_ptr<Node> atom = ParseAtom();
            if (!atom)
                return nullptr;
            const char quantifier = text_[at_];
            if (quantifier == '*' || quantifier == '+' || quantifier == '?') {
                ++at_;
                // Lazy and possessive repeats and counted repeats are not supported.
                if (text_[at_] == '?' || text_[at_] == '+' || text_[at_] == '*' || text_[at_] == '{')
                    return nullptr;
                std::unique_ptr<Node> repeat(
                    new Node(quantifier == '*' ? Node::Star : quantifier == '+' ? Node::Plus : Node::Optional));
                repeat->children.push_back(std::move(atom));
                atom = std::move(repeat);
            } else if (quantifier == '{') {
                return nullptr;
            }
            sequence->children.push_back(std::move(atom));
        }
        return sequence;
    }

    std::unique_ptr<Node> ParseAtom()
    {
        const char c = text_[at_];
        if (c == '(') {
            ++at_;
            std::size_t group = 0;
            if (text_[at_] == '?') {
                if (text_[at_ + 1] != ':')
                    return nullptr;
                at_ += 2;
            } else {
                group = ++groups_;
            }
            std::unique_ptr<Node> inner = ParseAlternation();
            if (!inner || text_[at_] != ')')
                return nullptr;
            ++at_;
            std::unique_ptr<Node> node(new Node(Node::Group));
            node->group = group;
            node->children.push_back(std::move(inner));
            return node;
        }
        if (c == '[') {
            const std::size_t start = at_;
            ++at_;
            if (text_[at_] == '^')
                ++at_;
            if (text_[at_] == ']')
                return nullptr;
            while (text_[at_] != ']') {
                if (text_[at_] == '\0' || text_[at_] == '[')
                    return nullptr;
                if (text_[at_] == '\\') {
                    if (text_[at_ + 1] == '\0')
                        return nullptr;
                    ++at_;
                }
                ++at_;
            }
            ++at_;
            return AtomNode(std::string(text_ + start, at_ - start));
        }
        if (c == '\\') {
            const char escaped = text_[at_ + 1];
            // Class escapes and escaped punctuation; other letters and digits mean other things.
            const bool isClass = escaped == 's' || escaped == 'S' || escaped == 'd';
            if (escaped == '\0' || (!isClass && std::isalnum(static_cast<unsigned char>(escaped))))
                return nullptr;
            at_ += 2;
            return AtomNode(std::string(text_ + at_ - 2, 2));
        }
        if (c == '^' || c == '$' || c == '*' || c == '+' || c == '?' || c == '{' || c == ')' || c == '|' || c == '\0')
            return nullptr;
        ++at_;
        return AtomNode(std::string(1, c));
    }

    std::unique_ptr<Node> AtomNode(const std::string& atom)
    {
        if (atoms_ >= 64)
            return nullptr;
        std::unique_ptr<Node> node(new Node(Node::Atom));
        node->atom = atoms_++;
        const std::bitset<256>& accepts = AtomAccepts(atom, flags_);
        for (std::size_t b = 0; b < 256; ++b)
            if (accepts[b])
                matcher_.accepts_[b] |= std::uint64_t(1) << node->atom;
        return node;
    }

    void Link(std::uint64_t from, std::uint64_t to)
    {
        for (std::size_t p = 0; p < matcher_.follow_.size(); ++p)
            if (from & (std::uint64_t(1) << p))
                matcher_.follow_[p] |= to;
        for (std::size_t q = 0; q < precede_.size(); ++q)
            if (to & (std::uint64_t(1) << q))
                precede_[q] |= from;
    }

    // First and last positions, nullability, and the follow sets of the position automaton.
    Fragment Positions(const Node& node)
    {
        Fragment result;
        switch (node.kind) {
        case Node::Atom:
            result.first = result.last = std::uint64_t(1) << node.atom;
            result.nullable = false;
            break;
        case Node::Sequence:
            for (const auto& child : node.children) {
                const Fragment next = Positions(*child);
                Link(result.last, next.first);
                result.first |= result.nullable ? next.first : 0;
                result.last = next.last | (next.nullable ? result.last : 0);
                result.nullable = result.nullable && next.nullable;
            }
            break;
        case Node::Alternation:
            result.nullable = false;
            for (const auto& child : node.children) {
                const Fragment next = Positions(*child);
                result.first |= next.first;
                result.last |= next.last;
                result.nullable = result.nullable || next.nullable;
            }
            break;
        case Node::Group:
            result = Positions(*node.children[0]);
            break;
        case Node::Star:
        case Node::Plus:
        case Node::Optional:
            result = Positions(*node.children[0]);
            // A repeat whose body can match nothing would let the program loop without reading.
            if (node.kind != Node::Optional && result.nullable)
                guidable_ = false;
            if (node.kind != Node::Optional)
                Link(result.last, result.first);
            if (node.kind != Node::Plus)
                result.nullable = true;
            break;
        }
        return result;
    }

    std::size_t Emit(Instruction::Op op, std::size_t a, std::size_t b = 0)
    {
        matcher_.program_.push_back(Instruction{op, a, b});
        return matcher_.program_.size() - 1;
    }

    std::size_t Here() const { return matcher_.program_.size(); }

    // The thread program; a split prefers its first branch, as the backtracking matcher tries the
    // left alternative and the longer repeat first.
    void Emit(const Node& node)
    {
        std::vector<Instruction>& program = matcher_.program_;
        switch (node.kind) {
        case Node::Atom:
            Emit(Instruction::Char, node.atom);
            break;
        case Node::Sequence:
            for (const auto& child : node.children)
                Emit(*child);
            break;
        case Node::Alternation: {
            std::vector<std::size_t> jumps;
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                if (i + 1 < node.children.size()) {
                    const std::size_t split = Emit(Instruction::Split, 0, 0);
                    program[split].a = Here();
                    Emit(*node.children[i]);
                    jumps.push_back(Emit(Instruction::Jump, 0));
                    program[split].b = Here();
                } else {
                    Emit(*node.children[i]);
                }
            }
            for (std::size_t jump : jumps)
                program[jump].a = Here();
            break;
        }
        case Node::Group:
            if (node.group != 0)
                Emit(Instruction::Save, 2 * node.group);
            Emit(*node.children[0]);
            if (node.group != 0)
                Emit(Instruction::Save, 2 * node.group + 1);
            break;
        case Node::Star: {
            const std::size_t loop = Emit(Instruction::Split, 0, 0);
            program[loop].a = Here();
            Emit(*node.children[0]);
            Emit(Instruction::Jump, loop);
            program[loop].b = Here();
            break;
        }
        case Node::Plus: {
            const std::size_t body = Here();
            Emit(*node.children[0]);
            const std::size_t split = Emit(Instruction::Split, body, 0);
            program[split].b = Here();
            break;
        }
        case Node::Optional: {
            const std::size_t split = Emit(Instruction::Split, 0, 0);
            program[split].a = Here();
            Emit(*node.children[0]);
            program[split].b = Here();
            break;
        }
        }
    }

    LinearMatcher& matcher_;
    const char* text_;
    boost::regex::flag_type flags_;
    Use use_;
    std::vector<std::uint64_t> classAccepts_;
    std::size_t at_ = 0;
    std::size_t groups_ = 0;
    std::size_t atoms_ = 0;
    bool guidable_ = true;
    // precede_[q]: the atoms that atom q may follow.
    std::vector<std::uint64_t> precede_;
};

LinearMatcher::LinearMatcher(const char* expression, boost::regex::flag_type flags, Use use) : use_(use)
{
    try {
        usable_ = Builder(*this, expression, flags, use).Build();
    } catch (const std::exception&) {
        usable_ = false;
    }
}

LinearMatcher::~LinearMatcher() = default;

bool LinearMatcher::FoundIn(const std::string& text) const
{
    if (!usable_ || use_ != Use::Search)
        return false;
    if (nullable_)
        return true;
    // The found state keeps itself, so it is looked for once every four bytes.
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::uint8_t* const classOf = classOf_;
    const std::uint32_t* const next = search_.data();
    const std::size_t size = text.size();
    std::uint32_t state = 0;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        state = next[state + classOf[bytes[i]]];
        state = next[state + classOf[bytes[i + 1]]];
        state = next[state + classOf[bytes[i + 2]]];
        state = next[state + classOf[bytes[i + 3]]];
        if (state == found_)
            return true;
    }
    for (; i < size; ++i)
        state = next[state + classOf[bytes[i]]];
    return state == found_;
}

namespace {

// Working memory of one match: a few kilobytes on the stack cover the lines the parsers meet; longer
// lines spill to the heap.
template <typename T, std::size_t N>
class ScratchArray {
public:
    T* Uninitialised(std::size_t count)
    {
        if (count <= N)
            return local_;
        heap_.reset(new T[count]);
        return heap_.get();
    }

private:
    T local_[N];
    std::unique_ptr<T[]> heap_;
};

}

bool LinearMatcher::MatchGroups(const std::string& text, Captures& captures) const
{
    if (!usable_ || use_ != Use::WholeLine)
        return false;
    // live[i]: the atoms that can read text[i] and after which the rest of the text can be read to
    // the end, worked out from the last character back.
    const std::size_t size = text.size();
    ScratchArray<std::uint64_t, 1024> liveSpace;
    // One entry more, with no atom live: the end of the text stops every loop below.
    std::uint64_t* const live = liveSpace.Uninitialised(size + 1);
    live[size] = 0;
    // Four bytes a turn: the pass is most of the match's work.
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::uint8_t* const classOf = classOf_;
    const std::uint64_t* const stepLive = backwardLive_.data();
    const std::uint32_t* const stepNext = backwardNext_.data();
    std::uint32_t state = 0;
    std::size_t i = size;
    for (; i >= 4; i -= 4) {
        std::uint32_t step = state + classOf[bytes[i - 1]];
        live[i - 1] = stepLive[step];
        step = stepNext[step] + classOf[bytes[i - 2]];
        live[i - 2] = stepLive[step];
        step = stepNext[step] + classOf[bytes[i - 3]];
        live[i - 3] = stepLive[step];
        step = stepNext[step] + classOf[bytes[i - 4]];
        live[i - 4] = stepLive[step];
        state = stepNext[step];
    }
    while (i-- > 0) {
        const std::uint32_t step = state + classOf[bytes[i]];
        live[i] = stepLive[step];
        state = stepNext[step];
    }
    // Whether the program, at step pc and text position i, can still reach the match.
    auto viable = [&](std::size_t pc, std::size_t i) {
        return i == size ? matchFrom_[pc] != 0 : (firstFrom_[pc] & live[i]) != 0;
    };
    if (!viable(0, 0))
        return false;
    // From here on the walk always reaches the match.
    std::ptrdiff_t* const working = captures.Slots(text, slotCount_);
    std::size_t pc = 0;
    std::size_t position = 0;
    // Where the walk goes on from a loop it leaves, with the Save step there done at once.
    auto leave = [&](const Instruction& loop) {
        if (loop.saveAfter == 0)
            return loop.b;
        working[loop.saveAfter - 1] = static_cast<std::ptrdiff_t>(position);
        return loop.b + 1;
    };
    for (;;) {
        const Instruction& instruction = program_[pc];
        switch (instruction.op) {
        case Instruction::Char:
            position += instruction.b;
            if (instruction.loop != 0) {
                while ((live[position] & instruction.loop) != 0)
                    ++position;
                pc = leave(program_[pc + instruction.b]);
            } else {
                pc += instruction.b;
            }
            break;
        case Instruction::Split:
            if (instruction.loop != 0) {
                // Each turn of the loop reads one character with the atom; it turns while that
                // atom is live there, then leaves.
                while ((live[position] & instruction.loop) != 0)
                    ++position;
                pc = leave(instruction);
            } else {
                pc = viable(instruction.a, position) ? instruction.a : instruction.b;
            }
            break;
        case Instruction::Jump:
            pc = instruction.a;
            break;
        case Instruction::Save:
            working[instruction.a] = static_cast<std::ptrdiff_t>(position);
            ++pc;
            break;
        case Instruction::Match:
            return true;
        }
    }
}

}}}
