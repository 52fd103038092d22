// The engine's log file: lines are only ever appended, and a link or a FIFO put in
// the log's place is neither followed nor waited on.
#include "engine/sdl/files/engine_log.h"

#include <sys/stat.h>

#include "sdl/engine_test_fixture.h"

TEST(EngineLog, AppendsToTheFileAndLeavesLinksAndFifosAlone) {
    TempFolder temp;
    EngineLog log;
    log.SetFile("gk_sudoku.log", temp.Path());
    WriteFile(temp.File("gk_sudoku.log"), "earlier run\n");
    log.Write("line %d", 1);
    EXPECT_EQ(ReadFile(temp.File("gk_sudoku.log")), "earlier run\nline 1\n");

    // Someone else's file behind a link under the log's name stays as it was.
    WriteFile(temp.File("victim"), "keep");
    std::filesystem::remove(temp.File("gk_sudoku.log"));
    std::filesystem::create_symlink(temp.File("victim"), temp.File("gk_sudoku.log"));
    log.Write("not through the link");
    EXPECT_EQ(ReadFile(temp.File("victim")), "keep");

    // A FIFO nobody reads: writing returns at once (a blocked write would hang here).
    std::filesystem::remove(temp.File("gk_sudoku.log"));
    ASSERT_EQ(mkfifo(temp.File("gk_sudoku.log").c_str(), 0600), 0);
    log.Write("not into the FIFO");
    EXPECT_TRUE(std::filesystem::is_fifo(temp.File("gk_sudoku.log")));
}
