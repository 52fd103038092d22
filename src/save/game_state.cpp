// The game's second file: fingerprint, text writer, strict reader, atomic save and bounded load.
//
// Text form (ASCII, LF line ends, one canonical spelling for every record):
//   veltrane-sudoku game.state 2
//   fingerprint <16 lower-case hex digits>
//   seconds <play time, decimal, at most kMaxPlaySeconds>
//   hints <hints used, decimal, at most kMaxHintsUsed>
//   puzzle classic|logic|pasted|file <level 0..3 or 5> <solutions 0..2>, an origin IsKnownOrigin takes
//   board
//   16 lines of 16 values 0..16 in decimal, separated by one space
//   notes
//   16 lines of 16 cells, each 4 lower-case hex digits, separated by one space
//   undo <count>
//   <count> change lines, oldest first
//   redo <count>
//   <count> change lines, the next step to redo last
//   end
// A change line is "<first> <row> <column> <value before> <value after> <notes before>
// <notes after>": first is 1 for the change that opens a step and 0 for the others, row,
// column and values are decimal, notes 4 lower-case hex digits. Decimal numbers have no
// sign and no leading zero. The reader takes exactly this form and nothing else, so a
// text it accepts is the text PlayRecordText writes for the record it read.
// Version 1 lacks the hints, puzzle and board lines; it is still read (no hints, a
// classic puzzle, a board of zeros) and is written back as version 2.
#include "save/game_state.h"

#include <string_view>
#include <utility>

#include "save/file_read.h"
#include "save/save.h"
#include "sudoku/grid.h"

namespace {

constexpr std::string_view kFormatName = "veltrane-sudoku game.state ";
constexpr std::uint64_t kFormatVersion = 2;
constexpr std::uint64_t kFirstVersionWithBoard = 2;
constexpr std::uint8_t kGridSize = kBoardSide;
constexpr std::uint8_t kMaxValue = kLargestValue;
// The shortest change line, "0 0 0 0 0 0000 0000\n": bounds a count against the bytes left.
constexpr std::size_t kShortestChangeLine = 20;
// The longest, "1 15 15 16 16 ffff ffff\n" (row and column stay below 100, values too).
constexpr std::size_t kLongestChangeLine = 24;

// --- writing --------------------------------------------------------------------

void AppendHex(std::string& text, std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
}

// Writes a number of 0..99 in decimal at out; returns the position after it.
char* PutSmall(char* out, unsigned value) {
    if (value >= 10) *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

char* PutNotes(char* out, CellNotes notes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4) *out++ = kDigits[(notes >> shift) & 0xF];
    return out;
}

// The play screen writes the file after every move, history and all, so each change
// line is put together in a small buffer and appended at once.
void AppendChanges(std::string& text, const char* name, const std::vector<CellChange>& changes) {
    text += name;
    text += ' ';
    text += std::to_string(changes.size());
    text += '\n';
    for (const CellChange& change : changes) {
        char line[kLongestChangeLine];
        char* out = line;
        *out++ = change.firstOfStep ? '1' : '0';
        for (const unsigned small : {change.row, change.column, change.valueBefore, change.valueAfter}) {
            *out++ = ' ';
            out = PutSmall(out, small);
        }
        *out++ = ' ';
        out = PutNotes(out, change.notesBefore);
        *out++ = ' ';
        out = PutNotes(out, change.notesAfter);
        *out++ = '\n';
        text.append(line, out);
    }
}

void AppendBoard(std::string& text, const BoardValues& board) {
    text += "board\n";
    for (const auto& row : board) {
        char line[16 * 3];
        char* out = line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) *out++ = ' ';
            out = PutSmall(out, row[column]);
        }
        *out++ = '\n';
        text.append(line, out);
    }
}

// --- reading --------------------------------------------------------------------

