// P on the play screen, played through the real frame loop on the recording engine:
// the puzzle goes as a one-page PDF into the documents folder XDG_DOCUMENTS_DIR names,
// the message line names the file, and a second print gets a name of its own. The
// pages are read back with poppler's pdfinfo and pdftotext where they are installed.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "game/scenario_support.h"
#include "platform/documents_folder.h"
#include "sudoku/puzzle_code.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// XDG_DOCUMENTS_DIR set to a folder of the test's own while it lives.
class DocumentsFolder {
public:
    DocumentsFolder() {
        if (const char* old = std::getenv("XDG_DOCUMENTS_DIR")) old_ = old, hadOld_ = true;
        setenv("XDG_DOCUMENTS_DIR", temp_.Path().c_str(), 1);
    }
    ~DocumentsFolder() {
        hadOld_ ? setenv("XDG_DOCUMENTS_DIR", old_.c_str(), 1) : unsetenv("XDG_DOCUMENTS_DIR");
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(temp_.Path())) files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

private:
    TempFolder temp_;
    std::string old_;
    bool hadOld_ = false;
};

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

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
    EXPECT_NE(path.find("/Veltrane Sudoku Medium "), std::string::npos) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".pdf");
    EXPECT_EQ(ReadFile(path).rfind("%PDF-", 0), 0u);

    // A second print gets a name of its own (numbered within the same second); the first stays.
    const std::string bytes = ReadFile(path);
    const std::string second = Print(game);
    ASSERT_EQ(documents.Files().size(), 2u) << second;
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(second.rfind("Printed to ", 0), 0u) << second;

    if (std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed";
    const std::string info = Output("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    std::string text = Output("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("Level: Medium"), std::string::npos) << text;
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return std::isspace(c); }), text.end());
    EXPECT_NE(text.find(FormatPuzzleCode(program().board.givens)), std::string::npos) << "the puzzle's code";
}
