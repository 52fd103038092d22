#include "app/screens/play_screen.h"

#include "app/program.h"
#include "gfx/text.h"
#include "platform/message_box.h"
#include "play/hint/hint.h"
#include "play/input/play_input.h"
#include "play/view/cell_marks.h"
#include "play/view/help_overlay.h"
#include "play/view/layout.h"
#include "play/view/notes_view.h"
#include "play/view/status_line.h"
#include "save/scores.h"

namespace {

constexpr const char* MouseCaptionText = "Press Left Mouse Button\nto set value";

// The board with the play aids' tint and the notes under the values and their marks
// over the cells, the picker, the status line and the help; the mouse caption comes last,
// so the font is left as the caption leaves it.
void DrawPlayScreen(Program& p) {
    GK& gk = *p.gk;
    const Palette& palette = p.palette;
    const int tinted = TintedValue(p.aids, p.board);
    gkFont* notesFont = p.notesFont.get();
    p.view.DrawWith(
        [&](const Cell& cell) {
            DrawUnderCellValue(gk, p.aids, cell, tinted, palette);
            if (notesFont && cell.row >= 0 && cell.column >= 0)
                DrawCellNotes(*notesFont, cell, p.aids.notes[cell.row][cell.column], palette);
        },
        palette);
    DrawOverCells(gk, p.aids, p.view, p.board, palette);
    if (p.picker) p.picker->DrawValuePicker(palette);
    if (!p.MenuFont) return;
    DrawStatusLine(*p.MenuFont, p.board, p.aids, p.picker.get(), palette);
    if (p.aids.helpOpen) DrawHelpOverlay(gk, *p.MenuFont, p.aids.settings, palette);
    DrawText(*p.MenuFont, CaptionX, CaptionY, AlignLeft, {CaptionScale, palette.caption}, MouseCaptionText);
}

// Leaves the play screen for a menu.
ScreenRequest OpenMenu(Program& p, int state) {
    p.Gui->Leave();
    p.Gui->SetFocus(0);
    return {ScreenRequest::GoTo, state, {}};
}

// What the player won, for the main menu's line until the next game.
void KeepWinLine(Program& p, bool newBest) {
    char puzzle[48];
    char time[32];
    std::size_t used = 0;
    AppendText(p.winLine, sizeof p.winLine, used, "%s, won in %s",
               PuzzleName(p.board, p.aids.origin, puzzle, sizeof puzzle),
               FormatPlayTime(p.aids.PlaySeconds(), time, sizeof time));
    if (newBest) {
        AppendText(p.winLine, sizeof p.winLine, used, " - a new best");
    } else if (p.aids.hintsUsed == 0) {
        AppendText(p.winLine, sizeof p.winLine, used, " - without hints");
    } else {
        AppendText(p.winLine, sizeof p.winLine, used, " - with %u %s", p.aids.hintsUsed,
                   p.aids.hintsUsed == 1 ? "hint" : "hints");
    }
}

// A won game's time goes into the best times the menu shows before the message box
// shows; the writer keeps it in game.db with the game's row (the same rule).
ScreenRequest AnnounceWin(Program& p) {
    const std::uint64_t seconds = p.aids.PlaySeconds();
    // A game won with hints sets no best time; nor does a logic or pasted puzzle: the
    // best times stand for the classic levels.
    const bool newBest = p.aids.hintsUsed == 0 && p.aids.origin.kind == PuzzleKind::Classic &&
                         p.bestTimes.Record(p.board.difficulty, seconds);
    KeepWinLine(p, newBest);
    ShowMessageBox("You have won!", "Congratulation", false);  // plain OK box, no icon
    return OpenMenu(p, MainMenu);
}

class PlayingScreen : public Screen {
public:
    // The cursor, no focus, and enter; leave with no focus.
    void Show(bool show) override {
        Program& p = TheProgram();
        if (show) {
            p.Gui->SetCursor(p.CursorSprite.get());
            p.Gui->SetFocus(0);
            p.Gui->Enter();
        } else {
            p.Gui->Leave();
            p.Gui->SetFocus(0);
        }
    }

    // The menu or the win is shown once the frame's work is done: after the hand-over
    // of the files and the settings.
    ScreenRequest Update(const FrameInput& input) override {
        Program& p = TheProgram();
        ::PlayScreen screen{&p.board, &p.view, p.picker.get(), p.Gui.get(), &p.aids};
        ScreenRequest request;
        switch (HandlePlayFrame(*p.gk, screen, input)) {
            case PlayEvent::Escape:
                request = OpenMenu(p, GameMenu);
                break;
            case PlayEvent::NewGame:
                request = OpenMenu(p, DifficultyMenu);
                break;
            case PlayEvent::Won:
                request = AnnounceWin(p);
                break;
            case PlayEvent::None:
                break;
        }
        // The dead-end watch sees the board as this frame left it; a pending hint acts on its verdict.
        if (request.kind == ScreenRequest::Stay) {
            p.aids.deadEnd.Update(p.board);
            if (p.aids.settings.mistakeMarks)
                p.aids.mistakesMarked += p.aids.mistakes.Update(p.board, p.aids.origin.solutions == 1);
            ContinueHint(p.aids, p.board);
        }
        // Every change of the board or its notes goes to the writer by the end of its frame.
        if (p.aids.history.Revision() != p.savedRevision) SaveGameFiles();
        if (p.aids.settingsChanged) {
            p.aids.settingsChanged = false;
            ApplySettings();
        }
        return request;
    }

    void Draw() override { DrawPlayScreen(TheProgram()); }
    KeyScreen Keys() const override { return OnPlayScreen; }
};

}  // namespace

std::unique_ptr<Screen> MakePlayScreen() {
    return std::make_unique<PlayingScreen>();
}