// Walks the text front to back; every method consumes what it matched and fails on
// anything else, leaving the position undefined (the parse is abandoned then).
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool Char(char c) { return Literal(std::string_view(&c, 1)); }
    bool LineEnd() { return Char('\n'); }
    bool AtEnd() const { return pos_ == text_.size(); }
    std::size_t Left() const { return text_.size() - pos_; }

    // A decimal number without sign or leading zero, at most max.
    bool Decimal(std::uint64_t max, std::uint64_t& value) {
        const std::size_t start = pos_;
        std::uint64_t result = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            const auto digit = static_cast<std::uint64_t>(text_[pos_] - '0');
            if (digit > max || result > (max - digit) / 10) return false;
            result = result * 10 + digit;
            ++pos_;
        }
        const std::size_t length = pos_ - start;
        if (length == 0 || (length > 1 && text_[start] == '0')) return false;
        value = result;
        return true;
    }
    // Exactly digits lower-case hexadecimal digits.
    bool Hex(int digits, std::uint64_t& value) {
        if (Left() < static_cast<std::size_t>(digits)) return false;
        std::uint64_t result = 0;
        for (int i = 0; i < digits; ++i, ++pos_) {
            const char c = text_[pos_];
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (digit < 0) return false;
            result = (result << 4) | static_cast<std::uint64_t>(digit);
        }
        value = result;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool ReadNotes(Cursor& in, CellNotes& notes) {
    std::uint64_t value = 0;
    if (!in.Hex(4, value)) return false;
    notes = static_cast<CellNotes>(value);
    return true;
}

bool ReadSmall(Cursor& in, std::uint8_t max, std::uint8_t& out) {
    std::uint64_t value = 0;
    if (!in.Decimal(max, value)) return false;
    out = static_cast<std::uint8_t>(value);
    return true;
}

bool ReadChange(Cursor& in, CellChange& change) {
    std::uint8_t first = 0;
    const bool read = ReadSmall(in, 1, first) && in.Char(' ') && ReadSmall(in, kGridSize - 1, change.row) &&
                      in.Char(' ') && ReadSmall(in, kGridSize - 1, change.column) && in.Char(' ') &&
                      ReadSmall(in, kMaxValue, change.valueBefore) && in.Char(' ') &&
                      ReadSmall(in, kMaxValue, change.valueAfter) && in.Char(' ') &&
                      ReadNotes(in, change.notesBefore) && in.Char(' ') && ReadNotes(in, change.notesAfter) &&
                      in.LineEnd();
    change.firstOfStep = first == 1;
    return read;
}

// "<name> <count>" and the change lines. The count is checked against the history
// limit (shared by both lists) and against the bytes left before anything is reserved,
// and a non-empty list must open with the first change of a step.
bool ReadChanges(Cursor& in, std::string_view name, std::size_t& budget, std::vector<CellChange>& changes) {
    std::uint64_t count = 0;
    if (!in.Literal(name) || !in.Char(' ') || !in.Decimal(budget, count) || !in.LineEnd()) return false;
    if (count > in.Left() / kShortestChangeLine) return false;
    budget -= static_cast<std::size_t>(count);
    changes.resize(static_cast<std::size_t>(count));
    for (CellChange& change : changes) {
        if (!ReadChange(in, change)) return false;
    }
    return changes.empty() || changes.front().firstOfStep;
}

// The first line: the format's name and a version this reader knows (a newer one is refused).
bool ReadHeader(Cursor& in, std::uint64_t& version) {
    return in.Literal(kFormatName) && in.Decimal(kFormatVersion, version) && version >= 1 && in.LineEnd();
}

constexpr const char* kPuzzleKindNames[] = {"classic", "logic", "pasted", "file"};
constexpr int kPuzzleKinds = sizeof kPuzzleKindNames / sizeof kPuzzleKindNames[0];

// "puzzle <kind> <level> <solutions>".
bool ReadOrigin(Cursor& in, PuzzleOrigin& origin) {
    if (!in.Literal("puzzle ")) return false;
    bool named = false;
    for (int k = 0; k < kPuzzleKinds && !named; ++k) {
        named = in.Literal(kPuzzleKindNames[k]);
        if (named) origin.kind = static_cast<PuzzleKind>(k);
    }
    std::uint64_t level = 0, solutions = 0;
    if (!named || !in.Char(' ') || !in.Decimal(Expert, level) || !in.Char(' ') || !in.Decimal(2, solutions) ||
        !in.LineEnd())
        return false;
    origin.level = static_cast<std::int32_t>(level);
    origin.solutions = static_cast<std::uint8_t>(solutions);
    return IsKnownOrigin(origin);
}

// The lines version 2 added: the hints used, the puzzle's origin and the board.
bool ReadHintsAndBoard(Cursor& in, PlayRecord& record) {
    std::uint64_t hints = 0;
    if (!in.Literal("hints ") || !in.Decimal(kMaxHintsUsed, hints) || !in.LineEnd()) return false;
    record.hintsUsed = static_cast<std::uint32_t>(hints);
    if (!ReadOrigin(in, record.origin)) return false;
    if (!in.Literal("board") || !in.LineEnd()) return false;
    for (auto& row : record.board) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if ((column > 0 && !in.Char(' ')) || !ReadSmall(in, kMaxValue, row[column])) return false;
        }
        if (!in.LineEnd()) return false;
    }
    return true;
}

