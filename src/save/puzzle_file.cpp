// Tells a puzzle code from a saved game's text and reads either; reads puzzle files
// through the bounded reader.
#include "save/puzzle_file.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "save/file_read.h"
#include "save/save.h"
#include "sudoku/puzzle_code.h"

namespace {

// The size, then the values and givens of a 16 x 16 board.
constexpr std::size_t kSavedGameNumbers = 1 + 2 * kCodeCells;
// A token longer than this is cut in a message.
constexpr std::size_t kShownTokenLength = 16;

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A NUL byte or a control character that text does not hold.
bool LooksBinary(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && !IsWhiteSpace(c)) || byte == 0x7F) return true;
    }
    return false;
}

// The white-space separated words of text, at most `most` of them.
std::vector<std::string_view> Words(std::string_view text, std::size_t most) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (words.size() < most) {
        while (i < text.size() && IsWhiteSpace(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !IsWhiteSpace(text[i])) ++i;
        words.push_back(text.substr(start, i - start));
    }
    return words;
}

// A saved game opens with its size, 16, and has more numbers than a code has cells,
// while a code spaced out cell by cell has at most 256 words.
bool LooksLikeSavedGame(const std::vector<std::string_view>& words) {
    return words.size() > kCodeCells && words[0] == "16";
}

// A cell of a saved game: one or two digits, 0 to 16.
bool IsCellNumber(std::string_view word) {
    if (word.empty() || word.size() > 2) return false;
    for (const char c : word) {
        if (c < '0' || c > '9') return false;
    }
    return std::stoi(std::string(word)) <= kCodeSide;
}

bool CheckSavedGameNumbers(const std::vector<std::string_view>& words, std::string& error) {
    if (words.size() < kSavedGameNumbers) {
        error = "a saved game with " + std::to_string(words.size()) + " numbers, " +
                std::to_string(kSavedGameNumbers) + " needed";
        return false;
    }
    for (std::size_t i = 1; i < kSavedGameNumbers; ++i) {
        if (!IsCellNumber(words[i])) {
            error = "a saved game whose number " + std::to_string(i + 1) + " is '" +
                    std::string(words[i].substr(0, kShownTokenLength)) + "', not 0 to 16";
            return false;
        }
    }
    return true;
}

bool ReadSavedGameText(const std::string& text, const std::vector<std::string_view>& words,
                       PuzzleInput& puzzle, std::string& error) {
    if (!CheckSavedGameNumbers(words, error)) return false;
    SudokuBoard board;
    if (!ParseSavedGame(text, board) || board.size != kCodeSide) {
        error = "a saved game that cannot be read";
        return false;
    }
    for (std::int32_t r = 0; r < kCodeSide; ++r) {
        for (std::int32_t c = 0; c < kCodeSide; ++c) {
            if (board.givens[r][c] != 0 && board.values[r][c] != board.givens[r][c]) {
                error = "a saved game whose given at line " + std::to_string(r + 1) + ", position " +
                        std::to_string(c + 1) + " is not in its cell";
                return false;
            }
        }
    }
    puzzle.givens = std::move(board.givens);
    puzzle.values = std::move(board.values);
    puzzle.fromSavedGame = true;
    return true;
}

// error: the errno the failed read left, for the reason of an unreadable file.
std::string FileReadReason(FileReadOutcome outcome, int error) {
    switch (outcome) {
        case FileReadOutcome::Read:
            break;
        case FileReadOutcome::Missing:
            return "no such file";
        case FileReadOutcome::Unreadable:
            return std::string("cannot be read: ") + std::strerror(error);
        case FileReadOutcome::NotRegular:
            return "not a regular file";
        case FileReadOutcome::TooLarge:
            return "larger than 64 KB, so neither a puzzle code nor a saved game";
    }
    return {};
}

}  // namespace

bool ParsePuzzleText(const std::string& text, PuzzleInput& puzzle, std::string& error, PuzzleRules rules,
                     const CompletionLimits& limits) {
    if (text.size() > kMaxPuzzleTextBytes) {
        error = "longer than 64 KB, so neither a puzzle code nor a saved game";
        return false;
    }
    if (LooksBinary(text)) {
        error = "binary data, neither a puzzle code nor a saved game";
        return false;
    }
    std::string_view body(text);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);  // a byte-order mark some editors write

    PuzzleInput read;
    const std::vector<std::string_view> words = Words(body, kSavedGameNumbers);
    if (LooksLikeSavedGame(words)) {
        if (!ReadSavedGameText(std::string(body), words, read, error)) return false;
    } else {
        if (!ReadCodeCells(body, read.givens, error)) return false;
        read.values = read.givens;
    }
    if (rules == PuzzleRules::Check && !CheckPuzzleGrid(read.givens, error, limits)) return false;
    puzzle = std::move(read);
    return true;
}

bool ReadPuzzleFileText(const std::string& path, std::string& text, std::string& error) {
    const FileReadOutcome outcome = ReadBoundedFile(path, kMaxPuzzleTextBytes, text);
    const int readError = errno;
    if (outcome == FileReadOutcome::Read) return true;
    error = path + ": " + FileReadReason(outcome, readError);
    return false;
}

bool ReadPuzzleFile(const std::string& path, PuzzleInput& puzzle, std::string& error, PuzzleRules rules,
                    const CompletionLimits& limits) {
    std::string bytes;
    if (!ReadPuzzleFileText(path, bytes, error)) return false;
    if (!ParsePuzzleText(bytes, puzzle, error, rules, limits)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
