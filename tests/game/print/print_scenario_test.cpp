// P on the play screen, through the real frame loop on the recording engine: the puzzle goes
// as a one-page PDF into the folder XDG_DOCUMENTS_DIR names, the message line names the file,
// a second print gets a name of its own. Read back with poppler's tools where installed.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

#include "game/scenario_support.h"
#include "platform/documents_folder.h"
#include "sudoku/puzzle_code.h"

namespace {

// XDG_DOCUMENTS_DIR set to a folder of the test's own while it lives.
class DocumentsFolder {
public:
    DocumentsFolder() : hadOld_(std::getenv("XDG_DOCUMENTS_DIR") != nullptr) {
        if (hadOld_) old_ = std::getenv("XDG_DOCUMENTS_DIR");
        setenv("XDG_DOCUMENTS_DIR", temp_.Path().c_str(), 1);
    }
    ~DocumentsFolder() {
        hadOld_ ? setenv("XDG_DOCUMENTS_DIR", old_.c_str(), 1) : unsetenv("XDG_DOCUMENTS_DIR");
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
            files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

private:
    TempFolder temp_;
    bool hadOld_;
    std::string old_;
};

class PrintScenarioTest : public ScenarioTest {
protected:
    // P, then frames a millisecond apart until the message line tells how the print went.
    std::string Print(GameRunner& game) {
        if (!game.Frame(KeyOnlyFrame(LetterKey('P')))) return "";
        for (int i = 0; i < 20000 && Message() == "Printing the puzzle..."; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!game.Frame()) return "";
        }
        return Message();
    }
    std::string Message() { return program().aids.message.text; }
};

}  // namespace

TEST_F(PrintScenarioTest, PWritesThePuzzleAsOnePageIntoTheDocumentsFolderAndNamesIt) {
    DocumentsFolder documents;
    GameRunner game(folder.path());
    ASSERT_TRUE(StartSeededGame(game, Medium, 21));
    ASSERT_TRUE(game.Key(ValueKey(SolutionForSeed(21)[0][0])));  // a value of the player's: not printed
    const std::string first = Print(game);
    ASSERT_EQ(documents.Files().size(), 1u) << first;
    const std::string path = documents.Files()[0];
    EXPECT_EQ(first, "Printed to " + PathForPlayer(path));
    EXPECT_TRUE(std::regex_search(path, std::regex("/Veltrane Sudoku Medium [-0-9]+ [-0-9]+\\.pdf$")))
        << path;

    // A second print gets a name of its own (numbered within the same second); the first stays.
    const std::string bytes = ReadFile(path);
    const std::string second = Print(game);
    ASSERT_EQ(documents.Files().size(), 2u) << second;
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(second.rfind("Printed to ", 0), 0u) << second;

    if (!HasPoppler()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed";
    const std::string info = CommandOutput("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    std::string text = CommandOutput("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("Level: Medium"), std::string::npos) << text;
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return std::isspace(c); }), text.end());
    EXPECT_NE(text.find(FormatPuzzleCode(program().board.givens)), std::string::npos) << "the puzzle's code";
}
