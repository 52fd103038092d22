// Every screen of the game, played through the real start-up and frame loop on the
// recording engine, drawn as its golden file says (game/golden_screen.h): the main
// menu, the difficulty menu, a new game, the picker with an item hovered, the in-game
// menu and the credits; and the play aids: the keyboard cell with the same-value
// tint over the open picker, the notes and the status line in note mode, and the
// dead-end warning under the status line. Menus are captured once their animations have settled; the
// new game's board comes from a fixed seed. A new screen is one more step and one
// more ExpectScreen; VELTRANE_REGENERATE_GOLDEN=1 writes its file. Below, a board drawn
// by hand shows that a changed value or colour is one changed character of the description
// and that a glyph off its place in the cell is listed as a quad.
#include "game/golden_screen.h"

#include <chrono>
#include <thread>

#include "app/states.h"
#include "game/scenario_support.h"
#include "play/view/status_line.h"
#include "sudoku/completion.h"
#include "sudoku/generator.h"
#include "support/recorder_fixture.h"
#include "support/test_files.h"

namespace {

constexpr int NewGameId = 1;
constexpr int GameCreditsId = 3;
constexpr std::uint32_t BoardSeed = 2024;

class GoldenScreenTest : public ScenarioTest {
protected:
    // The frame drawn last matches tests/golden/<name>.txt.
    void ExpectScreen(const std::string& name) {
        EXPECT_TRUE(MatchesGoldenFile(name, DescribeScene(engine, {program().MenuFont.get(), program().notesFont.get()})))
            << "while " << step;
    }

    // The centre of a free cell near the middle of the board, so that the picker's ring
    // lies wholly on the screen.
    bool FreeCellNearTheMiddle(float* x, float* y) {
        for (int row = 6; row < 10; ++row) {
            for (int column = 6; column < 10; ++column) {
                if (program().board.IsGiven(row, column)) continue;
                const Cell& cell = program().view.cells[row][column];
                *x = cell.x + cell.width / 2;
                *y = cell.y + cell.height / 2;
                return true;
            }
        }
        return false;
    }

    // The first empty cell (row by row) and the lowest value its peers allow there
    // whose writing leaves the grid with no completion.
    bool DeadEndMove(CellRef* cell, int* value) {
        const SudokuBoard& board = program().board;
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 16; ++column)
                for (int v = 1; v <= 16 && board.values[row][column] == 0; ++v) {
                    if (!board.IsAllowed(row, column, v)) continue;
                    Grid tried = board.values;
                    tried[row][column] = v;
                    if (CheckCompletion(tried, board.boxSize).verdict != Completion::DeadEnd) continue;
                    *cell = {row, column};
                    *value = v;
                    return true;
                }
        return false;
    }

    bool HoldsValue(CellRef cell) { return program().board.values[cell.row][cell.column] != 0; }

    std::string step;
};

}  // namespace

TEST_F(GoldenScreenTest, EveryScreenDrawsAsItsGoldenFile) {
    GameRunner game(folder.path());
    step = "the main menu";
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("main_menu");

    step = "the difficulty menu";
    ASSERT_TRUE(Choose(game, NewGameId));
    ASSERT_EQ(program().GameState, DifficultyMenu);
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("difficulty_menu");

    step = "a new game";
    SeedRandom(BoardSeed);
    ASSERT_TRUE(Choose(game, Easy));
    ASSERT_EQ(program().GameState, Playing);
    ASSERT_TRUE(game.Frame());
    ExpectScreen("new_game");

    step = "the picker with an item hovered";
    float cellX = 0, cellY = 0;
    ASSERT_TRUE(FreeCellNearTheMiddle(&cellX, &cellY));
    ASSERT_TRUE(game.Click(cellX, cellY));
    ASSERT_TRUE(program().picker->open);
    float dx = 0, dy = 0;
    PickerItemOffset(5, &dx, &dy);
    InputFrame hover;
    hover.mouseX = program().picker->x + dx + 8;
    hover.mouseY = program().picker->y + dy + 8;
    ASSERT_TRUE(game.Frames(2, hover));
    ASSERT_EQ(program().picker->hoverItem, 5);
    ExpectScreen("picker_hovered");

    step = "the keyboard cell on a value, its same-value tint and the open picker";
    InputFrame tintSwitch = hover;
    tintSwitch.key = GKK_A + ('V' - 'A');
    ASSERT_TRUE(game.Frames(1, tintSwitch));
    InputFrame arrow = hover;
    arrow.key = GKK_DOWN;
    const KeyboardCell& keyboard = program().aids.keyboard;
    for (int i = 0; i < 16 && !(keyboard.Shown() && HoldsValue(keyboard.Position())); ++i)
        ASSERT_TRUE(game.Frames(1, arrow));
    ASSERT_TRUE(keyboard.Shown() && HoldsValue(keyboard.Position()));
    ASSERT_TRUE(program().picker->open);
    ExpectScreen("keyboard_tint_picker");

    step = "every free cell's candidates as notes, note mode in the status line";
    ASSERT_TRUE(game.RightClick(cellX, cellY));  // closes the picker
    ASSERT_TRUE(game.Key(GKK_A + ('N' - 'A')));
    ASSERT_TRUE(game.Key(GKK_A + ('M' - 'A')));
    ASSERT_TRUE(program().aids.noteMode);
    ExpectScreen("notes_status");

    step = "a clash-free value that leaves no way to finish: the dead-end warning";
    ASSERT_TRUE(game.Key(GKK_A + ('N' - 'A')));
    ASSERT_FALSE(program().aids.noteMode);
    CellRef wrong;
    int wrongValue = 0;
    ASSERT_TRUE(DeadEndMove(&wrong, &wrongValue));
    const Cell& wrongCell = program().view.cells[wrong.row][wrong.column];
    ASSERT_TRUE(game.Key(wrongValue <= 9 ? GKK_0 + wrongValue : GKK_A + wrongValue - 10, wrongCell.x + 15,
                         wrongCell.y + 15));
    // The verdict comes from the watch's worker thread: frames a millisecond apart until it is in.
    for (int i = 0; i < 5000 && !program().aids.deadEnd.ResultFor(program().board); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(game.Frame());
    }
    ASSERT_TRUE(game.Frame());
    ASSERT_STREQ(StatusMessageText(program().board, program().aids), DeadEndText);
    ExpectScreen("dead_end");
    ASSERT_TRUE(game.Key(GKK_A + ('X' - 'A')));
    EXPECT_STREQ(StatusMessageText(program().board, program().aids), DeadEndText)
        << "a switch's word gives way";

    step = "the in-game menu";
    ASSERT_TRUE(game.Key(GKK_ESCAPE));
    ASSERT_EQ(program().GameState, GameMenu);
    ASSERT_TRUE(SettleMenu(game));
    ExpectScreen("game_menu");

    step = "the credits";
    ASSERT_TRUE(Choose(game, GameCreditsId));
    ASSERT_EQ(program().GameState, Credits);
    ASSERT_TRUE(game.Frame());
    ExpectScreen("credits");
}

