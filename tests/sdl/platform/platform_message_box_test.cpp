// Message boxes: a test handler receives text, caption and icon; with the real
// box and no display the text goes to standard error as "caption: text"; only
// error boxes show an icon.
#include <SDL.h>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/message_box.h"
#include "sdl/engine_test_fixture.h"

TEST(MessageBox, AHandlerReceivesEveryBoxUntilItIsRemoved) {
    std::vector<std::tuple<std::string, std::string, bool>> shown;
    SetMessageBoxHandler([&shown](const std::string& text, const std::string& caption, bool errorIcon) {
        shown.emplace_back(text, caption, errorIcon);
    });
    ShowMessageBox("Cannot create new game", "Error", true);
    ShowMessageBox("You have won!", "Sudoku", false);
    SetMessageBoxHandler(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::make_tuple(std::string("Cannot create new game"), std::string("Error"), true));
    EXPECT_EQ(shown[1], std::make_tuple(std::string("You have won!"), std::string("Sudoku"), false));
}

// In a child without any display, so that no real box can block the test.
TEST(MessageBox, WithoutADisplayTheTextGoesToStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            SetMessageBoxHandler([](const std::string&, const std::string&, bool) { std::exit(3); });
            SetMessageBoxHandler(nullptr);  // the real box again
            ShowMessageBox("Can't load circle2.png", "Error", true);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "Error: Can't load circle2.png");
}

// The win's box is the plain kind, with no icon at all; errors carry the error icon.
TEST(MessageBox, OnlyTheErrorBoxHasAnIcon) {
    const std::uint32_t icons = SDL_MESSAGEBOX_ERROR | SDL_MESSAGEBOX_WARNING | SDL_MESSAGEBOX_INFORMATION;
    EXPECT_EQ(MessageBoxFlags(false) & icons, 0u);
    EXPECT_EQ(MessageBoxFlags(true) & icons, static_cast<std::uint32_t>(SDL_MESSAGEBOX_ERROR));
}
