// Notes on the real engine (dummy video driver, software renderer), made with SDL
// key events: M fills every free cell with its candidates, N shows note mode in the
// status line, and a typed value takes itself out of its peers' notes. The frame is
// kept as the README's screenshot (screenshot-notes.png in the build folder); its
// pixels show the notes' dark glyphs inside a free cell's light face.
#include <SDL.h>

#include "app/program.h"
#include "app/screens/menus.h"
#include "app/startup.h"
#include "app/states.h"
#include "platform/module_directory.h"
#include "play/session/move.h"
#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"
#include "seeded_game.h"
#include "sudoku/generator.h"

namespace {

// Dark pixels (notes glyphs) in the cell's inside.
int DarkPixels(const Cell& cell) {
    int dark = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 2; x < 28; ++x) {
            std::uint32_t argb = 0;
            gkSdlReadPixel(static_cast<int>(cell.x) + x, static_cast<int>(cell.y) + y, &argb);
            dark += ((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF) < 300;
        }
    return dark;
}

}  // namespace

TEST(GameScreenshots, NotesFilledByMInNoteMode) {
    TempFolder saves;
    CreateFrameLock();
    int frames = 0, darkInNotedCell = 0;
    bool shotSaved = false, noteMode = false;
    CellRef noted;
    RunOptions options;
    options.saveDirectory = saves.Path() + "/";
    options.frameHook = [&] {
        TheProgram().gk->System_NextFrameWithin(0);  // a frame for each step of the script
        Program& p = TheProgram();
        ++frames;
        if (frames == 1) {
            gkSdlSetFrameCapture(true);
            if (!PlaySeededGame(20261208, Hard)) return true;
        }
        if (frames == 3) PushKey(SDLK_m);
        if (frames == 5) PushKey(SDLK_n);
        if (frames == 7) PushKey(SDLK_RIGHT);  // the keyboard cell on the first free cell
        if (frames == 9) {
            noted = p.aids.keyboard.Position();
            int v = 1;
            while (v < 16 && !(p.aids.notes[noted.row][noted.column] & NoteBit(v))) ++v;
            PushKey(v <= 9 ? SDLK_0 + v : SDLK_a + (v - 10));  // note mode: switches the note off
        }
        if (frames == 12) {
            shotSaved = gkSdlSaveScreenshot((GetModuleDirectory() + "screenshot-notes.png").c_str());
            noteMode = p.aids.noteMode;
            for (int i = 0; i < 16 && !darkInNotedCell; ++i)
                for (int j = 0; j < 16 && !darkInNotedCell; ++j)
                    if (CanHoldNotes(p.board, i, j) && p.aids.notes[i][j] != 0)
                        darkInNotedCell = DarkPixels(p.view.cells[i][j]);
        }
        return frames >= 12;
    };
    EXPECT_EQ(RunGame(options), 0);
    EXPECT_TRUE(shotSaved);
    EXPECT_TRUE(noteMode);
    EXPECT_GT(darkInNotedCell, 10) << "the notes are drawn";
}
