// Shared pieces of the scenario tests: a temporary folder per test, the menu
// items' positions, and queries on what the game drew and holds.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/states.h"
#include "game/game_runner.h"
#include "gui/menu_item.h"
#include "support/recorder_fixture.h"
#include "support/test_files.h"

// The game's own folder for a test: empty at first, removed at the end.
class GameFolder {
public:
    // The folder with its trailing '/'.
    std::string path() const { return temp.Path() + "/"; }
    std::string file(const std::string& name) const { return temp.File(name); }
    bool Has(const std::string& name) const { return std::filesystem::exists(temp.File(name)); }

private:
    TempFolder temp;
};

std::string ReadFile(const std::string& path);

// The complete grid a game seeded with seed starts from: the generator fills the
// grid first and only then empties cells, so the same draws give the same grid.
Grid SolutionForSeed(std::uint32_t seed);

// A frame with one key (and its modifiers) and the pointer outside the window.
InputFrame KeyOnlyFrame(int key, bool control = false, bool shift = false);

// Menu item y positions (the item hangs from its y; click 10 pixels below it).
constexpr float MenuRow0 = 233, MenuRow1 = 273, MenuRow2 = 313, MenuRow3 = 353;

// The key of a letter, and the key that types value v (0 empties).
inline int LetterKey(char c) { return GKK_A + (c - 'A'); }
inline int ValueKey(int v) { return v <= 9 ? GKK_0 + v : LetterKey(static_cast<char>('A' + v - 10)); }

// A copy of the game's data files in a folder of its own, for tests that take one away or
// damage it; the recording engine reads data only from there while it lives.
class DataCopy {
public:
    DataCopy();
    void Remove(const std::string& name);
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;
    void Replace(const std::string& name, const std::string& bytes);

private:
    TempFolder temp;
};

// Runs the game against the recording engine; at the end every engine reference,
// texture, sound and resource block taken must have been given back.
class ScenarioTest : public RecorderTest {
protected:
    Program& program() { return TheProgram(); }
    gkGUI& gui() { return *TheProgram().Gui; }
    int FocusedId();
    bool IsEnabled(int id);

    // Frames until the GUI's enter or leave phase is over (or the game ends).
    bool SettleMenu(GameRunner& game);
    // Activates the focused item with Enter and waits through the leave animation.
    bool ChooseFocused(GameRunner& game);
    // Focuses id with the arrow keys (Down) and chooses it.
    bool Choose(GameRunner& game, int id);
    // From the main menu: "New Game", then the level; ends in play.
    bool StartNewGame(GameRunner& game, int level);
    // The same, with the generator seeded just before the level is chosen: a classic puzzle is
    // then the one SolutionForSeed(seed) completes.
    bool StartSeededGame(GameRunner& game, int level, std::uint32_t seed);

    int CountGivens();
    // Quads of the last frame drawn with this texture.
    std::vector<Quad> QuadsWithTexture(HTEXTURE texture);
    std::vector<Quad> GlyphQuads() { return QuadsWithTexture(program().MenuFont->Texture()); }
    // Glyph quads that begin inside the cell [row][column].
    std::vector<Quad> GlyphsInCell(int row, int column);

    GameFolder folder;
};
