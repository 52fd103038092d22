// Fuzz target for the reader of the game's second file: ParsePlayRecord takes the input as
// "game.state" text. A record it accepts must hold only what the game can apply, must be
// exactly what PlayRecordText writes for it (the reader takes one spelling only; a file
// of the first version is written back as the current one, which reads back the same),
// and must come back unchanged through SavePlayRecord and LoadPlayRecord.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "save/game_state.h"
#include "support/temp_folder.h"

namespace {

// The fingerprint the seed corpus carries ("fingerprint 0123456789abcdef").
constexpr std::uint64_t kFuzzFingerprint = 0x0123456789abcdefull;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "game-state invariant broken: %s\n", what);
    std::abort();
}

bool SameRecord(const PlayRecord& a, const PlayRecord& b) {
    return a.playSeconds == b.playSeconds && a.hintsUsed == b.hintsUsed && a.origin == b.origin && a.board == b.board &&
           a.notes == b.notes && a.undo == b.undo && a.redo == b.redo;
}

void CheckChanges(const std::vector<CellChange>& changes) {
    Require(changes.empty() || changes.front().firstOfStep, "a history opens with a step");
    for (const CellChange& change : changes) {
        Require(change.row < 16 && change.column < 16, "changes stay on the board");
        Require(change.valueBefore <= 16 && change.valueAfter <= 16, "values are 0..16");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempFolder folder;
    const std::string text(reinterpret_cast<const char*>(data), size);
    PlayRecord record;
    record.playSeconds = 7;
    if (!ParsePlayRecord(text, kFuzzFingerprint, record)) {
        Require(record.playSeconds == 7 && record.undo.empty(), "a refused text leaves the record");
        return 0;
    }
    CheckChanges(record.undo);
    CheckChanges(record.redo);
    Require(record.undo.size() + record.redo.size() <= kMaxHistoryChanges, "history within its limit");
    Require(record.playSeconds <= kMaxPlaySeconds, "play time within 100 years");
    const bool currentVersion = text.rfind("veltrane-sudoku game.state 2\n", 0) == 0;
    Require(!currentVersion || PlayRecordText(record, kFuzzFingerprint) == text,
            "an accepted text is the one the writer makes");

    PlayRecord foreign;
    Require(!ParsePlayRecord(text, kFuzzFingerprint ^ 1, foreign), "another game's fingerprint is refused");

    const std::string path = folder.File("game.state");
    Require(SavePlayRecord(path, record, kFuzzFingerprint), "an accepted record is written");
    PlayRecord again;
    Require(LoadPlayRecord(path, kFuzzFingerprint, again), "a written record loads");
    Require(SameRecord(again, record), "save and load round trip");
    return 0;
}
