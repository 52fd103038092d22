// theme-legibility: prints the legibility figures of every theme (theme_legibility.h), one
// line a theme, from the data files in the current folder (run it in the build folder).
// Usage: theme-legibility
#include <cstdio>
#include <initializer_list>

#include "theme_legibility.h"

int main() {
    std::printf(
        "theme          contrast: given player clash note | marks delta E: normal deuteranopia protanopia"
        " | fill on face\n");
    int unread = 0;
    for (const Theme theme : {Theme::Classic, Theme::Dark, Theme::HighContrast}) {
        const ThemeLegibility l = MeasureTheme(theme);
        if (!l.facesRead) {
            std::printf("%-14s cannot read its cell face images\n", ThemeName(theme));
            ++unread;
            continue;
        }
        std::printf("%-14s %5.1f %5.1f %5.1f %5.1f | %5.1f %5.1f %5.1f | %5.1f\n", ThemeName(theme),
                    l.leastContrast[GivenText], l.leastContrast[PlayerText], l.leastContrast[ClashText],
                    l.leastContrast[NoteText], l.leastMarkDistance[NormalVision],
                    l.leastMarkDistance[Deuteranopia], l.leastMarkDistance[Protanopia], l.leastFillShown);
    }
    return unread == 0 ? 0 : 1;
}
