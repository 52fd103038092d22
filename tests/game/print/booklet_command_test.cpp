// `veltrane-sudoku --booklet`: a table of command lines, each refused with its reason and
// exit status 2 and no file, or written with its pages and paper (read back with
// poppler's pdfinfo where it is installed).
#include "app/booklet_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/temp_folder.h"

namespace {

struct BookletRun {
    int status = -1;
    std::string err;
};

BookletRun RunBooklet(const std::string& path, const std::string& line) {
    std::vector<std::string> arguments{"--booklet", path};
    std::istringstream words(line);
    for (std::string word; words >> word;) arguments.push_back(word == "''" ? "" : word);
    BookletRun run;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    if (out == nullptr || err == nullptr) return run;
    run.status = RunBookletCommand(arguments, out, err);
    std::rewind(err);
    char buffer[1024];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, err)) > 0;) run.err.append(buffer, n);
    std::fclose(out);
    std::fclose(err);
    return run;
}

std::string PdfInfo(const std::string& path) {
    std::string out;
    if (FILE* pipe = popen(("pdfinfo '" + path + "' 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

}  // namespace

TEST(BookletCommand, RefusesBadArgumentsWithTheReasonAndWritesNothing) {
    TempFolder temp;
    const std::string path = temp.File("refused.pdf");
    const std::pair<const char*, const char*> refused[] = {
        {"--count 0 --level easy", "--count takes a number from 1 to 500, not '0'"},
        {"--count 501 --level easy", "not '501'"},
        {"--count 12x --level easy", "not '12x'"},
        {"--count -3 --level easy", "not '-3'"},
        {"--count 99999999999999999999 --level easy", "not '9999"},
        {"--count 4 --level expert", "--level takes easy, medium or hard, not 'expert'"},
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
        EXPECT_EQ(run.err.rfind("veltrane-sudoku: ", 0), 0u) << line << ": " << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << line << ": " << run.err;
        EXPECT_NE(run.err.find("usage: veltrane-sudoku --booklet OUT.pdf"), std::string::npos) << line;
        EXPECT_FALSE(std::filesystem::exists(path)) << line;
    }
    EXPECT_NE(RunBooklet("", "--count 1 --level easy").err.find("--booklet needs a value"),
              std::string::npos);
    const BookletRun unwritable =
        RunBooklet(temp.File("no/such/folder.pdf"), "--count 1 --level easy --classic");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

TEST(BookletCommand, WritesTheBookletsPagesOnTheirPaper) {
    TempFolder temp;
    const bool poppler = std::system("command -v pdfinfo >/dev/null 2>&1") == 0;
    const std::tuple<const char*, const char*, const char*> written[] = {
        {"--count 1 --level easy", "Pages:           2\n", "(A4)"},
        {"--level hard --count 5 --classic --letter", "Pages:           7\n", "(letter)"},
        {"--letter --count 2 --level medium", "Pages:           3\n", "(letter)"},
    };
    for (const auto& [line, pages, paper] : written) {
        const std::string path = temp.File("booklet.pdf");
        const BookletRun run = RunBooklet(path, line);
        EXPECT_EQ(run.status, 0) << line << ": " << run.err;
        ASSERT_TRUE(std::filesystem::exists(path)) << line;
        if (!poppler) continue;
        const std::string info = PdfInfo(path);
        EXPECT_NE(info.find(pages), std::string::npos) << line << ": " << info;
        EXPECT_NE(info.find(paper), std::string::npos) << line << ": " << info;
        std::filesystem::remove(path);
    }
}
