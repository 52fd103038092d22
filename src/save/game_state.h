// The game's second file, "game.state", kept beside "game.save": what the
// saved-game format has no room for. It holds the play time, the number of hints
// used, the values of the board it was written for, the notes (pencil marks) of
// every cell, the undo and redo history, and a fingerprint of the game it belongs
// to. It is written atomically after "game.save". At start-up it is used as it is
// when its fingerprint matches the board that was loaded, and brought to that
// board when it belongs to an earlier position of the same game (state_reconcile.h);
// a missing, damaged, oversized, foreign or newer file is ignored (the game plays
// on from "game.save" alone). This module owns the record and its text form; the
// play screen owns the live history and notes. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sudoku/board.h"
#include "sudoku/cell_change.h"

// A board's values, 0..16 (0 = empty), indexed [row][column].
using BoardValues = std::array<std::array<std::uint8_t, 16>, 16>;

// The longest play time a file may hold: 100 years of 365.25 days. Anything longer
// is damage, and whole seconds up to it fit every clock the game keeps.
constexpr std::uint64_t kMaxPlaySeconds = 3'155'760'000;

// The most hints a game counts (PlayAids stops counting there): a hint every second for
// eleven days of play. A larger count in a file is damage.
constexpr std::uint32_t kMaxHintsUsed = 1'000'000;

// Where the puzzle in progress came from, which the saved game has no room for: the
// game's own generator, the logic generator (one solution, graded by the techniques it
// needs), a pasted code, or a file named on the command line. level is Easy, Medium,
// Hard or (for any but a classic puzzle) Expert, or 0 when there is none (a puzzle brought in with many
// solutions or that logic cannot finish); solutions is 1 or 2 (one, or more than one), 0 when not known.
enum class PuzzleKind : std::uint8_t { Classic, Logic, Pasted, File };
struct PuzzleOrigin {
    PuzzleKind kind = PuzzleKind::Classic;
    std::int32_t level = 0;
    std::uint8_t solutions = 0;
    bool operator==(const PuzzleOrigin& other) const {
        return kind == other.kind && level == other.level && solutions == other.solutions;
    }
};

// True for an origin the game makes: a logic puzzle has a level and one solution, a
// puzzle brought in has a level only with one solution (a classic one keeps the level
// chosen, or 0 from files of the first version).
bool IsKnownOrigin(const PuzzleOrigin& origin);

struct PlayRecord {
    std::uint64_t playSeconds = 0;  // at most kMaxPlaySeconds
    std::uint32_t hintsUsed = 0;    // at most kMaxHintsUsed
    PuzzleOrigin origin;
    // The values of the board written with the record (all 0 when read from a file of
    // the first version, which did not keep them).
    BoardValues board{};
    NotesGrid notes{};
    std::vector<CellChange> undo;  // oldest change first; the last step is undone first
    std::vector<CellChange> redo;  // the step to redo first comes last, each step's changes in apply order
    // Kept in game.db only (the text form has no room for them): when the game began, in
    // microseconds since 1970 (0: not known), and the mistakes marked in it.
    std::int64_t startedMicros = 0;
    std::uint32_t mistakesMarked = 0;
};

// The file's name in the saved game's folder, beside "game.save".
constexpr const char* GameStateFileName = "game.state";

// Limits that keep a damaged or hostile file from costing memory: the reader
// refuses larger files and longer histories (undo and redo together). The longest
// history the limit allows is written in well under kMaxPlayRecordBytes.
constexpr std::size_t kMaxPlayRecordBytes = 64u * 1024u * 1024u;
constexpr std::size_t kMaxHistoryChanges = 2'000'000;

// Identifies the game a state belongs to: a 64-bit hash of the board's size,
// givens and values (so a state written before the last change of "game.save"
// reached the disk is not applied to a later board).
std::uint64_t GameFingerprint(const SudokuBoard& board);

// The board's values as the record keeps them; a value outside 0..16 (only a damaged
// game.save holds one) is kept as 0, so the record no longer matches the fingerprint
// of its board and is used only when game.save matches it exactly.
BoardValues BoardValuesOf(const SudokuBoard& board);

// The text written for a record of the game with this fingerprint.
std::string PlayRecordText(const PlayRecord& record, std::uint64_t fingerprint);
// Parses the text; false (and record untouched) for anything damaged, oversized,
// of another version, or whose fingerprint differs from the one expected.
bool ParsePlayRecord(const std::string& text, std::uint64_t expectedFingerprint, PlayRecord& record);
// Parses the text of any game; fingerprint receives the one the file names.
bool ParsePlayRecordOfAnyGame(const std::string& text, PlayRecord& record, std::uint64_t& fingerprint);

// True when the reader would take the record back: history within the limit, every
// change on the board with values up to 16, each history opening with firstOfStep,
// play time within kMaxPlaySeconds, hints within kMaxHintsUsed, a known origin.
bool IsWritablePlayRecord(const PlayRecord& record);
// Atomic write of the file at path (same rules as the saved game); true on success.
// A record that is not writable is not written: false, and an existing file stays
// as it is.
bool SavePlayRecord(const std::string& path, const PlayRecord& record, std::uint64_t fingerprint);
// Reads the file at path without blocking (a FIFO or device in its place is refused, an
// oversized file is refused before it is read); false when it is missing, not a regular
// file, or refused by ParsePlayRecord.
bool LoadPlayRecord(const std::string& path, std::uint64_t expectedFingerprint, PlayRecord& record);
// The same read for a file of any game; fingerprint receives the one it names.
bool LoadPlayRecordOfAnyGame(const std::string& path, PlayRecord& record, std::uint64_t& fingerprint);
