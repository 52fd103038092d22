// The executable's folder: ends with '/', and names the folder this test program
// runs from.
#include <sys/stat.h>

#include "platform/module_directory.h"
#include "sdl/engine_test_fixture.h"

TEST(ModuleDirectory, NamesTheFolderOfTheRunningProgramWithItsSlash) {
    const std::string folder = GetModuleDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    // The test program is in that folder: the same file as the running one.
    struct stat named {
    }, running{};
    ASSERT_EQ(stat((folder + "test_sdl").c_str(), &named), 0);
    ASSERT_EQ(stat("/proc/self/exe", &running), 0);
    EXPECT_EQ(named.st_ino, running.st_ino);
    EXPECT_EQ(named.st_dev, running.st_dev);
    // The data files are copied beside it by the build.
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "font1.fnt"));
}
