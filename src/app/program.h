// The program-wide objects of the running game, filled by start-up and freed by
// shutdown: the engine reference, the board, the loaded textures, sound and font,
// the shared sprites, the value picker, the GUI, the board view, the play aids
// (history, notes, clock, keyboard cell, settings), the best times, the writer
// thread of the saved files, the paste check, the print, the game state and the menus' choice
// variables. One instance (program.cpp), reached through TheProgram(), and the
// operations on it that every screen uses: the window mode, the board view, and the
// saved files handed to the writer.
// The frame lock lives apart (states.h): it is made before the program starts
// and outlives everything else.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/puzzles/print_puzzle.h"
#include "app/puzzles/puzzle_intake.h"
#include "app/puzzles/puzzle_maker.h"
#include "engine/gk.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "gfx/themes.h"
#include "gui/gui.h"
#include "platform/desktop_look.h"
#include "play/session/play_aids.h"
#include "play/view/board_view.h"
#include "play/view/value_picker.h"
#include "save/records/play_statistics.h"
#include "save/save_writer.h"
#include "save/scores.h"
#include "sudoku/board.h"

// The check under way of a puzzle brought in (Ctrl+V's, or the file named on the command
// line) and the main menu's line (app/copy_paste.h).
struct PasteSession {
    PuzzleIntakeCheck check;
    int startedIn = -1;        // the state Ctrl+V was pressed in, while the check runs
    std::string fileName;      // the file's name while its puzzle is checked; empty for a paste
    std::string menuMessage;   // the main menu's line; empty for none
    bool menuWarning = false;  // the line tells why a code was refused
};

// A theme's images as loaded textures; 0 where one is not loaded (the classic image is
// drawn in its place).
struct ThemeTextures {
    HTEXTURE background = 0, cursor = 0, plainFace = 0, hoveredFace = 0, button = 0;
    bool loaded = false;  // loaded (or tried) the first time the theme showed
};

enum GameStateValue {
    MainMenu = 0,
    Playing = 1,
    GameMenu = 2,
    Credits = 3,
    DifficultyMenu = 4,
};

// Members named in capitals are the design's named objects (menu font and sound,
// textures, sprites, Gui, GameState and the menu choices); the rest are the
// program's own.
struct Program {
    GK* gk = nullptr;  // the application's engine reference
    SudokuBoard board;

    HTEXTURE CursorTexture = 0;
    HEFFECT MenuSound = 0;
    std::unique_ptr<gkFont> MenuFont;
    std::unique_ptr<gkFont> notesFont;  // without its files the notes are not drawn
    HTEXTURE UnselectTexture = 0;
    HTEXTURE SelectTexture = 0;
    HTEXTURE CircleTexture = 0;
    HTEXTURE BackgroundTexture = 0;

    std::unique_ptr<gkSprite> BackgroundSprite;
    std::unique_ptr<gkSprite> CursorSprite;
    std::unique_ptr<gkSprite> UnselectSprite;
    std::unique_ptr<gkSprite> SelectSprite;
    std::unique_ptr<gkSprite> CircleSprite;
    std::unique_ptr<ValuePicker> picker;
    std::unique_ptr<gkGUI> Gui;
    Palette palette = ClassicPalette();  // the colours every screen is drawn in
    // The theme shown (app/theme_switch.h), the dark and high-contrast images by theme,
    // and the desktop's look as the portal reader last handed it over.
    Theme theme = Theme::Classic;
    ThemeTextures themeTextures[ThemeCount];
    DesktopLook desktopLook;
    std::unique_ptr<DesktopLookMailbox> desktopLooks = std::make_unique<DesktopLookMailbox>();
    std::unique_ptr<PortalLookReader> portalReader;  // while the frame loop runs
    BoardView view;  // the cell grid, the board backdrop and its origin
    PlayAids aids;   // what the play screen offers beyond mouse play, and the settings
    bool fullScreenShown = false;  // what the engine was last told
    // The game as this copy last read or handed it to the writer: the history's
    // revision, the play clock's seconds and the hints used.
    std::uint64_t savedRevision = 0;
    std::uint64_t savedPlaySeconds = 0;
    unsigned savedHints = 0;
    BestTimes bestTimes;             // shown in the main menu
    // What the last game won ("Hard, by logic, won in 23:41 - a new best"), said at the
    // main menu's foot in place of the best times until the next game starts; empty for none.
    char winLine[96] = {};
    bool statisticsOpen = false;              // the statistics screen over the main menu (S)
    std::vector<LevelStatistics> statistics;  // what it shows, copied from the writer when opened
    std::unique_ptr<SaveWriter> writer;  // while the game runs; without it files are written at once
    PasteSession paste;                  // Ctrl+V's check under way and the main menu's line
    LogicPuzzleMaker puzzleMaker;        // the logic puzzle a new game waits for
    PuzzlePrinter printer;               // P's print under way

    int GameState = MainMenu;
    int PreviousState = MainMenu;
    int MainMenuChoice = 0;
    int DifficultyChoice = 0;
    int GameMenuChoice = 0;

    std::function<bool()> frameHook;  // see RunOptions
    std::function<void()> sceneHook;  // see RunOptions
};

Program& TheProgram();
// Puts every program-wide object back to its state at program start (tests run
// the game more than once in one process).
void ResetProgram();

// Operations on the whole program: its window, its board view and its files.

// Tells the engine to switch between window and full screen when the setting
// differs from what it shows.
void ApplyFullScreen();
// Hands the settings to the writer thread for their file, then ApplyFullScreen.
void ApplySettings();

// Places the board view's cells over the game's board, font and cell sprites.
void BuildBoardView();

// The row of the game in progress among the games played: won once its board is full
// without a clash.
GameEntry GameEntryOf(const Program& p);
// Hands a snapshot of the game to the writer thread, which writes game.save, then the
// play record in game.db beside it (the notes, clock, hints and history of the board
// saved, and the game's row). Without a writer (outside a run) both are written at once.
void SaveGameFiles();
// Marks the game in progress as the one on disk (read at start-up, or just handed over).
void MarkGameSaved();
// True when this copy changed its game since it last read or wrote it. Another copy
// of the game may have saved its own moves meanwhile: a copy that only looked leaves
// them in place at its end.
bool GameChangedSinceSaved();
// Blocks until the writer has written everything handed over (shutdown, and tools
// and tests that read the files while the game runs).
void WaitForSavedFiles();
// Takes the writer's news: a failed write sets the play screen's "Not saved: <reason>"
// and logs one line; a later good write clears it. Called at the start of every frame.
void PickUpSaveProblem();
