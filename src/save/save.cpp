// Saved-game writer and reader: SudokuBoard::Save and SudokuBoard::Load.
#include "save/save.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <locale>
#include <utility>

namespace {

void AppendGrid(std::string& text, const Grid& grid) {
    for (const auto& line : grid) {
        for (const std::int32_t value : line) {
            text += ' ';
            text += std::to_string(value);
        }
        text += "\r\n";
    }
}

// A board as read from a file, committed to the real board only when complete.
struct LoadedBoard {
    std::int32_t size = 0;
    Grid values;
    Grid givens;
};

// Reads cells row by row until the stream fails; the cells after a failure keep 0.
// A number that does not fit 32 bits counts as unreadable.
void ReadGrid(std::istream& in, Grid& grid, bool& readable) {
    for (auto& line : grid) {
        for (auto& cell : line) {
            if (!readable) return;
            std::int32_t value = 0;
            if (in >> value) {
                cell = value;
            } else {
                readable = false;
            }
        }
    }
}

// Parses a saved game. False when the file holds no board the game accepts: a first
// token that is not an integer, or a size other than 0 and 16.
bool ReadSavedGame(std::istream& in, LoadedBoard& board) {
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {  // nothing but white space: an empty board
        board = LoadedBoard{};
        return true;
    }
    std::int32_t size = 0;
    if (!(in >> size)) return false;
    if (size != 0 && size != kSavedBoardSize) return false;
    board.size = size;
    const auto n = static_cast<std::size_t>(size);
    board.values.assign(n, std::vector<std::int32_t>(n, 0));
    board.givens.assign(n, std::vector<std::int32_t>(n, 0));
    bool readable = true;
    ReadGrid(in, board.values, readable);
    ReadGrid(in, board.givens, readable);
    return true;
}

}  // namespace

std::string SavedGameText(const SudokuBoard& board) {
    if (board.size <= 0 || !HasShape(board.values, board.size) || !HasShape(board.givens, board.size))
        return {};
    std::string text = std::to_string(board.size) + "\r\n";
    AppendGrid(text, board.values);
    AppendGrid(text, board.givens);
    return text;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (out.fail()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void SudokuBoard::Save(const std::string& name) const {
    const std::string text = SavedGameText(*this);
    if (text.empty()) return;  // nothing to keep; an existing file stays as it is
    ReplaceFileContents(directory + name, text);
}

bool SudokuBoard::Load(const std::string& name) {
    const std::string path = directory + name;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return false;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) return false;
    in.imbue(std::locale::classic());
    LoadedBoard loaded;
    if (!ReadSavedGame(in, loaded)) return false;
    size = loaded.size;
    boxSize = static_cast<std::int32_t>(std::sqrt(static_cast<double>(loaded.size)));
    values = std::move(loaded.values);
    givens = std::move(loaded.givens);
    return true;
}
