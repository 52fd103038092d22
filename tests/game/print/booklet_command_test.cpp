// `veltrane-sudoku --booklet`: a table of command lines, each refused with its reason, exit
// status 2 and no file, or written with its pages and paper (read by pdfinfo where installed).
#include "app/booklet_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "support/test_files.h"

namespace {

struct BookletRun {
    int status = -1;
    std::string err;
};

// The command with --booklet path and the words of line; what it prints.
BookletRun RunBooklet(const std::string& path, const std::string& line) {
    std::vector<std::string> arguments{"--booklet", path};
    std::istringstream words(line);
    for (std::string word; words >> word;) arguments.push_back(word);
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* err = open_memstream(&text, &size);
    BookletRun run;
    if (err == nullptr) return run;
    run.status = RunBookletCommand(arguments, err, err);
    std::fclose(err);
    run.err.assign(text, size);
    std::free(text);
    return run;
}

}  // namespace

TEST(BookletCommand, RefusesBadArgumentsWithTheReasonAndWritesNothing) {
    TempFolder temp;
    const std::string path = temp.File("refused.pdf");
    const std::pair<const char*, const char*> refused[] = {
        {"--count 0 --level easy", "--count takes a number from 1 to 500, not '0'"},
        {"--count 501 --level easy", "not '501'"},
        {"--count 12x --level easy", "not '12x'"},
        {"--count 99999999999999999999 --level easy", "not '9999"},
        {"--count 4 --level extreme", "--level takes easy, medium, hard or expert, not 'extreme'"},
        {"--count 4 --level expert --classic", "--classic puzzles come in easy, medium and hard"},
        {"--count 4", "--booklet needs --level L"},
        {"--level hard", "--booklet needs --count N"},
        {"--level hard --count", "--count needs a value"},
        {"--count 4 --level easy --classic --classic", "--classic is given twice"},
        {"--count 4 --level easy --seed 3", "unknown option --seed"},
        {"--count 4 --level easy extra.pdf", "'extra.pdf' is not an option"},
        {"--count 4 --level easy --booklet other.pdf", "--booklet is given twice"},
    };
    for (const auto& [line, reason] : refused) {
        const BookletRun run = RunBooklet(path, line);
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.err.find(std::string("veltrane-sudoku: ")), 0u) << line << ": " << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << line << ": " << run.err;
        EXPECT_NE(run.err.find("usage: veltrane-sudoku --booklet OUT.pdf"), std::string::npos) << line;
        EXPECT_FALSE(std::filesystem::exists(path)) << line;
    }
    const BookletRun unwritable =
        RunBooklet(temp.File("no/such/folder.pdf"), "--count 1 --level easy --classic");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

TEST(BookletCommand, WritesTheBookletsPagesOnTheirPaper) {
    TempFolder temp;
    const std::string path = temp.File("booklet.pdf");
    const std::tuple<const char*, const char*, const char*> written[] = {
        {"--count 1 --level easy", "Pages:           2\n", "(A4)"},
        {"--level hard --count 5 --classic --letter", "Pages:           7\n", "(letter)"},
        {"--letter --count 2 --level medium", "Pages:           3\n", "(letter)"},
    };
    for (const auto& [line, pages, paper] : written) {
        const BookletRun run = RunBooklet(path, line);
        EXPECT_EQ(run.status, 0) << line << ": " << run.err;
        ASSERT_TRUE(std::filesystem::exists(path)) << line;
        if (!HasPoppler()) continue;
        const std::string info = CommandOutput("pdfinfo '" + path + "'");
        EXPECT_NE(info.find(pages), std::string::npos) << line << ": " << info;
        EXPECT_NE(info.find(paper), std::string::npos) << line << ": " << info;
    }
}
