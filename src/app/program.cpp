#include "app/program.h"

#include <cstdio>
#include <cstring>

#include "save/game_state.h"
#include "save/save.h"
#include "save/settings.h"

namespace {

Program program;

}  // namespace

Program& TheProgram() { return program; }

void ResetProgram() { program = Program(); }

GameEntry GameEntryOf(const Program& p) {
    GameEntry game;
    game.startedMicros = p.aids.startedMicros;
    game.kind = p.aids.origin.kind;
    game.level = game.kind == PuzzleKind::Classic ? p.board.difficulty : p.aids.origin.level;
    game.playSeconds = p.aids.PlaySeconds();
    game.hints = p.aids.hintsUsed;
    game.mistakes = p.aids.mistakesMarked;
    game.outcome =
        p.board.HasUnfinishedGame() || p.board.size <= 0 ? GameOutcome::InProgress : GameOutcome::Won;
    return game;
}

void SaveGameFiles() {
    Program& p = TheProgram();
    GameSnapshot snapshot;
    snapshot.savePath = p.board.directory + SaveFileName;
    snapshot.saveBytes = SavedGameText(p.board);
    snapshot.databasePath = p.board.directory + PlayDatabaseFileName;
    snapshot.state = p.aids.Record();
    snapshot.state.board = BoardValuesOf(p.board);
    snapshot.fingerprint = GameFingerprint(p.board);
    snapshot.game = GameEntryOf(p);
    MarkGameSaved();
    if (p.writer) {
        p.writer->SaveGame(std::move(snapshot));
    } else {
        PlayDatabase database;
        const DatabaseFault fault = database.Open(snapshot.databasePath);
        WriteGameSnapshot(snapshot, WriteFileAtomically, database.IsOpen() ? &database : nullptr,
                          DatabaseFaultText(fault));
    }
}

void MarkGameSaved() {
    Program& p = TheProgram();
    p.savedRevision = p.aids.history.Revision();
    p.savedPlaySeconds = p.aids.PlaySeconds();
    p.savedHints = p.aids.hintsUsed;
}

bool GameChangedSinceSaved() {
    const Program& p = TheProgram();
    return p.aids.history.Revision() != p.savedRevision || p.aids.PlaySeconds() != p.savedPlaySeconds ||
           p.aids.hintsUsed != p.savedHints;
}

void WaitForSavedFiles() {
    if (TheProgram().writer) TheProgram().writer->WaitUntilWritten();
}

void PickUpSaveProblem() {
    Program& p = TheProgram();
    SaveProblem problem;
    if (!p.writer || !p.writer->TakeProblemChange(problem)) return;
    if (problem.error == 0) {
        p.aids.saveFailure.Clear();
        return;
    }
    const std::string reason = WriteFailureReason(problem.error);
    char text[sizeof p.aids.saveFailure.text];
    std::snprintf(text, sizeof text, "Not saved: %s", reason.c_str());
    p.aids.saveFailure.Set(text, 0);
    if (p.gk) p.gk->System_Log("Not saved: %s: %s", problem.path.c_str(), reason.c_str());
}

void ApplyFullScreen() {
    Program& p = TheProgram();
    if (!p.gk || p.aids.settings.fullScreen == p.fullScreenShown) return;
    p.fullScreenShown = p.aids.settings.fullScreen;
    p.gk->System_SetState(GK_WINDOWED, !p.fullScreenShown);
}

void ApplySettings() {
    Program& p = TheProgram();
    const std::string path = p.board.directory + SettingsFileName;
    if (p.writer) {
        p.writer->SaveFile(path, SettingsText(p.aids.settings));
    } else {
        SaveSettings(path, p.aids.settings);
    }
    ApplyFullScreen();
}

void BuildBoardView() {
    Program& p = TheProgram();
    p.view.BuildBoardView({p.MenuFont.get(), &p.board, p.SelectSprite.get(), p.UnselectSprite.get()});
}
