// Logic engine: one table of hand-made candidate positions, each naming the step the
// engine must find first (technique, units, cells, result) or that it finds none; and
// the contradictions it reports instead of a step.
#include "sudoku/logic/logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

Grid EmptyGrid(int n) {
    return Grid(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
}

// Position helpers on a grid whose cells all start with every candidate.
struct Position {
    LogicGrid grid;
    explicit Position(int boxSize) { grid.Load(EmptyGrid(boxSize * boxSize), boxSize); }
    int Cell(int row, int column) const { return (row - 1) * grid.Size() + column - 1; }
    // Cell (row, column), counted from 1, keeps only these values.
    void Only(int row, int column, std::initializer_list<int> values) {
        for (int v = 1; v <= grid.Size(); ++v) {
            if (std::find(values.begin(), values.end(), v) == values.end())
                grid.Eliminate(Cell(row, column), v);
        }
    }
    // The values leave column `column` but for the listed rows.
    void OnlyInColumn(int column, std::initializer_list<int> rows, std::initializer_list<int> values) {
        for (int r = 1; r <= grid.Size(); ++r) {
            if (std::find(rows.begin(), rows.end(), r) != rows.end()) continue;
            for (const int v : values) grid.Eliminate(Cell(r, column), v);
        }
    }
    // The values leave row `row` but for the listed columns.
    void OnlyInRow(int row, std::initializer_list<int> columns, std::initializer_list<int> values) {
        for (int c = 1; c <= grid.Size(); ++c) {
            if (std::find(columns.begin(), columns.end(), c) != columns.end()) continue;
            for (const int v : values) grid.Eliminate(Cell(row, c), v);
        }
    }
};

// "rRcC-V" for every row, column and value from `from` to `to` listed, in cell order.
std::string Drop(std::initializer_list<int> rows, std::initializer_list<int> columns, int from, int to) {
    std::string text;
    for (const int r : rows) {
        for (const int c : columns) {
            for (int v = from; v <= to; ++v)
                text += " r" + std::to_string(r) + "c" + std::to_string(c) + "-" + std::to_string(v);
        }
    }
    return text;
}

// What a hint marks: "box1 row1 | r1c1 r1c2".
std::string Marks(const LogicStep& step, int n) {
    static const char* const kinds[] = {"row", "column", "box"};
    std::string text;
    for (const LogicUnit& u : step.units)
        text += std::string(kinds[static_cast<int>(u.kind)]) + std::to_string(u.index + 1) + " ";
    text += "|";
    for (const int cell : step.cells) text += " " + CellName(cell, n);
    return text;
}

struct TechniqueCase {
    const char* name;
    int boxSize;
    std::function<void(Position&)> setUp;
    StepSearch result;
    std::string text;   // StepText of the step found
    std::string marks;  // its units and cells
};

TEST(LogicEngine, FindsTheEasiestStepOfEachPosition) {
    using P = Position&;
    // clang-format off
    const std::vector<TechniqueCase> cases = {
        {"empty grid", 3, [](P) {}, StepSearch::None, "", ""},
        {"naked single 4x4", 2, [](P p) { p.Only(2, 3, {4}); }, StepSearch::Found,
         "naked-single: r2c3=4", "row2 column3 box2 | r2c3"},
        {"hidden single in a box", 3,
         [](P p) { for (int cell : {0, 1, 2, 9, 11, 18, 19, 20}) p.grid.Eliminate(cell, 7); },
         StepSearch::Found, "hidden-single: r2c2=7", "box1 | r2c2"},
        {"hidden single in a column 16x16", 4,
         [](P p) { for (int r = 1; r <= 16; ++r) if (r != 9) p.grid.Eliminate(p.Cell(r, 14), 12); },
         StepSearch::Found, "hidden-single: r9c14=12", "column14 | r9c14"},
        {"pointing", 3,
         [](P p) { p.OnlyInRow(2, {4, 5, 6, 7, 8, 9}, {4}); p.OnlyInRow(3, {4, 5, 6, 7, 8, 9}, {4}); },
         StepSearch::Found, "locked-candidates:" + Drop({1}, {4, 5, 6, 7, 8, 9}, 4, 4),
         "box1 row1 | r1c1 r1c2 r1c3"},
        {"claiming", 3, [](P p) { p.OnlyInRow(1, {1, 2, 3}, {4}); },
         StepSearch::Found, "locked-candidates:" + Drop({2, 3}, {1, 2, 3}, 4, 4),
         "row1 box1 | r1c1 r1c2 r1c3"},
        {"naked pair", 3, [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {1, 2}); },
         StepSearch::Found, "naked-pair:" + Drop({1}, {2, 3, 4, 6, 7, 8, 9}, 1, 2), "row1 | r1c1 r1c5"},
        {"naked pair with nothing to take", 3,
         [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {1, 2}); p.OnlyInRow(1, {1, 5}, {1, 2}); },
         StepSearch::None, "", ""},
        {"hidden pair", 3, [](P p) { p.OnlyInRow(1, {1, 5}, {1, 2}); },
         StepSearch::Found, "hidden-pair:" + Drop({1}, {1, 5}, 3, 9), "row1 | r1c1 r1c5"},
        {"naked triple", 3, [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {2, 3}); p.Only(1, 9, {1, 3}); },
         StepSearch::Found, "naked-triple:" + Drop({1}, {2, 3, 4, 6, 7, 8}, 1, 3), "row1 | r1c1 r1c5 r1c9"},
        {"hidden triple 16x16", 4,
         [](P p) { p.OnlyInRow(3, {2, 7, 16}, {1, 2, 3}); p.Only(3, 2, {1, 2, 3, 9}); },
         StepSearch::Found, "hidden-triple: r3c2-9" + Drop({3}, {7, 16}, 4, 16), "row3 | r3c2 r3c7 r3c16"},
        {"naked quad", 3,
         [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 4, {2, 3}); p.Only(1, 7, {3, 4}); p.Only(1, 9, {1, 4}); },
         StepSearch::Found, "naked-quad:" + Drop({1}, {2, 3, 5, 6, 8}, 1, 4), "row1 | r1c1 r1c4 r1c7 r1c9"},
        {"hidden quad", 3,
         [](P p) {
             p.OnlyInRow(5, {1, 4, 7, 9}, {1, 2, 3, 4});
             for (const int c : {1, 4, 7}) p.Only(5, c, {1, 2, 3, 4});
             p.Only(5, 9, {1, 2, 3, 4, 6});
         },
         StepSearch::Found, "hidden-quad: r5c9-6", "row5 | r5c1 r5c4 r5c7 r5c9"},
        {"x-wing", 3, [](P p) { p.OnlyInRow(1, {2, 8}, {5}); p.OnlyInRow(5, {2, 8}, {5}); },
         StepSearch::Found, "x-wing:" + Drop({2, 3, 4, 6, 7, 8, 9}, {2, 8}, 5, 5),
         "row1 row5 column2 column8 | r1c2 r1c8 r5c2 r5c8"},
        {"broken x-wing: an x-chain", 3, [](P p) { p.OnlyInRow(1, {2, 8}, {5}); p.OnlyInRow(5, {2, 7}, {5}); },
         StepSearch::Found, "x-chain: r2c7-5 r3c7-5 r4c8-5 r6c8-5 | 5r1c8=5r1c2-5r5c2=5r5c7",
         "| r1c8 r1c2 r5c2 r5c7"},
        {"swordfish", 3,
         [](P p) { p.OnlyInRow(1, {2, 5}, {5}); p.OnlyInRow(4, {5, 8}, {5}); p.OnlyInRow(7, {2, 8}, {5}); },
         StepSearch::Found, "swordfish:" + Drop({2, 3, 5, 6, 8, 9}, {2, 5, 8}, 5, 5),
         "row1 row4 row7 column2 column5 column8 | r1c2 r1c5 r4c5 r4c8 r7c2 r7c8"},
        {"jellyfish 16x16", 4,
         [](P p) {
             p.OnlyInRow(1, {1, 6}, {5}); p.OnlyInRow(5, {6, 11}, {5});
             p.OnlyInRow(9, {11, 16}, {5}); p.OnlyInRow(13, {1, 16}, {5});
         },
         StepSearch::Found,
         "jellyfish:" + Drop({2, 3, 4, 6, 7, 8, 10, 11, 12, 14, 15, 16}, {1, 6, 11, 16}, 5, 5),
         "row1 row5 row9 row13 column1 column6 column11 column16 | "
         "r1c1 r1c6 r5c6 r5c11 r9c11 r9c16 r13c1 r13c16"},
        {"xy-wing", 3, [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {1, 3}); p.Only(5, 1, {2, 3}); },
         StepSearch::Found, "xy-wing: r5c5-3", "row1 column1 | r1c1 r1c5 r5c1"},
        {"xy-wing without a shared value", 3,
         [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {1, 3}); p.Only(5, 1, {2, 4}); },
         StepSearch::None, "", ""},
        {"xyz-wing", 3, [](P p) { p.Only(1, 1, {1, 2, 3}); p.Only(2, 2, {1, 3}); p.Only(1, 6, {2, 3}); },
         StepSearch::Found, "xyz-wing: r1c2-3 r1c3-3", "row1 box1 | r1c1 r1c6 r2c2"},
        {"colour wrap", 3,
         [](P p) {
             p.OnlyInRow(1, {1, 5}, {5}); p.OnlyInRow(5, {3, 5}, {5});
             p.OnlyInColumn(5, {1, 5}, {5}); p.OnlyInColumn(3, {3, 5}, {5});
         },
         StepSearch::Found, "colour-wrap: r1c1-5 r3c3-5 r5c5-5 | 5r1c1=5r1c5=5r5c5=5r5c3=5r3c3 ; 5r1c1-5r3c3",
         "| r1c1 r1c5 r5c5 r5c3 r3c3"},
        {"colour trap", 3,
         [](P p) { p.OnlyInRow(1, {1, 5}, {5}); p.OnlyInColumn(5, {1, 6}, {5}); p.OnlyInRow(6, {2, 5}, {5}); },
         StepSearch::Found,
         "colour-trap: r2c2-5 r3c2-5 r4c1-5 r5c1-5 | 5r1c1=5r1c5=5r6c5=5r6c2 ; 5r1c1-5r2c2 ; 5r6c2-5r2c2 ; "
         "5r1c1-5r3c2 ; 5r6c2-5r3c2 ; 5r1c1-5r4c1 ; 5r6c2-5r4c1 ; 5r1c1-5r5c1 ; 5r6c2-5r5c1",
         "| r1c1 r1c5 r6c5 r6c2"},
        {"x-chain", 3, [](P p) { p.OnlyInRow(1, {1, 5}, {5}); p.OnlyInRow(4, {2, 5}, {5}); },
         StepSearch::Found, "x-chain: r2c2-5 r3c2-5 r5c1-5 r6c1-5 | 5r1c1=5r1c5-5r4c5=5r4c2",
         "| r1c1 r1c5 r4c5 r4c2"},
        {"xy-chain", 3,
         [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {2, 3}); p.Only(5, 5, {3, 4}); p.Only(5, 9, {4, 1}); },
         StepSearch::Found, "xy-chain: r1c9-1 r5c1-1 | 1r1c1=2r1c1-2r1c5=3r1c5-3r5c5=4r5c5-4r5c9=1r5c9",
         "| r1c1 r1c5 r5c5 r5c9"},
        {"xy-chain whose ends share no value", 3,
         [](P p) { p.Only(1, 1, {1, 2}); p.Only(1, 5, {2, 3}); p.Only(5, 5, {3, 4}); p.Only(5, 9, {4, 6}); },
         StepSearch::None, "", ""},
        {"alternating chain through a group", 3,
         [](P p) {
             p.OnlyInRow(4, {1, 5, 6}, {5}); p.OnlyInRow(6, {4, 8}, {5}); p.OnlyInRow(8, {2, 8}, {5});
         },
         StepSearch::Found, "alternating-chain: r5c2-5 | 5r8c2=5r8c8-5r6c8=5{r5c7 r5c8 r5c9}",
         "| r8c2 r8c8 r6c8 r5c7 r5c8 r5c9"},
        {"a cell without candidates", 3, [](P p) { p.Only(4, 4, {}); }, StepSearch::Contradiction, "", ""},
        {"a value without a place", 2, [](P p) { p.OnlyInRow(3, {}, {2}); },
         StepSearch::Contradiction, "", ""},
    };
    // clang-format on
    for (const TechniqueCase& c : cases) {
        Position position(c.boxSize);
        c.setUp(position);
        LogicStep step;
        const StepSearch result = FindNextStep(position.grid, step);
        EXPECT_EQ(result, c.result) << c.name;
        if (result != StepSearch::Found || c.result != StepSearch::Found) continue;
        EXPECT_EQ(StepText(step, position.grid.Size()), c.text) << c.name;
        EXPECT_EQ(Marks(step, position.grid.Size()), c.marks) << c.name;
        // The step holds with its own technique as the hardest allowed, not below it.
        EXPECT_EQ(FindNextStep(position.grid, step, step.technique), StepSearch::Found) << c.name;
        if (step.technique != Technique::NakedSingle) {
            const auto easier = static_cast<Technique>(static_cast<int>(step.technique) - 1);
            EXPECT_NE(FindNextStep(position.grid, step, easier), StepSearch::Found) << c.name;
        }
    }
}

TEST(LogicEngine, ClashesAndMalformedGridsAreRefused) {
    Grid values = EmptyGrid(9);
    values[0][0] = 3;
    values[8][0] = 3;
    LogicGrid grid;
    ASSERT_TRUE(grid.Load(values, 3));
    EXPECT_EQ(SolveBySteps(grid).outcome, LogicOutcome::Contradiction);
    values[8][0] = 10;
    EXPECT_FALSE(grid.Load(values, 3));
    EXPECT_FALSE(grid.Load(EmptyGrid(9), 1));
    EXPECT_FALSE(grid.Load(EmptyGrid(9), 4));
}

}  // namespace
