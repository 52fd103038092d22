// The whole game on the real engine (dummy video driver, software renderer),
// driven by SDL events as a player's mouse and keyboard would: screenshots of the
// main menu, a new board, the picker open with a clashing value in red, and the
// three presses of one hint, saved in the build folder for review (the README shows
// copies from docs/), with a few pixels checked.
#include <SDL.h>

#include <functional>
#include <vector>

#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "platform/module_directory.h"
#include "play/hint/hint_marks.h"
#include "play/view/value_picker.h"
#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"
#include "sudoku/generator.h"
#include "sudoku/logic/logic.h"

namespace {

// The middle of a control of the current menu.
void TapControl(int id) {
    const gkGUIObject* control = TheProgram().Gui->GetControl(id);
    ASSERT_NE(control, nullptr) << "control " << id;
    PushTap((control->rect.x1 + control->rect.x2) / 2, (control->rect.y1 + control->rect.y2) / 2);
}

// A player's script: each step waits until its condition holds, then acts once.
struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

bool MenuSettled() {
    const Program& p = TheProgram();
    return p.Gui && p.Gui->GetEnterLeave() == 0;
}

float CellCentreX(int row) { return TheProgram().view.cells[row][0].x + 15; }
float CellCentreY(int column) { return TheProgram().view.cells[0][column].y + 15; }

std::string Shot(const char* name) { return GetModuleDirectory() + name; }

// Runs the game on the real engine until the script has run (or 600 frames have passed);
// returns the number of steps done.
std::size_t RunScript(std::vector<Step>& steps, const std::string& saveFolder,
                      const std::function<void()>& everyFrame = {}) {
    std::size_t next = 0;
    int frames = 0;
    RunOptions options;
    options.saveDirectory = saveFolder + "/";
    options.frameHook = [&] {
        TheProgram().gk->System_NextFrameWithin(0);  // a frame for each step of the script
        if (everyFrame) everyFrame();
        if (++frames > 600) return true;  // a stuck script ends the run
        if (next == steps.size()) return true;
        if (steps[next].ready()) steps[next++].act();
        return false;
    };
    EXPECT_EQ(RunGame(options), 0);
    return next;
}

// Writes the placements the logic engine finds, up to its first step that takes values out.
void PlayUpToAnElimination() {
    SudokuBoard& board = TheProgram().board;
    LogicGrid grid;
    grid.Load(board.values, board.boxSize);
    LogicStep step;
    while (FindNextStep(grid, step) == StepSearch::Found && step.IsPlacement()) {
        grid.Place(step.placeCell, step.placeValue);
        board.values[step.placeCell / 16][step.placeCell % 16] = step.placeValue;
    }
}

}  // namespace

// Taps that press and release within one frame choose menu items as clicks do.
TEST(GameOnTheSdlEngine, TappedMenuItemsAreChosen) {
    TempFolder saves;
    CreateFrameLock();
    int chosen = 0;
    std::vector<Step> steps = {
        {[] { return MenuSettled(); },
         [] {
             PushMouseEnter();
             TapControl(1);  // New Game
         }},
        {[] { return TheProgram().GameState == DifficultyMenu && MenuSettled(); }, [] { TapControl(Medium); }},
        {[] { return TheProgram().GameState == Playing; }, [&] { chosen = TheProgram().DifficultyChoice; }},
    };
    const std::size_t done = RunScript(steps, saves.Path());
    EXPECT_EQ(done, steps.size()) << "the script stopped at step " << done;
    EXPECT_EQ(chosen, Medium);
}

