#pragma once
// Random texts for the tests that hold the model against the library: a generator with a seed of
// its own per test, so that every run draws the same texts and a failure repeats.
#include <cstddef>
#include <string>

class RandomText {
public:
    explicit RandomText(unsigned seed) : state_(seed) {}

    // A number from 0 to bound - 1.
    std::size_t Below(std::size_t bound)
    {
        // A linear congruential step; its low bits repeat soon, so the number comes from the high ones.
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) % bound;
    }

    // From fewest to most pieces (characters or strings), each drawn from pieces.
    template <typename Piece, std::size_t N>
    std::string Join(const Piece (&pieces)[N], std::size_t fewest, std::size_t most)
    {
        std::string text;
        for (std::size_t count = fewest + Below(most - fewest + 1); count > 0; --count)
            text += pieces[Below(N)];
        return text;
    }

private:
    unsigned state_;
};
