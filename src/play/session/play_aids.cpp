#include "play/session/play_aids.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

std::int64_t NowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

void StatusMessage::Set(const char* message, std::uint64_t atRevision, bool yieldsToWarning) {
    std::snprintf(text, sizeof text, "%s", message);
    revision = atRevision;
    set = true;
    belowWarning = yieldsToWarning;
}

void PlaySession::ClearSession() {
    history.Clear();
    notes = NotesGrid{};
    playMicroseconds = 0;
    hintsUsed = 0;
    origin = PuzzleOrigin{};
    startedMicros = NowMicros();
    mistakesMarked = 0;
}

void PlaySession::RestoreSession(PlayRecord record) {
    playMicroseconds = std::min(record.playSeconds, kMaxPlaySeconds) * 1'000'000;
    hintsUsed = record.hintsUsed;
    origin = record.origin;
    notes = record.notes;
    // A game taken over from an earlier version's file begins its row now.
    startedMicros = record.startedMicros ? record.startedMicros : NowMicros();
    mistakesMarked = record.mistakesMarked;
    history.Restore(std::move(record.undo), std::move(record.redo));
}

void PlayUi::DropHint() {
    message.Clear();
    hint = PendingHint{};
    lesson.Reset();
    takeOut.Cancel();
}

void PlayUi::AskToConfirm(int action, const char* question, std::uint64_t nowRevision) {
    confirm = {action, ConfirmSeconds, nowRevision, question};
    message.Set(question, nowRevision);
}

void PlayUi::CountDownConfirmation(float dt) {
    if (confirm.action == 0) return;
    confirm.secondsLeft -= dt;
    if (confirm.secondsLeft > 0) return;
    if (message.set && std::strcmp(message.text, confirm.question) == 0) message.Clear();
    confirm = PendingConfirmation{};
}

void PlayAids::ResetForGame() {
    DropHint();
    mistakes.Reset();
    confirm = PendingConfirmation{};
    leaveForNewGame = false;
    ClearSession();
    noteMode = false;
    ResumeGame();
}

void PlayAids::ResumeGame() {
    keyboard.Reset();
    helpOpen = false;
    focusedLastFrame = true;  // play starts in the frame of the player's choice
}

void PlayAids::Restore(PlayRecord record) {
    DropHint();
    RestoreSession(std::move(record));
}

PlayRecord PlaySession::Record() const {
    PlayRecord record;
    record.playSeconds = PlaySeconds();
    record.hintsUsed = hintsUsed;
    record.origin = origin;
    record.startedMicros = startedMicros;
    record.mistakesMarked = mistakesMarked;
    record.notes = notes;
    record.undo = history.UndoChanges();
    record.redo = history.RedoChanges();
    return record;
}

void PlaySession::CountPlayTime(float dt, bool focused) {
    const bool counts = focused && focusedLastFrame && dt > 0;
    focusedLastFrame = focused;
    if (!counts) return;
    const auto counted = static_cast<std::uint64_t>(std::llround(std::min(dt, MaxCountedFrameSeconds) * 1e6));
    playMicroseconds = std::min(playMicroseconds + counted, kMaxPlaySeconds * 1'000'000);
}

float PlaySession::SecondsToNextClockSecond() const {
    constexpr std::uint64_t kAfterTheSecond = 1000;  // microseconds
    const std::uint64_t next = (playMicroseconds / 1'000'000 + 1) * 1'000'000 + kAfterTheSecond;
    return static_cast<float>(next - playMicroseconds) / 1e6f;
}

CellRef PlayUi::FocusCell() const {
    return keyboard.Shown() ? keyboard.Position() : pointerCell;
}