bool ReadRecord(Cursor& in, PlayRecord& record, std::uint64_t& fingerprint) {
    std::uint64_t version = 0;
    if (!ReadHeader(in, version) || !in.Literal("fingerprint ") || !in.Hex(16, fingerprint) || !in.LineEnd())
        return false;
    if (!in.Literal("seconds ") || !in.Decimal(kMaxPlaySeconds, record.playSeconds) || !in.LineEnd()) return false;
    if (version >= kFirstVersionWithBoard && !ReadHintsAndBoard(in, record)) return false;
    if (!in.Literal("notes") || !in.LineEnd()) return false;
    for (auto& row : record.notes) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if ((column > 0 && !in.Char(' ')) || !ReadNotes(in, row[column])) return false;
        }
        if (!in.LineEnd()) return false;
    }
    std::size_t budget = kMaxHistoryChanges;
    return ReadChanges(in, "undo", budget, record.undo) && ReadChanges(in, "redo", budget, record.redo) &&
           in.Literal("end") && in.LineEnd() && in.AtEnd();
}

bool IsWellFormed(const std::vector<CellChange>& changes) {
    if (!changes.empty() && !changes.front().firstOfStep) return false;
    for (const CellChange& change : changes) {
        if (change.row >= kGridSize || change.column >= kGridSize || change.valueBefore > kMaxValue ||
            change.valueAfter > kMaxValue)
            return false;
    }
    return true;
}


