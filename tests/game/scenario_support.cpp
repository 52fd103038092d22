#include "game/scenario_support.h"

#include "platform/module_directory.h"
#include "sudoku/generator.h"
#include "support/boards.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Grid SolutionForSeed(std::uint32_t seed) {
    SudokuBoard solved = EmptyBoard();
    SeedRandom(seed);
    GenerationStats stats;
    EXPECT_TRUE(SolveWithRestarts(solved, GenerationLimits{}, stats));
    return solved.values;
}

InputFrame KeyOnlyFrame(int key, bool control, bool shift) {
    InputFrame input;
    input.key = key;
    input.control = control;
    input.shift = shift;
    input.mouseOver = false;
    return input;
}

DataCopy::DataCopy() {
    const char* names[] = {"bgp.jpg",  "circle2.png", "cursor.png",   "font1.fnt",
                           "font1.png", "menu.wav",   "select.bmp", "unselect.bmp"};
    const std::string from = GetModuleDirectory();
    for (const char* name : names) std::filesystem::copy_file(from + name, temp.File(name));
    RecordingEngine::Instance().dataFolder = temp.Path() + "/";
}

DataCopy::~DataCopy() { RecordingEngine::Instance().dataFolder.clear(); }

void DataCopy::Remove(const std::string& name) { std::filesystem::remove(temp.File(name)); }

void DataCopy::Replace(const std::string& name, const std::string& bytes) { WriteTextFile(temp.File(name), bytes); }

int ScenarioTest::FocusedId() {
    gkGUIObject* focused = gui().GetFocused();
    return focused ? focused->id : 0;
}

bool ScenarioTest::IsEnabled(int id) {
    gkGUIObject* control = gui().GetControl(id);
    return control && control->enabled;
}

bool ScenarioTest::SettleMenu(GameRunner& game) {
    return game.FramesUntil([this] { return gui().GetEnterLeave() == 0; }, 120);
}

bool ScenarioTest::ChooseFocused(GameRunner& game) {
    const int state = program().GameState;
    if (!game.Key(GKK_ENTER)) return false;
    // Exit ends the game instead of changing the state.
    return game.FramesUntil([this, state] { return program().GameState != state; }, 120) || game.Ended();
}

bool ScenarioTest::Choose(GameRunner& game, int id) {
    if (!SettleMenu(game)) return false;
    for (int i = 0; i < 8 && FocusedId() != id; ++i) game.Key(GKK_DOWN);
    if (FocusedId() != id) return false;
    return ChooseFocused(game);
}

bool ScenarioTest::StartNewGame(GameRunner& game, int level) {
    if (!Choose(game, 1)) return false;
    if (program().GameState != DifficultyMenu) return false;
    if (!Choose(game, level)) return false;
    return program().GameState == Playing;
}

bool ScenarioTest::StartSeededGame(GameRunner& game, int level, std::uint32_t seed) {
    if (!Choose(game, 1) || program().GameState != DifficultyMenu || !SettleMenu(game)) return false;
    SeedRandom(seed);
    for (int i = 0; i < 8 && FocusedId() != level; ++i) game.Key(GKK_DOWN);
    if (FocusedId() != level || !game.Key(GKK_ENTER)) return false;
    // A puzzle made by logic comes from a worker: the menu waits for it.
    return game.FramesUntil([this] { return program().GameState == Playing; }, 20000);
}

int ScenarioTest::CountGivens() {
    int n = 0;
    for (const auto& row : program().board.givens)
        for (int v : row) n += v != 0;
    return n;
}

std::vector<Quad> ScenarioTest::QuadsWithTexture(HTEXTURE texture) {
    std::vector<Quad> found;
    for (const Quad& q : RecordingEngine::Instance().quads) {
        if (q.tex == texture) found.push_back(q);
    }
    return found;
}

std::vector<Quad> ScenarioTest::GlyphsInCell(int row, int column) {
    const Cell& cell = program().view.cells[row][column];
    std::vector<Quad> found;
    for (const Quad& q : GlyphQuads()) {
        if (q.v[0].x >= cell.x && q.v[0].x < cell.x + cell.width && q.v[0].y >= cell.y &&
            q.v[0].y < cell.y + cell.height) {
            found.push_back(q);
        }
    }
    return found;
}
