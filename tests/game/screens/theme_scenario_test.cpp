// The theme shown: the desktop's look as a reader hands it over (the test posts in the
// reader's place), until T chooses one, which then holds and is kept in the settings.
#include <gtest/gtest.h>

#include "app/theme_switch.h"
#include "game/scenario_support.h"
#include "save/settings.h"

namespace {

class ThemeScenarioTest : public ScenarioTest {
protected:
    // The theme's palette is in use and its background drawn (first, in the last frame).
    void ExpectShown(Theme theme, const char* why) {
        EXPECT_EQ(program().theme, theme) << why;
        EXPECT_EQ(program().palette.givenValue, PaletteOf(theme).givenValue) << why;
        const std::string name = engine.quads.empty() ? "" : engine.textures[engine.quads.front().tex].name;
        EXPECT_EQ(name.substr(name.find_last_of('/') + 1), ImagesOf(theme).background) << why;
    }
};

}  // namespace

TEST_F(ThemeScenarioTest, TheDesktopsLookShowsUntilThePlayerChoosesWithT) {
    GameRunner game(folder.path());
    game.Frame();
    ExpectShown(Theme::Classic, "no answer from the desktop");
    // The portal's answers as (color-scheme, contrast): 1 is dark, 0 and 2 light; contrast 1 wins.
    const std::pair<DesktopLook, Theme> answers[] = {
        {{1, 0}, Theme::Dark},         {{2, 0}, Theme::Classic}, {{0, 1}, Theme::HighContrast},
        {{1, 1}, Theme::HighContrast}, {{0, 0}, Theme::Classic}, {{1, 7}, Theme::Dark},
        {{9, 0}, Theme::Classic}};
    for (const auto& [look, theme] : answers) {
        program().desktopLooks->Post(look);
        game.Frame();
        ExpectShown(
            theme,
            ("answer " + std::to_string(look.colorScheme) + " " + std::to_string(look.contrast)).c_str());
    }
    EXPECT_EQ(program().aids.settings.theme, ThemeChoice::Desktop);

    // T in the main menu: the theme after the desktop's, chosen; the desktop no longer counts.
    program().desktopLooks->Post({1, 0});
    game.Key(LetterKey('T'));
    ExpectShown(Theme::HighContrast, "after dark");
    program().desktopLooks->Post({0, 0});
    game.Frame();
    ExpectShown(Theme::HighContrast, "the player's choice wins");
    game.Key(LetterKey('T'));
    ExpectShown(Theme::Classic, "after high contrast");
    WaitForSavedFiles();
    EXPECT_EQ(LoadSettings(folder.file(SettingsFileName)).theme, ThemeChoice::Classic);

    // On the play screen too, where the message line names it; the clash mark is always on.
    ASSERT_TRUE(StartNewGame(game, Easy));
    game.Key(LetterKey('T'));
    ExpectShown(Theme::Dark, "T on the play screen");
    EXPECT_STREQ(program().aids.message.Current(program().aids.history.Revision()), "Theme: dark");
    EXPECT_TRUE(program().palette.clashMarkAlways);
    game.Close();

    GameRunner again(folder.path());
    again.Frame();
    ExpectShown(Theme::Dark, "the choice is kept for the next start");
}
