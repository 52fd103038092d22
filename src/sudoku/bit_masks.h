// Small operations on the 32-bit value masks the searches keep per cell (bit v-1 for
// value v): how many values, whether exactly one, the lowest one. Shared by the
// completion check, the solution counter, the logic engine and the hints. Standard
// library only.
#pragma once

#include <cstdint>

inline int BitCount(std::uint32_t m) {
    m = m - ((m >> 1) & 0x55555555u);
    m = (m & 0x33333333u) + ((m >> 2) & 0x33333333u);
    return static_cast<int>((((m + (m >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

inline bool IsSingle(std::uint32_t m) { return m != 0 && (m & (m - 1)) == 0; }

// The lowest set bit of a mask, as a mask; 0 for none.
inline std::uint32_t LowestBit(std::uint32_t m) {
    return m & (~m + 1u);
}

// The index of the lowest set bit of a non-zero mask.
inline std::int32_t LowestBitIndex(std::uint32_t m) {
    return BitCount(LowestBit(m) - 1u);
}

// The lowest value of a mask (bit v-1 for v); 0 for none.
inline std::int32_t LowestValue(std::uint32_t values) {
    return values != 0 ? LowestBitIndex(values) + 1 : 0;
}