namespace {

// A board drawn by hand: untextured faces and three values of a small font, one of them
// changed as a case asks; DescribeScene must tell each change.
class BoardDescriptionTest : public RecorderTest {
protected:
    BoardDescriptionTest() {
        WriteImage(folder.File("glyphs.png"), 256, 16);
        std::string description = "[GKFONT]\nBitmap = glyphs.png\n";
        for (const char c : std::string("123456789ABCDEFG"))
            description +=
                "Char=\"" + std::string(1, c) + "\"," + std::to_string((c % 32) * 8) + ",0,7,10,1,0\n";
        WriteTextFile(folder.File("cells.fnt"), description);
        font = std::make_unique<gkFont>(folder.File("cells.fnt").c_str());
    }

    struct Value {
        int across, down;
        char character;
        std::uint32_t colour;
        float shift = 0;  // moves the glyph right in its cell
    };

    static float Corner(float first, int index) { return first + 30.0f * index + 2.0f * (index / 4); }

    std::string Describe(const Value& changed) {
        engine.Gfx_BeginScene(0);
        gkSprite face(0, 0, 0, 30, 30);
        const Value values[] = {
            {0, 0, '1', 0xFF0000DD}, {9, 2, 'C', 0xFFEE0000}, {12, 12, '5', 0xFF000000}, changed};
        for (int across = 0; across < 16; ++across) {
            for (int down = 0; down < 16; ++down) {
                face.Render(Corner(157, across), Corner(107, down));
                for (const Value& v : values) {
                    if (v.across != across || v.down != down) continue;
                    const char text[2] = {v.character, '\0'};
                    font->SetColor(v.colour);
                    font->Render(Corner(157, across) + 7 + v.shift, Corner(107, down) + 3, AlignLeft, text);
                }
            }
        }
        return DescribeScene(engine, {font.get()});
    }

    TempFolder folder;
    std::unique_ptr<gkFont> font;
};

// The characters two texts of one length differ in; -1 when their lengths differ.
int DifferingCharacters(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

}  // namespace

TEST_F(BoardDescriptionTest, EachChangeOfACellShows) {
    const Value base{5, 7, 'A', 0xFF000000};
    const std::string before = Describe(base);
    ASSERT_NE(before.find("\ncells 0,0 face .. 15,15 face (260 quads)\n"), std::string::npos) << before;
    struct Case {
        const char* change;
        Value value;
        int differing;  // characters; -1 for a description of another length
        bool listedAsText;
    };
    const Case cases[] = {
        {"another value", {5, 7, 'B', 0xFF000000}, 1, false},
        {"another colour", {5, 7, 'A', 0xFFEE0000}, 1, false},
        {"the glyph a pixel to the right", {5, 7, 'A', 0xFF000000, 1}, -1, true},
        {"the glyph half a pixel to the right", {5, 7, 'A', 0xFF000000, 0.5f}, -1, true},
    };
    for (const Case& c : cases) {
        const std::string after = Describe(c.value);
        EXPECT_EQ(DifferingCharacters(before, after), c.differing) << c.change << ":\n" << after;
        EXPECT_EQ(after.find("\ntext ") != std::string::npos, c.listedAsText) << c.change << ":\n" << after;
    }
}