TEST(GameScreenshots, MainMenuNewBoardAndPickerWithAClash) {
    TempFolder saves;
    CreateFrameLock();

    int clashRow = -1, clashColumn = -1, clashValue = 0, pickRow = -1, pickColumn = -1;
    std::uint32_t clashPixelRed = 0, pickerCentre = 0, boardGrey = 0;
    bool shotsSaved = true;
    std::vector<Step> steps = {
        {[] { return MenuSettled(); },
         [&] {
             shotsSaved &= gkSdlSaveScreenshot(Shot("screenshot-main-menu.png").c_str());
             PushMouseEnter();
             PushKey(SDLK_RETURN);
         }},
        {[] { return TheProgram().GameState == DifficultyMenu && MenuSettled(); },
         [] {
             SeedRandom(20261208);
             PushKey(SDLK_DOWN);
         }},
        {[] { return TheProgram().Gui->GetFocused() && TheProgram().Gui->GetFocused()->id == Hard; },
         [] { PushKey(SDLK_RETURN); }},
        {[] { return TheProgram().GameState == Playing; },
         [&] {
             // A free cell and a value that clashes with a given of its row.
             const SudokuBoard& board = TheProgram().board;
             for (int i = 0; i < 16 && clashRow < 0; ++i)
                 for (int j = 0; j < 16 && clashRow < 0; ++j)
                     if (!board.IsGiven(i, j))
                         for (int v = 1; v <= 16; ++v)
                             if (!board.IsAllowed(i, j, v)) {
                                 clashRow = i, clashColumn = j, clashValue = v;
                                 break;
                             }
             PushMouse(CellCentreX(clashRow), CellCentreY(clashColumn), SDL_MOUSEBUTTONDOWN);
         }},
        {[] { return true; },
         [&] {
             shotsSaved &= gkSdlSaveScreenshot(Shot("screenshot-new-game.png").c_str());
             PushMouse(CellCentreX(clashRow), CellCentreY(clashColumn), SDL_MOUSEBUTTONUP);
         }},
        {[] { return TheProgram().picker->open; },
         [&] {
             float dx = 0, dy = 0;
             PickerItemOffset(clashValue, &dx, &dy);
             const ValuePicker& picker = *TheProgram().picker;
             PushMouse(picker.x + dx + 15, picker.y + dy + 15, SDL_MOUSEBUTTONDOWN);
         }},
        {[] { return true; },
         [&] {
             const ValuePicker& picker = *TheProgram().picker;
             PushMouse(picker.x + 15, picker.y + 15, SDL_MOUSEBUTTONUP);
         }},
        {[&] { return TheProgram().board.values[clashRow][clashColumn] == clashValue; },
         [&] {
             // Open the picker on a free cell near the middle of the board.
             const SudokuBoard& board = TheProgram().board;
             for (int i = 7; i < 16 && pickRow < 0; ++i)
                 for (int j = 6; j < 16 && pickRow < 0; ++j)
                     if (!board.IsGiven(i, j) && board.values[i][j] == 0) pickRow = i, pickColumn = j;
             PushMouse(CellCentreX(pickRow), CellCentreY(pickColumn), SDL_MOUSEBUTTONDOWN);
         }},
        {[] { return true; },
         [&] { PushMouse(CellCentreX(pickRow), CellCentreY(pickColumn), SDL_MOUSEBUTTONUP); }},
        {[] { return TheProgram().picker->open; },
         [&] {
             float dx = 0, dy = 0;
             PickerItemOffset(3, &dx, &dy);
             const ValuePicker& picker = *TheProgram().picker;
             PushMouse(picker.x + dx + 15, picker.y + dy + 15, 0);  // hover item 3
         }},
        {[] { return TheProgram().picker->hoverItem == 3; }, [] {}},
        {[] { return true; },
         [&] {
             shotsSaved &= gkSdlSaveScreenshot(Shot("screenshot-picker.png").c_str());
             const Cell& clash = TheProgram().view.cells[clashRow][clashColumn];
             // The reddest pixel of the clashing cell's value.
             for (int y = 3; y < 27; ++y)
                 for (int x = 3; x < 27; ++x) {
                     std::uint32_t argb = 0;
                     if (gkSdlReadPixel(static_cast<int>(clash.x) + x, static_cast<int>(clash.y) + y, &argb) &&
                         Red(argb) - Green(argb) > Red(clashPixelRed) - Green(clashPixelRed))
                         clashPixelRed = argb;
                 }
             const ValuePicker& picker = *TheProgram().picker;
             float dx = 0, dy = 0;
             PickerItemOffset(0, &dx, &dy);
             gkSdlReadPixel(static_cast<int>(picker.x + dx + 15), static_cast<int>(picker.y + dy + 15),
                            &pickerCentre);
             gkSdlReadPixel(156, 106, &boardGrey);
         }},
    };

    // The engine exists from the first frame.
    const std::size_t next = RunScript(steps, saves.Path(), [] { gkSdlSetFrameCapture(true); });
    ASSERT_EQ(next, steps.size()) << "the script stopped at step " << next;
    EXPECT_TRUE(shotsSaved);
    EXPECT_GT(Red(clashPixelRed), 150) << "the clashing value is drawn red";
    EXPECT_LT(Green(clashPixelRed), 100);
    EXPECT_GT(Red(pickerCentre), 150) << "the picker's item is drawn light";
    EXPECT_GT(Green(pickerCentre), 150);
    EXPECT_TRUE(Near(boardGrey, 0xFFAAAAAA, 8)) << "the board's grey border";
    EXPECT_TRUE(std::filesystem::exists(saves.File("game.save")));
}

