// Small operations on the 32-bit value masks the searches keep per cell (bit v-1 for
// value v): how many values, whether exactly one. Shared by the completion check and the
// logic engine. Standard library only.
#pragma once

#include <cstdint>

inline int BitCount(std::uint32_t m) {
    m = m - ((m >> 1) & 0x55555555u);
    m = (m & 0x33333333u) + ((m >> 2) & 0x33333333u);
    return static_cast<int>((((m + (m >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

inline bool IsSingle(std::uint32_t m) { return m != 0 && (m & (m - 1)) == 0; }
