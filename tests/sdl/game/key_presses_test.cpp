// A frame's keys on the real engine (dummy video driver), pushed as SDL events
// before that frame: a hundred note keys all count, in order; a Ctrl+Z chord
// pressed and released within the frame undoes; a '?' that only its text names
// opens the help.
#include <SDL.h>

#include <vector>

#include "app/program.h"
#include "app/screens/menus.h"
#include "app/startup.h"
#include "app/states.h"
#include "play/session/move.h"
#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"
#include "seeded_game.h"
#include "sudoku/generator.h"

TEST(GameKeys, EveryKeyOfAFrameCountsWithTheModifiersItWasPressedWith) {
    TempFolder saves;
    CreateFrameLock();
    int frames = 0;
    CellRef cell;
    CellNotes notes = 0;
    std::vector<std::size_t> steps;
    bool helpOpened = false;
    RunOptions options;
    options.saveDirectory = saves.Path() + "/";
    options.frameHook = [&] {
        TheProgram().gk->System_NextFrameWithin(0);  // a frame for each step of the script
        Program& p = TheProgram();
        if (++frames == 1) {
            if (!PlaySeededGame(20261208, Hard)) return true;
            PushKey(SDLK_RIGHT);  // the keyboard cell on the first free cell
            PushKey(SDLK_n);      // note mode
        } else if (frames == 3) {
            cell = p.aids.keyboard.Position();
            for (int i = 0; i < 100; ++i) {
                const char text[] = {static_cast<char>('1' + i % 9), '\0'};
                PushKey(SDLK_1 + i % 9, text);
            }
        } else if (frames == 5) {
            notes = p.aids.notes[cell.row][cell.column];
            steps.push_back(p.aids.history.UndoSteps());
            PushKeyChange(SDLK_LCTRL, true);
            PushKey(SDLK_z);
            PushKeyChange(SDLK_LCTRL, false);
        } else if (frames == 7) {
            steps.push_back(p.aids.history.UndoSteps());
            PushKey(SDLK_SLASH, "?");
        }
        helpOpened = p.aids.helpOpen;
        return frames == 9;
    };
    EXPECT_EQ(RunGame(options), 0);
    // Each of 2-9 was switched eleven times (on), 1 twelve times (off).
    EXPECT_EQ(notes, NoteBit(2) | NoteBit(3) | NoteBit(4) | NoteBit(5) | NoteBit(6) | NoteBit(7) | NoteBit(8) |
                         NoteBit(9));
    EXPECT_EQ(steps, (std::vector<std::size_t>{100, 99})) << "a step per note key, then the chord undid one";
    EXPECT_TRUE(helpOpened);
}
