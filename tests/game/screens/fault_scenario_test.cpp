// Faults that must lose nothing, played through the real start-up, frame loop and
// shutdown on the recording engine: data files missing or damaged, a saved game
// that cannot be written, a disk that stalls or fails during play, saved games with
// every kind of damage, and font descriptions with every kind of damage.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "app/startup.h"
#include "app/states.h"
#include "game/scenario_support.h"
#include "play/session/move.h"
#include "play/view/status_line.h"
#include "play/view/value_picker.h"
#include "save/save.h"
#include "sudoku/generator.h"
#include "support/play_record_reader.h"

namespace {

namespace fs = std::filesystem;

constexpr int NewGameId = 1, ContinueId = 2;
constexpr int GameExitId = 4;

// The data files start-up refuses to run without (the font is not among them).
const char* const CheckedFiles[] = {"cursor.png", "menu.wav",    "unselect.bmp",
                                    "select.bmp", "circle2.png", "bgp.jpg"};

// The seed corpus of a fuzz target, kept beside this folder in the sources.
std::vector<fs::path> CorpusFiles(const std::string& target) {
    const fs::path folder = fs::path(VELTRANE_TESTS_DIR) / "fuzz" / "corpus" / target;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// An unfinished game: the saved game a fault must not lose. Its lines end in LF alone, so
// that the file would change even if the game read it and wrote the same board back.
std::string PreviousGame() {
    SudokuBoard board;
    SeedRandom(11);
    if (!board.NewGame(Easy)) return {};
    std::string text = SavedGameText(board);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string FirstBytes(const std::string& path, std::size_t count) {
    return ReadFile(path).substr(0, count);
}
std::string FirstHalf(const std::string& path) {
    const std::string bytes = ReadFile(path);
    return bytes.substr(0, bytes.size() / 2);
}

class FaultScenarioTest : public ScenarioTest {
protected:
    // The start-up error was shown once, no frame ran, and the saved game is as it was.
    void ExpectRefusedStart(GameRunner& game, int framesBefore, const GameFolder& saves,
                            const std::string& previous) {
        EXPECT_TRUE(game.Ended());
        EXPECT_EQ(game.exitStatus, 0);
        ASSERT_EQ(game.messages.size(), 1u);
        EXPECT_EQ(game.messages[0].text, ResourceErrorText);
        EXPECT_EQ(game.messages[0].caption, "Error");
        EXPECT_TRUE(game.messages[0].errorIcon);
        EXPECT_EQ(engine.framesRun, framesBefore);
        EXPECT_EQ(ReadFile(saves.file("game.save")), previous);
        EXPECT_EQ(engine.LiveTextures(), 0);
        EXPECT_TRUE(engine.effects.empty());
    }

    // Starts an easy game, writes a value into a free cell with the mouse, and leaves
    // through the in-game menu. The played board is kept in *played.
    void PlayAndExit(GameRunner& game, SudokuBoard* played) {
        ASSERT_TRUE(StartNewGame(game, Easy));
        int row = -1, column = -1;
        for (int i = 0; i < 16 && row < 0; ++i)
            for (int j = 0; j < 16 && row < 0; ++j)
                if (!program().board.IsGiven(i, j)) row = i, column = j;
        const Cell& cell = program().view.cells[row][column];
        ASSERT_TRUE(game.Click(cell.x + 15, cell.y + 15));
        ASSERT_TRUE(program().picker->open);
        float dx = 0, dy = 0;
        PickerItemOffset(7, &dx, &dy);
        ASSERT_TRUE(game.Click(program().picker->x + dx + 15, program().picker->y + dy + 15));
        EXPECT_EQ(program().board.values[row][column], 7);
        *played = program().board;
        ASSERT_TRUE(game.Key(GKK_ESCAPE));
        ASSERT_TRUE(Choose(game, GameExitId));
        game.FramesUntil([] { return false; }, 5);
        ASSERT_TRUE(game.Ended());
        EXPECT_EQ(game.exitStatus, 0);
        EXPECT_TRUE(game.messages.empty());
    }
};

// Each checked data file in turn, missing and damaged.
class CheckedDataFileTest : public FaultScenarioTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CheckedDataFileTest, MissingOrDamagedStopsWithTheMessageAndKeepsTheSavedGame) {
    const std::string name = GetParam();
    const std::string previous = PreviousGame();
    std::vector<std::pair<std::string, std::function<void(DataCopy&, const std::string&)>>> faults = {
        {"missing", [&](DataCopy& data, const std::string&) { data.Remove(name); }},
        {"empty", [&](DataCopy& data, const std::string&) { data.Replace(name, ""); }},
        {"cut to its header",
         [&](DataCopy& data, const std::string& original) { data.Replace(name, FirstBytes(original, 20)); }},
        {"garbage",
         [&](DataCopy& data, const std::string&) { data.Replace(name, "not a picture nor a sound"); }},
    };
    // What the decoders cannot make a picture from: a PNG or BMP cut in half. (The JPEG
    // decoder fills the rows a cut file lacks, and the WAV reader plays what is there.)
    if (name.find(".png") != std::string::npos || name.find(".bmp") != std::string::npos)
        faults.push_back({"cut in half", [&](DataCopy& data, const std::string& original) {
                              data.Replace(name, FirstHalf(original));
                          }});
    for (const auto& [what, damage] : faults) {
        SCOPED_TRACE(name + " " + what);
        GameFolder saves;
        WriteTextFile(saves.file("game.save"), previous);
        DataCopy data;
        damage(data, engine.dataFolder + name);
        const int framesBefore = engine.framesRun;
        GameRunner game(saves.path());
        ExpectRefusedStart(game, framesBefore, saves, previous);
        EXPECT_EQ(engine.invalidFrees, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EachCheckedFile, CheckedDataFileTest, ::testing::ValuesIn(CheckedFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// A JPEG or WAV file cut in half still decodes (missing rows are filled, the sound is
// shorter): the game runs, plays and saves as usual.
TEST_F(FaultScenarioTest, FilesCutInHalfThatStillDecodeGiveAGameThatRuns) {
    for (const std::string name : {"bgp.jpg", "menu.wav"}) {
        SCOPED_TRACE(name);
        GameFolder saves;
        DataCopy data;
        data.Replace(name, FirstHalf(engine.dataFolder + name));
        GameRunner game(saves.path());
        SudokuBoard played;
        PlayAndExit(game, &played);
        EXPECT_EQ(ReadFile(saves.file("game.save")), SavedGameText(played));
    }
}

TEST_F(FaultScenarioTest, MissingOrDamagedFontStillGivesAGameThatPlaysAndSaves) {
    const std::vector<std::pair<std::string, std::function<void(DataCopy&)>>> faults = {
        {"font1.fnt missing", [](DataCopy& data) { data.Remove("font1.fnt"); }},
        {"font1.fnt empty", [](DataCopy& data) { data.Replace("font1.fnt", ""); }},
        {"font1.fnt garbage",
         [](DataCopy& data) { data.Replace("font1.fnt", "\x7f\x01garbage\r\nChar=41,0\n"); }},
        {"font1.fnt without its last half",
         [](DataCopy& data) {
             data.Replace("font1.fnt", FirstHalf(RecordingEngine::Instance().dataFolder + "font1.fnt"));
         }},
        {"font1.png missing", [](DataCopy& data) { data.Remove("font1.png"); }},
        {"font1.png cut in half",
         [](DataCopy& data) {
             data.Replace("font1.png", FirstHalf(RecordingEngine::Instance().dataFolder + "font1.png"));
         }},
    };
    for (const auto& [what, damage] : faults) {
        SCOPED_TRACE(what);
        const std::size_t logBefore = engine.logLines.size();
        GameFolder saves;
        DataCopy data;
        damage(data);
        GameRunner game(saves.path());
        ASSERT_FALSE(game.Ended());
        SudokuBoard played;
        PlayAndExit(game, &played);
        EXPECT_EQ(ReadFile(saves.file("game.save")), SavedGameText(played)) << "the played game is saved";
        if (what == "font1.fnt garbage") {
            EXPECT_NE(std::find(engine.logLines.begin() + logBefore, engine.logLines.end(),
                                "Font font1.fnt has incorrect format."),
                      engine.logLines.end());
        }
    }
}

// Shutdown cannot put the new saved game in place: the previous one stays whole and the
// program ends as usual, without a message.
TEST_F(FaultScenarioTest, SavedGameThatCannotBeWrittenKeepsThePreviousOneAndEndsNormally) {
    const std::string previous = PreviousGame();
    // No file can be opened (this stops root too, unlike a read-only folder), and a file
    // size limit that makes every write past 100 bytes fail, as a full disk would. The
    // sanitizers' runtime needs descriptors of its own when the game's thread ends, so
    // under AddressSanitizer only the disk fills up.
    std::vector<std::pair<int, rlim_t>> limits{{RLIMIT_NOFILE, 0}, {RLIMIT_FSIZE, 100}};
#if defined(__SANITIZE_ADDRESS__)
    limits.erase(limits.begin());
#endif
    for (const auto& [resource, limit] : limits) {
        SCOPED_TRACE(resource == RLIMIT_NOFILE ? "the new file cannot be created" : "the disk fills up");
        GameFolder saves;
        WriteTextFile(saves.file("game.save"), previous);
        GameRunner game(saves.path());
        ASSERT_TRUE(StartNewGame(game, Hard));
        ASSERT_TRUE(game.Key(GKK_ESCAPE));
        ASSERT_TRUE(SettleMenu(game));
        WaitForSavedFiles();
        const std::string started = ReadFile(saves.file("game.save"));  // saved as the game started
        EXPECT_NE(started, previous);
        rlimit old{};
        ASSERT_EQ(getrlimit(resource, &old), 0);
        rlimit small = old;
        small.rlim_cur = limit;
        const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(resource, &small), 0);
        const bool chosen = Choose(game, GameExitId);
        game.FramesUntil([] { return false; }, 5);
        const bool ended = game.Ended();
        setrlimit(resource, &old);
        signal(SIGXFSZ, previousHandler);
        EXPECT_TRUE(chosen);
        ASSERT_TRUE(ended);
        EXPECT_EQ(game.exitStatus, 0);
        EXPECT_TRUE(game.messages.empty());
        EXPECT_EQ(ReadFile(saves.file("game.save")), started);
        std::vector<std::string> names;
        // SQLite's own write-ahead log and index stay beside game.db when the disk was full at the end.
        for (const auto& entry : fs::directory_iterator(saves.path()))
            if (entry.path().filename() != "game.db-wal" && entry.path().filename() != "game.db-shm")
                names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"game.db", "game.save"})) << "no cut-off new file is left";
    }
    {
        SCOPED_TRACE("the folder cannot exist (its parent is a file)");
        GameFolder saves;
        WriteTextFile(saves.file("plain"), "a file");
        GameRunner game(saves.path() + "plain/");
        SudokuBoard played;
        PlayAndExit(game, &played);
        EXPECT_EQ(ReadFile(saves.file("plain")), "a file");
    }
}

// Every saved game of the fuzz corpus: the game starts without a message and offers
// "Continue previous game" exactly for a board with an unfinished game; a continued
// game draws, and a file only looked at is never written again.
TEST_F(FaultScenarioTest, DamagedSavedGamesStartTheGameAndOfferOnlyUnfinishedOnes) {
    // Kinds of damage whose answer is known, so that the rule is checked both ways.
    const std::map<std::string, bool> known = {
        {"unfinished_crlf.save", true}, {"full_with_clash.save", true},   {"values_out_of_range.save", true},
        {"givens_missing.save", true},  {"size_only.save", true},         {"won.save", false},
        {"empty.save", false},          {"zero_then_values.save", false}, {"size_9.save", false},
        {"size_int_max.save", false},   {"negative_size.save", false},    {"garbage_first.save", false},
    };
    std::size_t knownSeen = 0;
    for (const fs::path& file : CorpusFiles("save_load")) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const std::string bytes = ReadFile(file.string());
        GameFolder saves;
        WriteTextFile(saves.file("game.save"), bytes);
        SudokuBoard read;
        read.directory = saves.path();
        const bool loads = read.Load("game.save");
        const bool unfinished = loads && read.HasUnfinishedGame();
        if (known.count(name) != 0) {
            EXPECT_EQ(unfinished, known.at(name));
            ++knownSeen;
        }

        GameRunner game(saves.path());
        ASSERT_TRUE(SettleMenu(game));
        EXPECT_TRUE(game.messages.empty());
        EXPECT_EQ(program().GameState, MainMenu);
        ASSERT_EQ(IsEnabled(ContinueId), unfinished);
        EXPECT_EQ(FocusedId(), NewGameId);
        if (unfinished) {
            ASSERT_TRUE(Choose(game, ContinueId));
            ASSERT_EQ(program().GameState, Playing);
            EXPECT_EQ(program().board.values, read.values);
            ASSERT_TRUE(game.Frames(3));
            ASSERT_TRUE(game.Key(GKK_ESCAPE));
            ASSERT_TRUE(Choose(game, GameExitId));
        } else {
            ASSERT_TRUE(game.Key(GKK_ESCAPE));
        }
        game.FramesUntil([] { return false; }, 60);
        ASSERT_TRUE(game.Ended());
        EXPECT_EQ(game.exitStatus, 0);
        EXPECT_EQ(ReadFile(saves.file("game.save")), bytes) << "a game only looked at is left as it was";
    }
    EXPECT_EQ(knownSeen, known.size());
}

// A value past 16 in a free cell, as a damaged game.save may hold: writing over it is a
// step like any other, and the play record is still written.
TEST_F(FaultScenarioTest, AValuePast16OnTheBoardDoesNotStopLaterSaves) {
    GameRunner game(folder.path());
    ASSERT_TRUE(StartNewGame(game, Easy));
    int free = 0;
    while (program().board.IsGiven(free / 16, free % 16)) ++free;
    program().board.values[free / 16][free % 16] = 17;
    const Cell& cell = program().view.cells[free / 16][free % 16];
    ASSERT_TRUE(game.Key(GKK_0 + 1, cell.x + 15, cell.y + 15));
    WaitForSavedFiles();
    ASSERT_TRUE(game.Frame());
    EXPECT_FALSE(program().aids.saveFailure.set) << program().aids.saveFailure.text;
}

// Every font description of the fuzz corpus gives a font that draws, measures and gives
// back everything it took from the engine.
TEST_F(FaultScenarioTest, DamagedFontDescriptionsGiveFontsThatDrawAndFreeThemselves) {
    TempFolder fonts;
    WriteImage(fonts.File("font1.png"), 64, 32);
    WriteImage(fonts.File("glyphs.bmp"), 8, 8);
    engine.dataFolder = fonts.Path() + "/";
    for (const fs::path& file : CorpusFiles("font")) {
        const std::string bytes = ReadFile(file.string());
        SCOPED_TRACE(file.filename().string());
        WriteTextFile(fonts.File("fuzz.fnt"), bytes);
        const int texturesBefore = engine.LiveTextures();
        {
            gkFont font("fuzz.fnt");
            EXPECT_GE(font.GetHeight(), 0.0f);
            font.SetColor(0xFF000000);
            for (int align = 0; align < 4; ++align) font.Render(400, 300, align, "Easy\nA?\x80\xff");
            font.Printf(10, 10, AlignCenter, "%d", 16);
            EXPECT_TRUE(std::isfinite(font.GetStringWidth("Medium")));
        }
        EXPECT_EQ(engine.LiveTextures(), texturesBefore);
        EXPECT_EQ(engine.liveResources, 0);
    }
    engine.dataFolder.clear();
}

// Toggles note v of the first free cell, as a change of the board's notes.
void ToggleANote(int v) {
    Program& p = TheProgram();
    for (int cell = 0; cell < 256; ++cell)
        if (!p.board.IsGiven(cell / 16, cell % 16))
            return ToggleNote(p.aids.EditOf(p.board), cell / 16, cell % 16, v);
}

// The disk stalls, then fails (full, read-only, broken), then recovers. While a write
// waits, frames with changes keep coming back, and only the newest snapshot waiting is
// written after it. A failure shows on the message line and in the log (a line per new
// reason) while the game plays on and the last good files stay; a good save clears it.
TEST_F(FaultScenarioTest, AStalledOrFailingDiskNeverHoldsUpPlayAndNeverFailsSilently) {
    // The disk: every write waits until it is opened, then fails with failing or goes to the real disk.
    std::promise<void> opening;
    const std::shared_future<void> opened = opening.get_future().share();
    std::atomic<int> started{0}, failing{0};
    std::once_flag once;
    const auto open = [&] { std::call_once(once, [&] { opening.set_value(); }); };
    GameRunner game(folder.path(), [&](const std::string& path, const std::string& bytes) {
        ++started;
        opened.wait();
        return failing != 0 ? failing.load() : WriteFileAtomically(path, bytes);
    });
    const std::shared_ptr<void> openAtEnd(nullptr, [&](void*) { open(); });  // lets shutdown write
    ASSERT_TRUE(StartNewGame(game, Easy));
    // The writer holds the new game's first file before the changes come.
    for (int i = 0; i < 10000 && started == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(started, 1);
    int v = 0;
    while (v < 3) {
        ToggleANote(++v);
        ASSERT_TRUE(game.Frame());
    }
    EXPECT_EQ(started, 1) << "every frame ran while the first write waited";
    open();
    WaitForSavedFiles();
    EXPECT_EQ(started, 2)
        << "the new game's game.save, then the newest snapshot's (game.db is written apart)";

    const auto change = [&] {
        ToggleANote(++v);
        game.Frame();  // hands the save over
        WaitForSavedFiles();
        game.Frame();  // picks up how it went
        const char* shown = StatusMessageText(program().board, program().aids);
        return std::string(shown ? shown : "");
    };
    const auto undoInDatabase = [&] {
        PlayRecord record;
        return ReadDatabaseRecord(folder.file("game.db"), record) ? record.undo.size() : 0u;
    };
    const std::string goodSave = ReadFile(folder.file("game.save"));
    const std::size_t goodUndo = undoInDatabase();
    const std::size_t logLines = engine.logLines.size();
    for (const int error : {ENOSPC, EROFS, EIO, EIO}) {
        failing = error;
        EXPECT_EQ(change(), std::string("Not saved: ") + std::strerror(error));
        EXPECT_EQ(ReadFile(folder.file("game.save")), goodSave);
        EXPECT_EQ(undoInDatabase(), goodUndo) << "the record stays with the game.save it belongs to";
    }
    EXPECT_EQ(engine.logLines.size() - logLines, 3u);
    EXPECT_EQ(program().aids.history.UndoSteps(), 7u) << "the game played on";
    failing = 0;
    EXPECT_EQ(change(), "");
    EXPECT_EQ(undoInDatabase(), 8u) << "every change saved";
}

}  // namespace
