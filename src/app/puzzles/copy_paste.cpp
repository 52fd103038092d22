// The copy and paste keys, the intake check's answer (a paste's or a file's), and games
// started from a puzzle from outside.
#include "app/puzzles/copy_paste.h"

#include <cstring>
#include <utility>

#include "app/program.h"
#include "app/screens/menus.h"
#include "play/input/key_bindings.h"
#include "play/view/status_line.h"
#include "sudoku/puzzle_code.h"

namespace {

constexpr const char* CheckingText = "Checking the pasted puzzle...";
constexpr const char* CheckingFileText = "Checking the puzzle...";
constexpr const char* StartedText = "Started the pasted puzzle";

// A line for the player where the screen shows one: the play screen's message line
// (until the next change of the grid), the main menu's own line.
void Tell(Program& p, const char* text, bool warning) {
    if (p.GameState == Playing) {
        p.aids.message.Set(text, p.aids.history.Revision());
    } else {
        p.paste.menuMessage = text;
        p.paste.menuWarning = warning;
    }
}

void CopyCode(Program& p, const Grid& grid, const char* copied) {
    const std::string code = FormatPuzzleCode(grid);
    const bool done = !code.empty() && p.gk->System_SetClipboard(code.c_str());
    Tell(p, done ? copied : "Cannot copy: the clipboard cannot be written", !done);
}

const char* CheckingTextOf(const PasteSession& session) {
    return session.fileName.empty() ? CheckingText : CheckingFileText;
}

void StartPaste(Program& p) {
    std::string text;
    p.paste.fileName.clear();
    // One byte over the longest code, so that a longer text is refused as such. A text
    // of over 1 MB that another program holds comes in pieces SDL does not take (X11's
    // INCR transfer): it reads as no text, so the message names both.
    if (!p.gk->System_GetClipboard(text, kMaxPuzzleTextBytes + 1)) {
        p.paste.check.Stop();
        Tell(p, "Cannot paste: the clipboard holds no text, or one too large for a puzzle code", true);
        return;
    }
    p.paste.check.Start(std::move(text));
    p.paste.startedIn = p.GameState;
    Tell(p, CheckingText, false);
}

// The play screen's message, when it is still the check's.
void ClearCheckingMessage(Program& p) {
    if (p.aids.message.set && std::strcmp(p.aids.message.text, CheckingTextOf(p.paste)) == 0)
        p.aids.message.Clear();
}

}  // namespace

void SetUpPuzzleGame(Program& p, const TakenPuzzle& puzzle, const std::string& message) {
    SetUpTakenGame(p.board, puzzle);
    BuildBoardView();
    p.aids.ResetForGame();
    p.aids.origin = puzzle.origin;
    if (p.picker) p.picker->open = false;
    SaveGameFiles();
    p.aids.message.Set(message.c_str(), p.aids.history.Revision());
}

namespace {

// The main menu takes the answer only while it stays: not once an item was chosen.
bool ReadyForAnswer(const Program& p) {
    return p.GameState == Playing || (p.GameState == MainMenu && p.Gui && !p.Gui->IsLeaving());
}

void PickUpAnswer(Program& p) {
    PasteSession& session = p.paste;
    if (!session.check.Busy()) return;
    if (p.GameState != session.startedIn) {
        session.check.Stop();
        ClearCheckingMessage(p);
        session.fileName.clear();
        return;
    }
    PuzzleIntakeResult result;
    if (!ReadyForAnswer(p) || !session.check.TakeResult(result)) {
        // The play screen's line says so until the answer comes, also after a move.
        if (p.GameState == Playing && !p.aids.message.Current(p.aids.history.Revision()))
            Tell(p, CheckingTextOf(session), false);
        return;
    }
    const std::string name = std::move(session.fileName);
    session.fileName.clear();
    if (!result.accepted) {
        const std::string refusal = name.empty() ? "Cannot paste: " : "Cannot open " + name + ": ";
        Tell(p, (refusal + result.error).c_str(), true);
        return;
    }
    const bool fromMenu = p.GameState == MainMenu;
    SetUpPuzzleGame(p, result.puzzle, name.empty() ? StartedText : "Started the puzzle from " + name);
    if (fromMenu) {
        session.menuMessage.clear();
        LeaveMainMenuForPlay();
    }
}

}  // namespace

void StartPuzzleFileCheck(Program& p, std::string text, const std::string& name) {
    p.paste.check.Start(std::move(text), PuzzleKind::File);
    p.paste.fileName = name;
    p.paste.startedIn = p.GameState;
    Tell(p, CheckingFileText, false);
}

void HandleCopyPaste(Program& p, const FrameInput& input) {
    if (!p.gk) return;
    if (p.GameState != MainMenu) p.paste.menuMessage.clear();
    PickUpAnswer(p);
    const bool onPlayScreen = p.GameState == Playing && !p.aids.helpOpen;  // a key only closes the help
    const bool inMainMenu = p.GameState == MainMenu && p.Gui && !p.Gui->IsLeaving() && !p.statisticsOpen;
    if (!onPlayScreen && !inMainMenu) return;
    const KeyScreen screen = onPlayScreen ? OnPlayScreen : OnMainMenu;
    for (int i = 0; i < input.count; ++i) {
        switch (ActionOf(input.presses[i], screen)) {
            case Action::CopyPuzzle:
                CopyCode(p, p.board.givens, "Copied the puzzle's code");
                break;
            case Action::CopyGrid:
                CopyCode(p, p.board.values, "Copied the grid's code, with your values");
                break;
            case Action::Paste:
                StartPaste(p);
                if (inMainMenu) p.Gui->WithholdKey();
                break;
            default:
                break;
        }
    }
}

void DrawPasteMessage(Program& p) {
    if (!p.MenuFont || p.paste.menuMessage.empty()) return;
    DrawText(*p.MenuFont, ScreenCenterX, MenuMessageY, AlignCenter,
             StatusTextStyle(p.palette, p.paste.menuWarning), p.paste.menuMessage.c_str());
}
