#include "app/startup.h"

#include <cmath>
#include <ctime>

#include "app/puzzles/copy_paste.h"
#include "app/screens/menus.h"
#include "app/program.h"
#include "app/states.h"
#include "app/theme_switch.h"
#include "platform/message_box.h"
#include "platform/module_directory.h"
#include "platform/save_location.h"
#include "play/view/status_line.h"
#include "sudoku/generator.h"
#include "save/game_state.h"
#include "save/save.h"
#include "save/state_reconcile.h"

#include <utility>

namespace {

// A temporary file nobody has written to for this long is no write under way.
constexpr std::time_t kStaleTemporarySeconds = 60;

void ConfigureEngine(GK& gk, const std::string& logFile) {
    gk.System_SetState(GK_LOGFILE, logFile.c_str());
    gk.System_SetState(GK_FRAMEFUNC, FrameFunc);
    gk.System_SetState(GK_RENDERFUNC, RenderFunc);
    gk.System_SetState(GK_TITLE, WindowTitle);
    gk.System_SetState(GK_ICON, GK_ICON_RESOURCE);
    gk.System_SetState(GK_WINDOWED, true);
    gk.System_SetState(GK_SCREENWIDTH, 800);
    gk.System_SetState(GK_SCREENHEIGHT, 700);
    gk.System_SetState(GK_SCREENBPP, 32);
    gk.System_SetState(GK_DISPLAYLOSTFUNC, DisplayLostFunc);
}

// Loads the data files; false when one the game cannot run without is missing.
// The font is not among those: a missing font gives a game without text.
bool LoadResources(Program& p) {
    GK& gk = *p.gk;
    p.CursorTexture = gk.Texture_Load("cursor.png", 0, false);
    p.MenuSound = gk.Effect_Load("menu.wav", 0);
    p.MenuFont = std::make_unique<gkFont>("font1.fnt");
    p.notesFont = std::make_unique<gkFont>("font2.fnt");
    p.UnselectTexture = gk.Texture_Load("unselect.bmp", 0, false);
    p.SelectTexture = gk.Texture_Load("select.bmp", 0, false);
    p.CircleTexture = gk.Texture_Load("circle2.png", 0, false);
    p.BackgroundTexture = gk.Texture_Load("bgp.jpg", 0, false);
    LoadThemeImages(p);
    return p.CircleTexture && p.BackgroundTexture && p.CursorTexture && p.MenuSound && p.UnselectTexture &&
           p.SelectTexture;
}

void MakeSprites(Program& p) {
    p.BackgroundSprite = std::make_unique<gkSprite>(p.BackgroundTexture, 0.0f, 0.0f, 800.0f, 700.0f);
    p.CursorSprite = std::make_unique<gkSprite>(p.CursorTexture, 0.0f, 0.0f, 32.0f, 32.0f);
    p.UnselectSprite = std::make_unique<gkSprite>(p.UnselectTexture, 0.0f, 0.0f, 30.0f, 30.0f);
    p.SelectSprite = std::make_unique<gkSprite>(p.SelectTexture, 0.0f, 0.0f, 30.0f, 30.0f);
    p.CircleSprite = std::make_unique<gkSprite>(p.CircleTexture, 0.0f, 0.0f, 30.0f, 30.0f);
}

void MakeValuePicker(Program& p) {
    p.picker = std::make_unique<ValuePicker>();
    p.picker->open = false;
    p.picker->itemSprite = p.CircleSprite.get();
    p.picker->font = p.MenuFont.get();
    p.picker->board = &p.board;
}

void FreeTexture(GK& gk, HTEXTURE& texture) {
    if (texture) gk.Texture_Free(texture);
    texture = 0;
}

// Frees everything start-up made, in a fixed order: picker, GUI (with its
// controls), font, sprites, textures and sound, board backdrop.
void FreeResources(Program& p) {
    GK& gk = *p.gk;
    p.picker.reset();
    p.Gui.reset();
    p.MenuFont.reset();
    p.notesFont.reset();
    p.CursorSprite.reset();
    p.UnselectSprite.reset();
    p.SelectSprite.reset();
    p.CircleSprite.reset();
    p.BackgroundSprite.reset();
    FreeTexture(gk, p.BackgroundTexture);
    if (p.MenuSound) gk.Effect_Free(p.MenuSound);
    p.MenuSound = 0;
    FreeTexture(gk, p.CursorTexture);
    FreeTexture(gk, p.UnselectTexture);
    FreeTexture(gk, p.SelectTexture);
    FreeTexture(gk, p.CircleTexture);
    FreeThemeImages(p);
    p.view.BoardBackdrop.reset();
}

// Reads the saved game from folder; the board keeps its own folder for the save.
// Its notes, clock, hints and history come from the game.state beside it, as far
// as they fit this board; otherwise the game goes on without them.
void LoadSavedGame(Program& p, const std::string& folder) {
    const std::string saveDirectory = p.board.directory;
    p.board.directory = folder;
    p.board.Load(SaveFileName);
    p.board.directory = saveDirectory;
    p.board.difficulty = LevelOfGivens(p.board, p.board.difficulty);
    PlayRecord record;
    if (LoadPlayRecordFor(folder + GameStateFileName, p.board, record)) p.aids.Restore(std::move(record));
    // A logic puzzle's givens do not tell its level: game.state keeps it.
    if (p.aids.origin.kind == PuzzleKind::Logic && IsLevel(p.aids.origin.level))
        p.board.difficulty = p.aids.origin.level;
    MarkGameSaved();
}

void RunFrameLoop(Program& p, const std::string& loadDirectory, const RunOptions& options) {
    MakeSprites(p);
    MakeValuePicker(p);
    LoadSavedGame(p, loadDirectory);
    // A game found in the program's folder moves to the save folder at once.
    if (loadDirectory != p.board.directory && p.board.size > 0) SaveGameFiles();
    p.Gui = std::make_unique<gkGUI>();
    p.GameState = MainMenu;
    ShowStateScreen(MainMenu, true);
    p.view.cells = CellGrid{};
    p.Gui->Enter();
    if (!options.startPuzzleName.empty())
        StartPuzzleFileCheck(p, options.startPuzzleText, options.startPuzzleName);
    ApplyFullScreen();
    // A chosen theme shows from the first frame; the desktop's, once its answer is in.
    if (p.aids.settings.theme != ThemeChoice::Desktop) ShowTheme(p, ThemeToShow(p.aids.settings.theme, {}));
    StartFollowingDesktop(p);
    p.gk->System_Start();
    StopFollowingDesktop(p);
}

// Removes the temporaries of the game's own files that an interrupted write left.
void RemoveLeftTemporaries(const std::string& folder) {
    RemoveStaleTemporaries(folder, {SaveFileName, GameStateFileName, SettingsFileName, BestTimesFileName},
                           std::time(nullptr) - kStaleTemporarySeconds);
}

// Lets the writer write the last snapshot, logs a failure still standing, ends the thread.
void FinishSaving(Program& p) {
    p.writer->WaitUntilWritten();
    PickUpSaveProblem();
    p.writer.reset();
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool SetStartPuzzleFile(RunOptions& options, const std::string& path, std::string& error) {
    std::string text;
    if (!PrecheckPuzzleFile(path, text, error)) return false;
    options.startPuzzleText = std::move(text);
    options.startPuzzleName = BaseName(path).empty() ? path : BaseName(path);
    return true;
}

int RunGame(const RunOptions& options) {
    ResetProgram();
    Program& p = TheProgram();
    p.gk = gkCreate(GK_VERSION);
    if (!p.gk) return 0;
    const std::string moduleDirectory = options.saveDirectory.empty() ? GetModuleDirectory() : std::string();
    const std::string directory = options.saveDirectory.empty()
                                      ? ChooseSaveDirectory(moduleDirectory, AppDataName, "bgp.jpg")
                                      : options.saveDirectory;
    // A game saved in the program's folder before it became read-only is still found.
    const std::string loadDirectory = options.saveDirectory.empty()
                                          ? ChooseLoadDirectory(directory, moduleDirectory, SaveFileName)
                                          : directory;
    ConfigureEngine(*p.gk, directory + LogFileName);
    RemoveLeftTemporaries(directory);
    p.writer = std::make_unique<SaveWriter>(options.fileWrite ? options.fileWrite : WriteFileAtomically);
    p.board.directory = directory;
    p.aids.settings = LoadSettings(directory + SettingsFileName);
    p.bestTimes = LoadBestTimes(directory + BestTimesFileName);
    p.frameHook = options.frameHook;
    p.sceneHook = options.sceneHook;
    p.aids.deadEnd.SetAnswerCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.paste.check.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.aids.lesson.worker.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.puzzleMaker.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.writer->SetProblemCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    if (p.gk->System_Initiate()) {
        p.view.BoardBackdrop.reset();
        if (LoadResources(p)) {
            RunFrameLoop(p, loadDirectory, options);
            p.aids.deadEnd.Stop();  // no worker thread outlives the game
            p.paste.check.Stop();
            p.aids.lesson.worker.Stop();
            p.puzzleMaker.Stop();
            FreeResources(p);
            if (GameChangedSinceSaved()) SaveGameFiles();
        } else {
            ShowMessageBox(ResourceErrorText, "Error", true);
            FreeResources(p);
        }
    }
    FinishSaving(p);
    p.gk->System_Shutdown();
    p.gk->Release();
    p.gk = nullptr;
    return 0;
}
