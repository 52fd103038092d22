// The dark and high-contrast themes hold their legibility figures (tools/legibility/theme_legibility.h):
// the board's texts keep 4.5:1 (7:1 in high contrast) on every cell they lie on, the marks
// stay apart for normal and red-green colour-blind eyes, and the clash mark is always on.
#include <gtest/gtest.h>

#include "theme_legibility.h"

TEST(ThemePalettes, TextsKeepTheirContrastAndMarksStayApartForEveryEye) {
    struct Case {
        Theme theme;
        double contrast;
    };
    // Marks tell apart by at least 20 (about 2.3 is the least difference seen); a fill
    // shows on its face by at least 12.
    constexpr double MarkDistance = 20, FillShown = 12;
    for (const Case c : {Case{Theme::Dark, 4.5}, Case{Theme::HighContrast, 7.0}}) {
        const ThemeLegibility l = MeasureTheme(c.theme);
        ASSERT_TRUE(l.facesRead) << ThemeName(c.theme);
        for (int text = 0; text < BoardTextCount; ++text)
            EXPECT_GE(l.leastContrast[text], c.contrast) << ThemeName(c.theme) << " text " << text;
        for (int vision = 0; vision < VisionCount; ++vision)
            EXPECT_GE(l.leastMarkDistance[vision], MarkDistance)
                << ThemeName(c.theme) << " vision " << vision;
        EXPECT_GE(l.leastFillShown, FillShown) << ThemeName(c.theme);
        EXPECT_TRUE(PaletteOf(c.theme).clashMarkAlways) << "red is never the only sign of a clash";
    }
}