// FNV-1a over the bytes of 32-bit numbers, low byte first.
class Fnv1a {
public:
    void Add(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            hash_ ^= (value >> (8 * i)) & 0xFFu;
            hash_ *= 0x100000001b3ull;
        }
    }
    void Add(const Grid& grid) {
        Add(static_cast<std::uint32_t>(grid.size()));
        for (const auto& row : grid) {
            Add(static_cast<std::uint32_t>(row.size()));
            for (const std::int32_t value : row) Add(static_cast<std::uint32_t>(value));
        }
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

bool IsKnownOrigin(const PuzzleOrigin& origin) {
    if (origin.level < 0 || (origin.level != 0 && !IsLevel(origin.level)) || origin.solutions > 2)
        return false;
    switch (origin.kind) {
        case PuzzleKind::Classic:
            return origin.level == 0 || IsClassicLevel(origin.level);
        case PuzzleKind::Logic:
            return origin.level != 0 && origin.solutions == 1;
        case PuzzleKind::Pasted:
        case PuzzleKind::File:
            return origin.level == 0 || origin.solutions == 1;
    }
    return false;
}

// The writer never replaces a file with one that would be refused at the next start.
bool IsWritablePlayRecord(const PlayRecord& record) {
    return record.playSeconds <= kMaxPlaySeconds && record.hintsUsed <= kMaxHintsUsed &&
           IsKnownOrigin(record.origin) && record.undo.size() <= kMaxHistoryChanges &&
           record.redo.size() <= kMaxHistoryChanges - record.undo.size() && IsWellFormed(record.undo) &&
           IsWellFormed(record.redo);
}

BoardValues BoardValuesOf(const SudokuBoard& board) {
    BoardValues values{};
    for (std::size_t r = 0; r < values.size() && r < board.values.size(); ++r) {
        for (std::size_t c = 0; c < values[r].size() && c < board.values[r].size(); ++c) {
            const std::int32_t value = board.values[r][c];
            values[r][c] = static_cast<std::uint8_t>(value >= 0 && value <= kMaxValue ? value : 0);
        }
    }
    return values;
}

std::uint64_t GameFingerprint(const SudokuBoard& board) {
    Fnv1a hash;
    hash.Add(static_cast<std::uint32_t>(board.size));
    hash.Add(board.givens);
    hash.Add(board.values);
    return hash.Value();
}

std::string PlayRecordText(const PlayRecord& record, std::uint64_t fingerprint) {
    std::string text;
    text.reserve(4096 + (record.undo.size() + record.redo.size()) * kLongestChangeLine);
    text += kFormatName;
    text += std::to_string(kFormatVersion) + "\nfingerprint ";
    AppendHex(text, fingerprint, 16);
    text += "\nseconds " + std::to_string(record.playSeconds) + "\nhints " + std::to_string(record.hintsUsed) + '\n';
    text += std::string("puzzle ") + kPuzzleKindNames[static_cast<int>(record.origin.kind)] + ' ' +
            std::to_string(record.origin.level) + ' ' + std::to_string(record.origin.solutions) + '\n';
    AppendBoard(text, record.board);
    text += "notes\n";
    for (const auto& row : record.notes) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) text += ' ';
            AppendHex(text, row[column], 4);
        }
        text += '\n';
    }
    AppendChanges(text, "undo", record.undo);
    AppendChanges(text, "redo", record.redo);
    text += "end\n";
    return text;
}

bool ParsePlayRecordOfAnyGame(const std::string& text, PlayRecord& record, std::uint64_t& fingerprint) {
    if (text.size() > kMaxPlayRecordBytes) return false;
    Cursor in(text);
    PlayRecord read;
    std::uint64_t named = 0;
    if (!ReadRecord(in, read, named)) return false;
    record = std::move(read);
    fingerprint = named;
    return true;
}

bool ParsePlayRecord(const std::string& text, std::uint64_t expectedFingerprint, PlayRecord& record) {
    PlayRecord read;
    std::uint64_t fingerprint = 0;
    if (!ParsePlayRecordOfAnyGame(text, read, fingerprint) || fingerprint != expectedFingerprint) return false;
    record = std::move(read);
    return true;
}

bool SavePlayRecord(const std::string& path, const PlayRecord& record, std::uint64_t fingerprint) {
    if (!IsWritablePlayRecord(record)) return false;
    return ReplaceFileContents(path, PlayRecordText(record, fingerprint));
}

bool LoadPlayRecordOfAnyGame(const std::string& path, PlayRecord& record, std::uint64_t& fingerprint) {
    std::string text;
    if (!ReadRegularFile(path, kMaxPlayRecordBytes, text)) return false;
    return ParsePlayRecordOfAnyGame(text, record, fingerprint);
}

bool LoadPlayRecord(const std::string& path, std::uint64_t expectedFingerprint, PlayRecord& record) {
    std::string text;
    return ReadRegularFile(path, kMaxPlayRecordBytes, text) &&
           ParsePlayRecord(text, expectedFingerprint, record);
}
