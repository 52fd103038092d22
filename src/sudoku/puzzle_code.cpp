// The puzzle code's characters, its lenient reader and the rule checks behind it.
#include "sudoku/puzzle_code.h"

#include <cstdio>
#include <optional>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The value a character stands for (0 for an empty cell); none when it is no cell.
std::optional<std::int32_t> CellValue(char c) {
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'G') return c - 'A' + 10;
    if (c >= 'a' && c <= 'g') return c - 'a' + 10;
    if (c == '.' || c == '0' || c == '_' || c == '-') return 0;
    return std::nullopt;
}

// 'Z' as "'Z'"; a byte outside printable ASCII as "byte 0xC3".
std::string ShowCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte <= 0x7E) return std::string("'") + c + "'";
    char hex[16];
    std::snprintf(hex, sizeof hex, "byte 0x%02X", byte);
    return hex;
}

// Where the character at index stands, as a person finds it in the text: "character 37"
// in a one-line text, "line 3, character 5" when the cells run over several lines.
std::string DescribePlace(std::string_view text, std::size_t index) {
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < index; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    std::size_t linesWithCells = 0;
    bool cellOnLine = false;
    for (const char c : text) {
        if (c == '\n') {
            cellOnLine = false;
        } else if (!IsWhiteSpace(c) && !cellOnLine) {
            cellOnLine = true;
            ++linesWithCells;
        }
    }
    const std::string character = "character " + std::to_string(index - lineStart + 1);
    return linesWithCells > 1 ? "line " + std::to_string(line) + ", " + character : character;
}

// Cell k of the code as "line 2, position 5": its row from the top (the grid's column),
// then its place from the left (the grid's row).
std::string CellName(std::size_t k) {
    const CellRef cell = CodeCell(k);
    return "line " + std::to_string(cell.column + 1) + ", position " + std::to_string(cell.row + 1);
}

std::int32_t ValueAt(const Grid& grid, CellRef cell) {
    return grid[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.column)];
}

}  // namespace

char PuzzleCodeCharacter(std::int32_t value) {
    return value == 0 ? '.' : ValueChar(value);
}

std::string FormatPuzzleCode(const Grid& grid) {
    if (!HasShape(grid, kCodeSide)) return {};
    std::string code;
    code.reserve(kCodeCells);
    for (std::size_t k = 0; k < kCodeCells; ++k) {
        const std::int32_t value = ValueAt(grid, CodeCell(k));
        if (value < 0 || value > kCodeSide) return {};
        code += PuzzleCodeCharacter(value);
    }
    return code;
}

bool ReadCodeCells(std::string_view text, Grid& grid, std::string& error) {
    std::vector<std::int32_t> cells;
    cells.reserve(kCodeCells);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsWhiteSpace(text[i])) continue;
        const std::optional<std::int32_t> value = CellValue(text[i]);
        if (!value) {
            error = DescribePlace(text, i) + " is " + ShowCharacter(text[i]);
            return false;
        }
        cells.push_back(*value);
    }
    if (cells.size() != kCodeCells) {
        error = std::to_string(cells.size()) + (cells.size() == 1 ? " cell" : " cells") + ", " +
                std::to_string(kCodeCells) + " needed";
        return false;
    }
    Grid read(kCodeSide, std::vector<std::int32_t>(kCodeSide, 0));
    for (std::size_t k = 0; k < kCodeCells; ++k) {
        const CellRef cell = CodeCell(k);
        read[cell.row][cell.column] = cells[k];
    }
    grid = std::move(read);
    return true;
}

std::string DescribeClash(const Grid& grid) {
    if (!HasShape(grid, kCodeSide)) return {};
    for (std::size_t k = 0; k < kCodeCells; ++k) {
        const CellRef cell = CodeCell(k);
        const std::int32_t value = ValueAt(grid, cell);
        if (value < 1 || value > kCodeSide) continue;
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            const CellRef other = CodeCell(earlier);
            if (ValueAt(grid, other) == value && ShareUnit(other.row, other.column, cell.row, cell.column)) {
                return std::string("clash: ") + ValueChar(value) + " at " + CellName(earlier) + " and " +
                       CellName(k);
            }
        }
    }
    return {};
}

bool CheckPuzzleGrid(const Grid& grid, std::string& error, const CompletionLimits& limits) {
    if (FormatPuzzleCode(grid).empty()) {
        error = "not a 16 x 16 grid of values 0 to 16";
        return false;
    }
    error = DescribeClash(grid);
    if (!error.empty()) return false;
    switch (CheckCompletion(grid, kBoxSide, limits).verdict) {
        case Completion::Completable:
            return true;
        case Completion::DeadEnd:
            error = "cannot be finished: no full grid keeps these values";
            return false;
        case Completion::Unknown:
            break;
    }
    error = "could not be checked: the completion check gave up before an answer";
    return false;
}
