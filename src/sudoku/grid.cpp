// The unit and peer tables of the grids of box side 1 to 5, made at compile time.
#include "sudoku/grid.h"

#include <array>

namespace {

template <int B>
struct Tables {
    static constexpr int kSide = B * B;
    static constexpr int kCells = kSide * kSide;
    static constexpr int kPeers = 3 * (kSide - 1) - 2 * (B - 1);
    std::array<std::uint16_t, 3 * kSide * kSide> unitCells{};
    std::array<std::uint16_t, kCells * kPeers> peers{};
    std::array<GridUnits::Place, kCells> places{};
};

template <int B>
constexpr Tables<B> Build() {
    using T = Tables<B>;
    constexpr int n = T::kSide;
    T t{};
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const int cell = row * n + column;
            const int box = row / B * B + column / B;
            const int inBox = row % B * B + column % B;
            t.unitCells[row * n + column] = static_cast<std::uint16_t>(cell);
            t.unitCells[(n + column) * n + row] = static_cast<std::uint16_t>(cell);
            t.unitCells[(2 * n + box) * n + inBox] = static_cast<std::uint16_t>(cell);
            t.places[cell] =
                GridUnits::Place{static_cast<std::uint8_t>(row),     static_cast<std::uint8_t>(column),
                                 static_cast<std::uint8_t>(box),     static_cast<std::uint8_t>(inBox),
                                 static_cast<std::uint8_t>(row / B), static_cast<std::uint8_t>(column / B)};
            // The row, then the column, then the rest of the box.
            int k = cell * T::kPeers;
            for (int c = 0; c < n; ++c) {
                if (c != column) t.peers[k++] = static_cast<std::uint16_t>(row * n + c);
            }
            for (int r = 0; r < n; ++r) {
                if (r != row) t.peers[k++] = static_cast<std::uint16_t>(r * n + column);
            }
            for (int r = row / B * B; r < row / B * B + B; ++r) {
                for (int c = column / B * B; c < column / B * B + B; ++c) {
                    if (r != row && c != column) t.peers[k++] = static_cast<std::uint16_t>(r * n + c);
                }
            }
        }
    }
    return t;
}

constexpr Tables<1> kTables1 = Build<1>();
constexpr Tables<2> kTables2 = Build<2>();
constexpr Tables<3> kTables3 = Build<3>();
constexpr Tables<4> kTables4 = Build<4>();
constexpr Tables<5> kTables5 = Build<5>();

template <int B>
constexpr GridUnits View(const Tables<B>& t) {
    return GridUnits(B, t.unitCells.data(), t.peers.data(), t.places.data());
}

constexpr GridUnits kGridUnits[] = {View(kTables1), View(kTables2), View(kTables3), View(kTables4),
                                    View(kTables5)};

}  // namespace

const GridUnits* GridUnits::OfBoxSide(std::int32_t boxSide) {
    if (boxSide < kMinTableBoxSide || boxSide > kMaxTableBoxSide) return nullptr;
    return &kGridUnits[boxSide - kMinTableBoxSide];
}
