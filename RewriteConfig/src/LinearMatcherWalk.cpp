// The matching walk of LinearMatcher: the search, the backward pass and the guided walk over a line.
#include <algorithm>

#include "LinearMatcherParts.h"

namespace Orvane { namespace Quillon { namespace Detail {

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
    auto leave = [&](const ProgramStep& loop) {
        if (loop.saveAfter == 0)
            return loop.b;
        working[loop.saveAfter - 1] = static_cast<std::ptrdiff_t>(position);
        return loop.b + 1;
    };
    for (;;) {
        const ProgramStep& instruction = program_[pc];
        switch (instruction.op) {
        case ProgramStep::Char:
            position += instruction.b;
            if (instruction.loop != 0) {
                while ((live[position] & instruction.loop) != 0)
                    ++position;
                pc = leave(program_[pc + instruction.b]);
            } else {
                pc += instruction.b;
            }
            break;
        case ProgramStep::Split:
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
        case ProgramStep::Jump:
            pc = instruction.a;
            break;
        case ProgramStep::Save:
            working[instruction.a] = static_cast<std::ptrdiff_t>(position);
            ++pc;
            break;
        case ProgramStep::Match:
            return true;
        }
    }
}

}}}
