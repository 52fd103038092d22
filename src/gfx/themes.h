// The game's themes: classic (the game's own look), dark and high contrast. A theme is
// a palette (every colour by its role, palette.h) and the images drawn for it by
// tools/make_data.py (background, cell faces, value button, cursor, each with its 2x
// and 4x companions), which carry the colours of the cells the palette's texts lie on.
// The dark and high-contrast palettes keep the givens, the player's values, clashing
// values and notes at a contrast of at least 4.5:1 (7:1 in high contrast) against
// every cell they are drawn on, and the hint marks, the tint and the keyboard frame
// apart from each other and from the clash colour, for red-green colour-blind eyes too;
// both draw the clash mark always. Owns nothing: constants and names only.
#pragma once

#include "gfx/palette.h"

enum class Theme { Classic, Dark, HighContrast };
constexpr int ThemeCount = 3;

// T's order: classic, dark, high contrast, classic again.
constexpr Theme NextTheme(Theme theme) {
    return theme == Theme::Classic ? Theme::Dark
           : theme == Theme::Dark  ? Theme::HighContrast
                                   : Theme::Classic;
}

// How the player reads it: "classic", "dark", "high contrast".
constexpr const char* ThemeName(Theme theme) {
    return theme == Theme::Dark ? "dark" : theme == Theme::HighContrast ? "high contrast" : "classic";
}

constexpr Palette DarkPalette() {
    Palette p = ClassicPalette();
    p.boardBackdrop = 0xFF596173;  // the gaps between the boxes, lighter than the faces
    p.givenValue = 0xFFA8C8FF;     // light blue
    p.playerValue = 0xFFEEF1F5;
    p.clashValue = 0xFFFFA3A3;  // light red, with the mark beside it
    p.note = 0xFFB8C4D4;
    p.sameValueTint = 0xFF1E1F7C;  // deep indigo, dark enough under every text
    p.clashMark = 0xFFFF4D4D;
    p.clashMarkAlways = true;
    p.keyboardFrame = 0xFF2ED9C3;   // turquoise
    p.mistakeMark = 0xFF0077FF;     // a bright blue bar, apart from every other mark
    p.hintStrongLink = 0xFF0088AA;  // teal, solid
    p.hintWeakLink = 0xFF009988;    // sea green, dashed
    p.hintUnit = 0x30A89A20;        // a faint olive over the dark faces
    p.hintPattern = 0xFFFFA630;     // orange
    p.hintTarget = 0xFF5AA9FF;      // blue
    p.hintTargetFill = 0x300080FF;  // translucent blue
    p.pickerAllowed = 0xFFEEF1F5;
    p.pickerClash = 0xFFFF8A8A;
    p.caption = 0xFFFF8A8A;
    return p;
}

constexpr Palette HighContrastPalette() {
    constexpr std::uint32_t white = 0xFFFFFFFF, yellow = 0xFFFFFF00;
    Palette p = ClassicPalette();
    p.boardBackdrop = white;  // white lines between the black boxes
    p.givenValue = white;
    p.playerValue = yellow;
    p.clashValue = 0xFFFFB0B0;  // light red, with the mark beside it
    p.note = 0xFFD8D8D8;
    p.sameValueTint = 0xFF100383;  // deep blue
    p.clashMark = 0xFFFF3B3B;
    p.clashMarkAlways = true;
    p.keyboardFrame = 0xFF00FFFF;   // cyan
    p.mistakeMark = 0xFF0055FF;     // a vivid blue bar, apart from every other mark
    p.hintStrongLink = 0xFF00CC77;  // green, solid
    p.hintWeakLink = 0xFF007777;    // dark teal, dashed
    p.hintUnit = 0x28FFFF00;        // a faint yellow over the black faces
    p.hintPattern = 0xFFFF9900;     // orange
    p.hintTarget = 0xFF4DA6FF;      // blue
    p.hintTargetFill = 0x301E6FD9;  // translucent blue
    p.pickerHovered = white;
    p.pickerButton = white;  // the black buttons stay opaque
    p.pickerAllowed = white;
    p.pickerClash = 0xFFFFB0B0;
    p.statusText = white;
    p.warning = yellow;
    p.helpPanel = 0xFF000000;
    p.helpKey = yellow;
    p.helpText = white;
    p.caption = white;
    return p;
}

constexpr Palette PaletteOf(Theme theme) {
    return theme == Theme::Dark           ? DarkPalette()
           : theme == Theme::HighContrast ? HighContrastPalette()
                                          : ClassicPalette();
}

// Menu items keep the colours they were made with, so a theme switched while a menu is
// shown leaves them as they are: every theme draws the menus' items alike.
constexpr bool SameMenuColours(const Palette& a, const Palette& b) {
    return a.menuItem == b.menuItem && a.menuItemFocused == b.menuItemFocused &&
           a.menuItemShadow == b.menuItemShadow;
}
static_assert(SameMenuColours(DarkPalette(), ClassicPalette()) &&
                  SameMenuColours(HighContrastPalette(), ClassicPalette()),
              "menu items keep their colours when the theme changes");

// The data files a theme draws with, in the order of ThemeImages.
struct ThemeImages {
    const char* background;
    const char* cursor;
    const char* plainFace;
    const char* hoveredFace;
    const char* button;
};

constexpr ThemeImages ImagesOf(Theme theme) {
    switch (theme) {
        case Theme::Dark:
            return {"bgp-dark.jpg", "cursor-dark.png", "unselect-dark.bmp", "select-dark.bmp",
                    "circle2-dark.png"};
        case Theme::HighContrast:
            return {"bgp-high-contrast.jpg", "cursor-high-contrast.png", "unselect-high-contrast.bmp",
                    "select-high-contrast.bmp", "circle2-high-contrast.png"};
        case Theme::Classic:
            break;
    }
    return {"bgp.jpg", "cursor.png", "unselect.bmp", "select.bmp", "circle2.png"};
}
