// The settings file: what it keeps comes back, and whatever is wrong with it gives
// the defaults for what could not be read, never an error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "save/settings.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    std::string Path() const { return temp.File(SettingsFileName); }
    void Write(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }

    TempFolder temp;
    const std::string folder = temp.Path();
};

}  // namespace

TEST_F(SettingsFile, WhatIsSavedComesBack) {
    ASSERT_FALSE(folder.empty());
    Settings changed;
    changed.sameValueHighlight = true;
    changed.clashMarks = true;
    changed.fullScreen = true;
    changed.logicPuzzles = true;
    changed.theme = ThemeChoice::HighContrast;
    ASSERT_TRUE(SaveSettings(Path(), changed));
    EXPECT_EQ(LoadSettings(Path()), changed);
    EXPECT_FALSE(fs::exists(Path() + ".tmp"));
}

TEST_F(SettingsFile, AMissingOrDamagedFileGivesTheDefaults) {
    const Settings defaults;
    EXPECT_FALSE(defaults.sameValueHighlight);
    EXPECT_FALSE(defaults.clashMarks);
    EXPECT_FALSE(defaults.fullScreen);
    EXPECT_EQ(LoadSettings(Path()), defaults) << "missing";

    Write(std::string("\0\xff\x01garbage=on\n", 14));
    EXPECT_EQ(LoadSettings(Path()), defaults) << "binary junk";

    // Line by line: a good line counts, a damaged one keeps its default.
    Write(
        "# comment\r\nclash-marks = on\r\nsame-value-highlight=maybe\nfull-screen\nfull-screen=\n"
        "unknown=off\npuzzles=on\ntheme=purple");
    Settings expected;
    expected.clashMarks = true;
    EXPECT_EQ(LoadSettings(Path()), expected);

    Write("clash-marks=on\n" + std::string(kMaxSettingsBytes, '#'));
    EXPECT_EQ(LoadSettings(Path()), defaults) << "oversized";

    fs::remove(Path());
    fs::create_directory(Path());
    EXPECT_EQ(LoadSettings(Path()), defaults) << "a folder";
    EXPECT_FALSE(SaveSettings(Path() + "/missing/" + SettingsFileName, expected));
    fs::remove(Path());

    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    EXPECT_EQ(LoadSettings(Path()), defaults) << "a FIFO is not opened (that would block)";
}
