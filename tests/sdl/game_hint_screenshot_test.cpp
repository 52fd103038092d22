// The three presses of one hint on the real engine (dummy video driver, software
// renderer), saved in the build folder as hint-1.png, hint-2.png and hint-3.png (the
// README shows copies from docs/): a Medium logic game, played on by its placements
// up to the first step that takes values out, with every free cell's candidates noted
// (M); then H names the step and tints its units, H outlines its cells and strikes
// what leaves, H takes those notes out. A few pixels are checked.
#include <SDL.h>

#include <functional>
#include <vector>

#include "app/logic_games.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/states.h"
#include "engine_test_fixture.h"
#include "platform/module_directory.h"
#include "play/hint_marks.h"
#include "pushed_events.h"
#include "sudoku/generator.h"
#include "sudoku/logic.h"

namespace {

struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

bool MenuSettled() { return TheProgram().Gui && TheProgram().Gui->GetEnterLeave() == 0; }

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

// The colour of the pixel just inside a cell's top-left corner.
std::uint32_t CornerPixel(int cell) {
    const Cell& c = TheProgram().View.cells[cell / 16][cell % 16];
    std::uint32_t argb = 0;
    gkSdlReadPixel(static_cast<int>(c.x) + 1, static_cast<int>(c.y) + 1, &argb);
    return argb;
}

}  // namespace

TEST(GameScreenshots, TheThreePressesOfAHint) {
    TempFolder saves;
    CreateFrameLock();
    WriteFile(saves.File("game.settings"), "puzzles=logic\n");
    bool shotsSaved = true;
    int frame = 0, shownAt = 0;
    std::uint32_t patternCorner = 0;
    const auto pressH = [&] {
        PushKey(SDLK_h, "h");
        shownAt = 0;
    };
    // The hint's stage is reached and drawn in a frame since.
    const auto drawn = [&](LessonStage stage) {
        if (TheProgram().Aids.lesson.stage != stage || TheProgram().Aids.hint.active) return false;
        if (shownAt == 0) shownAt = frame;
        return frame > shownAt + 1;
    };
    const auto shot = [&](const char* name) { shotsSaved &= gkSdlSaveScreenshot((GetModuleDirectory() + name).c_str()); };
    std::vector<Step> steps = {
        {[] { return MenuSettled(); }, [] { PushKey(SDLK_RETURN); }},
        {[] { return TheProgram().GameState == DifficultyMenu && MenuSettled(); },
         [] {
             SeedRandom(20261208);
             PushKey(SDLK_RETURN);  // Medium
         }},
        {[] { return TheProgram().GameState == Playing; },
         [&] {
             PlayUpToAnElimination();
             PushKey(SDLK_m, "m");
         }},
        {[] { return TheProgram().Aids.history.UndoSteps() == 1; }, pressH},
        {[&] { return drawn(LessonStage::Named); },
         [&] {
             shot("hint-1.png");
             pressH();
         }},
        {[&] { return drawn(LessonStage::Shown); },
         [&] {
             shot("hint-2.png");
             patternCorner = CornerPixel(TheProgram().Aids.lesson.reply.answer.step.cells.at(0));
             pressH();
         }},
        {[&] { return drawn(LessonStage::Done); }, [&] { shot("hint-3.png"); }},
    };
    RunOptions options;
    options.saveDirectory = saves.path.string() + "/";
    std::size_t next = 0;
    options.frameHook = [&] {
        gkSdlSetFrameCapture(true);
        if (++frame > 2000 || next == steps.size()) return true;
        if (steps[next].ready()) steps[next++].act();
        return false;
    };
    EXPECT_EQ(RunGame(options), 0);
    ASSERT_EQ(next, steps.size()) << "the script stopped at step " << next;
    EXPECT_TRUE(shotsSaved);
    EXPECT_EQ(patternCorner & 0xFFFFFF, HintPatternColor & 0xFFFFFF) << "the pattern's cells are outlined";
    EXPECT_EQ(TheProgram().Aids.history.UndoSteps(), 2u) << "the notes taken out as one step";
}
