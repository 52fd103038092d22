// splitmix64: the small, fast random source of the searches and the logic puzzle
// maker. One step advances state and returns the next 64 random bits. Standard
// library only.
#pragma once

#include <cstdint>

inline std::uint64_t SplitMix64Next(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