// A Medium logic game played on by its placements up to the first step that takes
// values out, every free cell's candidates noted (M); then H names the step and tints
// its units, H outlines its cells and strikes what leaves, H takes those notes out.
TEST(GameScreenshots, TheThreePressesOfAHint) {
    TempFolder saves;
    CreateFrameLock();
    WriteFile(saves.File("game.settings"), "puzzles=logic\n");
    bool shotsSaved = true;
    std::uint32_t patternCorner = 0;
    // A stage reached in a frame is drawn in it; the next frame's hook saves that picture.
    const auto reached = [](LessonStage stage) {
        return [stage] { return TheProgram().aids.lesson.stage == stage && !TheProgram().aids.hint.active; };
    };
    const auto shotThenH = [&](const char* name) {
        return [&, name] {
            shotsSaved &= gkSdlSaveScreenshot((GetModuleDirectory() + name).c_str());
            PushKey(SDLK_h, "h");
        };
    };
    std::vector<Step> steps = {
        {[] { return MenuSettled(); }, [] { PushKey(SDLK_RETURN); }},
        {[] { return TheProgram().GameState == DifficultyMenu && MenuSettled(); },
         [] {
             SeedRandom(20261208);
             PushKey(SDLK_RETURN);  // Medium
         }},
        {[] { return TheProgram().GameState == Playing; },
         [] {
             PlayUpToAnElimination();
             PushKey(SDLK_m, "m");
         }},
        {[] { return TheProgram().aids.history.UndoSteps() == 1; }, [] { PushKey(SDLK_h, "h"); }},
        {reached(LessonStage::Named), shotThenH("hint-1.png")},
        {reached(LessonStage::Shown),
         [&] {
             const std::int32_t pattern = TheProgram().aids.lesson.reply.answer.step.cells.at(0);
             const Cell& at = TheProgram().view.cells[pattern / 16][pattern % 16];
             gkSdlReadPixel(static_cast<int>(at.x) + 1, static_cast<int>(at.y) + 1, &patternCorner);
             shotThenH("hint-2.png")();
         }},
        {reached(LessonStage::Done),
         [&] { shotsSaved &= gkSdlSaveScreenshot((GetModuleDirectory() + "hint-3.png").c_str()); }},
    };
    const std::size_t next = RunScript(steps, saves.Path(), [] { gkSdlSetFrameCapture(true); });
    ASSERT_EQ(next, steps.size()) << "the script stopped at step " << next;
    EXPECT_TRUE(shotsSaved);
    EXPECT_EQ(patternCorner & 0xFFFFFF, ClassicPalette().hintPattern & 0xFFFFFF)
        << "the pattern's cells are outlined";
    EXPECT_EQ(TheProgram().aids.history.UndoSteps(), 2u) << "the notes taken out as one step";
}
