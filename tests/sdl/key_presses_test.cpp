// One frame's keys on the real engine (dummy video driver), pushed as SDL events
// before that frame: the engine keeps each press in order with its modifiers and
// text; in the game a hundred note keys all count, a Ctrl+Z chord pressed and
// released within the frame undoes, and a '?' typed through text input opens the help.
#include <SDL.h>

#include <iterator>
#include <vector>

#include "app/menus.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine/sdl/input_state.h"
#include "engine_test_fixture.h"
#include "play/notes.h"
#include "pushed_events.h"
#include "sudoku/generator.h"

TEST(GameKeys, EveryKeyOfAFrameCountsWithTheModifiersItWasPressedWith) {
    TempFolder saves;
    CreateFrameLock();
    int frames = 0;
    CellRef cell;
    CellNotes notesAfterBurst = 0;
    std::size_t stepsAfterBurst = 0, stepsAfterChord = 0;
    bool helpOpened = false;
    RunOptions options;
    options.saveDirectory = saves.path.string() + "/";
    options.frameHook = [&] {
        Program& p = TheProgram();
        ++frames;
        if (frames == 1) {
            SeedRandom(20261208);
            if (!p.board.NewGame(Hard)) return true;
            BuildBoardView();
            p.Aids.ResetForGame();
            ShowMainMenu(false);
            GoToState(Playing);
            PushKey(SDLK_RIGHT);  // the keyboard cell on the first free cell
            PushKey(SDLK_n);      // note mode
        }
        if (frames == 3) {
            cell = p.Aids.keyboard.Position();
            static const char* const texts[] = {"1", "2", "3", "4", "5", "6", "7", "8",
                                                "9", "a", "b", "c", "d", "e", "f", "g"};
            for (int i = 0; i < 100; ++i) {
                const int v = 1 + i % 16;
                PushTypedKey(v <= 9 ? SDLK_0 + v : SDLK_a + (v - 10), texts[v - 1]);
            }
        }
        if (frames == 5) {
            notesAfterBurst = p.Aids.notes[cell.row][cell.column];
            stepsAfterBurst = p.Aids.history.UndoSteps();
            PushChord(SDLK_LCTRL, SDLK_z);
        }
        if (frames == 7) {
            stepsAfterChord = p.Aids.history.UndoSteps();
            PushKeyChange(SDLK_LSHIFT, true);
            PushTypedKey(SDLK_SLASH, "?");
            PushKeyChange(SDLK_LSHIFT, false);
        }
        if (frames == 9) helpOpened = p.Aids.helpOpen;
        return frames >= 9;
    };
    EXPECT_EQ(RunGame(options), 0);
    EXPECT_EQ(stepsAfterBurst, 100u) << "every note key is a step";
    // 1-4 switched seven times (on), 5-16 six times (off).
    EXPECT_EQ(notesAfterBurst, NoteBit(1) | NoteBit(2) | NoteBit(3) | NoteBit(4));
    EXPECT_EQ(stepsAfterChord, 99u) << "the chord undid one step";
    EXPECT_TRUE(helpOpened);
}

// Text without a key press (an input method's) is a press of its own.
TEST_F(EngineTest, AFramesKeyPressesKeepTheirOrderModifiersAndText) {
    SDL_StartTextInput();
    PushChord(SDLK_LCTRL, SDLK_z);
    PushKeyChange(SDLK_LSHIFT, true);
    PushTypedKey(SDLK_SLASH, "?");  // no key code: a press by its text
    PushKeyChange(SDLK_LSHIFT, false);
    PushTypedKey(SDLK_5, "5");
    PushText("\xC3\xA9");
    PushKey(SDLK_F13);  // no code, no text: no press
    PushChord(SDLK_RALT, SDLK_RETURN);
    InputState input;
    input.BeginFrame();
    for (SDL_Event event; SDL_PollEvent(&event);) input.Handle(event);
    struct Expected {
        int key, character;
        bool shift, control, alt;
    };
    const Expected expected[] = {{GKK_A + 25, 0, false, true, false}, {0, '?', true, false, false},
                                 {GKK_0 + 5, '5', false, false, false}, {0, 0xE9, false, false, false},
                                 {GKK_ENTER, 13, false, false, true}};
    ASSERT_EQ(input.Presses().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const gkKeyPress& press = input.Presses()[i];
        EXPECT_EQ(press.key, expected[i].key) << i;
        EXPECT_EQ(press.character, expected[i].character) << i;
        EXPECT_EQ(std::vector<bool>({press.shift, press.control, press.alt}),
                  std::vector<bool>({expected[i].shift, expected[i].control, expected[i].alt}))
            << i;
    }
    EXPECT_FALSE(input.Held(GKK_CONTROL)) << "at frame time the chords are over";
    EXPECT_EQ(input.Key(), GKK_ENTER);
}
