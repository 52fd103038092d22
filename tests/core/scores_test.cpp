// Best times: round trip, keeping the better time, and any damaged file meaning none.
#include "save/scores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class BestTimesFile : public ::testing::Test {
protected:
    std::string Path() const { return (folder_ / BestTimesFileName).string(); }
    void Write(const std::string& bytes) const { std::ofstream(Path(), std::ios::binary) << bytes; }

    TempFolder temp_;  // a folder of the test's own, removed at the end
    fs::path folder_ = temp_.Path();
};

TEST_F(BestTimesFile, WonGamesKeepTheBestTimePerLevelAcrossRuns) {
    EXPECT_EQ(LoadBestTimes(Path()), BestTimes{}) << "no file: no best times";
    EXPECT_TRUE(RecordWonGame(Path(), Medium, 900));
    EXPECT_FALSE(RecordWonGame(Path(), Medium, 901)) << "a slower game keeps the best";
    EXPECT_FALSE(RecordWonGame(Path(), Medium, 900));
    EXPECT_FALSE(RecordWonGame(Path(), Medium, 0)) << "a time nobody could beat";
    EXPECT_FALSE(RecordWonGame(Path(), Hard, 18446744073709551615ull)) << "past the clock's 100 years";
    EXPECT_FALSE(RecordWonGame(Path(), 4, 1)) << "not a level";

    const BestTimes best = LoadBestTimes(Path());
    EXPECT_FALSE(best.Of(Easy));
    EXPECT_EQ(best.Of(Medium), 900u);
    EXPECT_FALSE(best.Of(Hard));
    EXPECT_FALSE(best.Of(0));
    std::ifstream in(Path());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "veltrane-sudoku best-times 1\neasy -\nmedium 900\nhard -\n");
    EXPECT_FALSE(fs::exists(Path() + ".tmp"));
}

TEST_F(BestTimesFile, DamagedFileMeansNoBestTimesAndIsReplacedByTheNextWin) {
    const std::string good = "veltrane-sudoku best-times 1\neasy 60\nmedium -\nhard 700\n";
    BestTimes parsed;
    ASSERT_TRUE(ParseBestTimes(good, parsed));
    ASSERT_EQ(parsed.Of(Easy), 60u);
    const std::string kDamaged[] = {
        "",
        "veltrane-sudoku best-times 2\neasy 60\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 60\nmedium -\n",
        "veltrane-sudoku best-times 1\neasy 60\nmedium -\nhard 700",
        "veltrane-sudoku best-times 1\neasy 60\nmedium -\nhard 700\nhard 1\n",
        "veltrane-sudoku best-times 1\nmedium -\neasy 60\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy -60\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 060\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 6 0\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy \nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 18446744073709551616\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 0\nmedium -\nhard 700\n",
        "veltrane-sudoku best-times 1\neasy 60\nmedium -\nhard 3155760001\n",
        "veltrane-sudoku best-times 1\neasy 60\nmedium 18446744073709551615\nhard 700\n",
        "veltrane-sudoku best-times 1\r\neasy 60\r\nmedium -\r\nhard 700\r\n",
        good + std::string(kMaxBestTimesBytes, ' '),
    };
    for (const std::string& text : kDamaged) {
        Write(text);
        EXPECT_EQ(LoadBestTimes(Path()), BestTimes{}) << text.substr(0, 80);
    }
    EXPECT_TRUE(RecordWonGame(Path(), Easy, 61));
    EXPECT_EQ(LoadBestTimes(Path()).Of(Easy), 61u);

    fs::remove(Path());
    fs::create_directory(Path());
    EXPECT_EQ(LoadBestTimes(Path()), BestTimes{});
    EXPECT_FALSE(RecordWonGame(Path(), Easy, 1)) << "a write that fails is not reported as done";
}

}  // namespace
