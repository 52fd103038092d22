#include "app/startup.h"

#include <unistd.h>

#include <cmath>
#include <ctime>
#include <utility>

#include "app/frame_guard.h"
#include "app/program.h"
#include "app/puzzles/copy_paste.h"
#include "app/screens/menus.h"
#include "app/states.h"
#include "app/theme_switch.h"
#include "platform/message_box.h"
#include "platform/module_directory.h"
#include "platform/save_location.h"
#include "play/view/status_line.h"
#include "save/game_state.h"
#include "save/records/play_database.h"
#include "save/records/play_statistics.h"
#include "save/save.h"
#include "save/state_reconcile.h"
#include "sudoku/generator.h"

namespace {

// A temporary file nobody has written to for this long is no write under way.
constexpr std::time_t kStaleTemporarySeconds = 60;

// The play record as game.db kept it, before it is fitted to the saved board.
struct StoredRecord {
    bool found = false;
    PlayRecord record;
    std::uint64_t fingerprint = 0;
};

// Reads the earlier versions' game.state (from the folder the saved game is read from)
// and best-times into a database that has not had them yet; the files stay as they are.
void TakeOverEarlierFiles(PlayDatabase& database, const std::string& directory,
                          const std::string& loadDirectory) {
    if (database.TookOverEarlierFiles()) return;
    PlayRecord record;
    std::uint64_t fingerprint = 0;
    const bool found = LoadPlayRecordOfAnyGame(loadDirectory + GameStateFileName, record, fingerprint);
    database.TakeOver(found ? &record : nullptr, fingerprint, LoadBestTimes(directory + BestTimesFileName));
}

// Opens game.db in the save folder, reads the record, the best times and the statistics,
// and hands the database to the writer. One that cannot be used is left as it is: the
// game goes on from game.save, the main menu says why, and no record is saved.
StoredRecord OpenPlayRecord(Program& p, const std::string& directory, const std::string& loadDirectory) {
    StoredRecord stored;
    auto database = std::make_unique<PlayDatabase>();
    const DatabaseFault fault = database->Open(directory + PlayDatabaseFileName);
    if (fault != DatabaseFault::Opened) {
        const std::string reason = DatabaseFaultText(fault);
        p.paste.menuMessage = "Play record not read: " + reason + "; playing on from game.save";
        p.paste.menuWarning = true;
        p.gk->System_Log("%s", p.paste.menuMessage.c_str());
        p.writer->UseDatabase(nullptr, reason, ComputeStatistics({}, p.bestTimes));
        return stored;
    }
    TakeOverEarlierFiles(*database, directory, loadDirectory);
    stored.found = database->LoadRecord(stored.record, stored.fingerprint);
    p.bestTimes = database->LoadBestTimes();
    std::vector<LevelStatistics> statistics = ComputeStatistics(database->LoadGames(), p.bestTimes);
    p.writer->UseDatabase(std::move(database), {}, std::move(statistics));
    return stored;
}

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
// Its notes, clock, hints and history come from the play record, as far as they fit
// this board; otherwise the game goes on without them.
void LoadSavedGame(Program& p, const std::string& folder, StoredRecord stored) {
    const std::string saveDirectory = p.board.directory;
    p.board.directory = folder;
    p.board.Load(SaveFileName);
    p.board.directory = saveDirectory;
    p.board.difficulty = LevelOfGivens(p.board, p.board.difficulty);
    if (stored.found && FitGameState(stored.record, stored.fingerprint, p.board) != StateFit::Foreign)
        p.aids.Restore(std::move(stored.record));
    // A logic puzzle's givens do not tell its level: game.state keeps it.
    if (p.aids.origin.kind == PuzzleKind::Logic && IsLevel(p.aids.origin.level))
        p.board.difficulty = p.aids.origin.level;
    MarkGameSaved();
}

void RunFrameLoop(Program& p, const std::string& loadDirectory, const RunOptions& options,
                  StoredRecord stored) {
    MakeSprites(p);
    MakeValuePicker(p);
    LoadSavedGame(p, loadDirectory, std::move(stored));
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

int PrintStatistics(const std::string& saveDirectory, std::FILE* out) {
    const std::string directory = saveDirectory.empty()
                                      ? ChooseSaveDirectory(GetModuleDirectory(), AppDataName, "bgp.jpg")
                                      : saveDirectory;
    PlayDatabase database;
    const DatabaseFault fault = database.OpenToRead(directory + PlayDatabaseFileName);
    std::vector<GameEntry> games;
    // Before the first start of this version the best times are still in their file.
    BestTimes best = LoadBestTimes(directory + BestTimesFileName);
    if (fault == DatabaseFault::Opened) {
        games = database.LoadGames();
        best = database.LoadBestTimes();
    } else if (::access((directory + PlayDatabaseFileName).c_str(), F_OK) == 0) {
        std::fprintf(stderr, "veltrane-sudoku: %s\n", DatabaseFaultText(fault).c_str());
    }
    for (const LevelStatistics& row : ComputeStatistics(games, best))
        std::fprintf(out, "%s\n", StatisticsLine(row).c_str());
    return 0;
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
    StoredRecord stored = OpenPlayRecord(p, directory, loadDirectory);
    p.frameHook = options.frameHook;
    p.sceneHook = options.sceneHook;
    p.aids.deadEnd.SetAnswerCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.paste.check.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.aids.lesson.worker.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.aids.takeOut.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.aids.mistakes.SetAnswerCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.puzzleMaker.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.printer.SetReadyCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    p.writer->SetProblemCallback([gk = p.gk] { gk->System_WakeFrameLoop(); });
    if (p.gk->System_Initiate()) {
        p.view.BoardBackdrop.reset();
        if (LoadResources(p)) {
            RunFrameLoop(p, loadDirectory, options, std::move(stored));
            p.aids.deadEnd.Stop();  // no worker thread outlives the game
            p.paste.check.Stop();
            p.aids.lesson.worker.Stop();
            p.puzzleMaker.Stop();
            p.printer.Stop();
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
