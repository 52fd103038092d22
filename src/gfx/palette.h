// The game's colours, one member a role: every value the board, its aids, the picker,
// the lines under the board, the help, the menus and the screens' captions are drawn
// in (ARGB). A palette is a plain value: the draw functions take the one they are to
// use, so another palette (a theme) can take its place at run time without a change
// anywhere else. ClassicPalette() is the game's look; it lives in gfx/ so that the
// GUI, below the play screen, draws from it too. Owns nothing.
#pragma once

#include <cstdint>

// The tint that leaves a texture's colours as they are (every sprite starts with it).
constexpr std::uint32_t Untinted = 0xFFFFFFFF;

struct Palette {
    // The board.
    std::uint32_t boardBackdrop;  // the square behind the cells, seen in the gaps
    std::uint32_t givenValue;     // a given's value
    std::uint32_t playerValue;    // a value the player wrote that clashes with no peer
    std::uint32_t clashValue;     // a value the player wrote that clashes with a peer
    std::uint32_t note;           // the small notes in an empty cell
    std::uint32_t sameValueTint;  // the square under the values equal to the focus cell's
    std::uint32_t clashMark;      // the triangle in a clashing cell's top-right corner
    // The clash mark is drawn whatever the switch says (red is then never the only sign).
    bool clashMarkAlways;
    std::uint32_t keyboardFrame;  // the keyboard cell's outline
    std::uint32_t mistakeMark;    // the bar under a value proven wrong
    // What a hint marks on the board.
    std::uint32_t hintUnit;        // the tint over the cells of the step's units
    std::uint32_t hintPattern;     // the outline of the pattern's cells
    std::uint32_t hintTarget;      // the frame of the placed cell and the bars over struck notes
    std::uint32_t hintTargetFill;  // the fill of the cells the step changes
    std::uint32_t hintStrongLink;  // a chain's strong links (solid) and their ends
    std::uint32_t hintWeakLink;    // a chain's weak links (dashed) and their ends
    // The value picker's ring.
    std::uint32_t pickerHovered;  // the tint of the hovered button (and of the blank one)
    std::uint32_t pickerButton;   // the tint of the other buttons
    std::uint32_t pickerAllowed;  // a button's label when its value is allowed in the cell
    std::uint32_t pickerClash;    // a button's label when its value clashes there
    // The lines under the board and the menus' lines of the same look.
    std::uint32_t statusText;
    std::uint32_t warning;  // a failed save, a refused paste, the dead-end warning
    // The help overlay.
    std::uint32_t helpPanel;
    std::uint32_t helpTitle;  // its title and closing line
    std::uint32_t helpKey;    // the keys' column
    std::uint32_t helpText;   // the actions' column
    // The menus' items.
    std::uint32_t menuItem;
    std::uint32_t menuItemFocused;
    std::uint32_t menuItemShadow;
    // The screens' own text.
    std::uint32_t caption;  // the play screen's mouse caption
    std::uint32_t credits;
};

// argb with its alpha replaced: the same colour, more or less see-through.
constexpr std::uint32_t WithAlpha(std::uint32_t argb, std::uint32_t alpha) {
    return (alpha << 24) | (argb & 0x00FFFFFF);
}

constexpr Palette ClassicPalette() {
    constexpr std::uint32_t red = 0xFFEE0000, black = 0xFF000000, white = 0xFFFFFFFF;
    Palette p{};
    p.boardBackdrop = 0xFFAAAAAA;
    p.givenValue = 0xFF0000DD;
    p.playerValue = black;
    p.clashValue = red;
    p.note = 0xFF2E4057;           // calm dark slate, apart from the black and blue values
    p.sameValueTint = 0xFFDDD5FF;  // light lavender
    p.clashMark = red;
    p.clashMarkAlways = false;      // the X switch decides
    p.keyboardFrame = 0xFF00806A;   // green
    p.mistakeMark = 0xFFB0307A;     // deep reddish purple, a bar: apart from the red corner of a clash
    p.hintUnit = 0x80F0E442;        // translucent yellow
    p.hintPattern = 0xFFD55E00;     // vermillion orange
    p.hintTarget = 0xFF0072B2;      // blue
    p.hintTargetFill = 0x6056B4E9;  // translucent sky blue
    p.hintStrongLink = 0xFFCC79A7;  // reddish purple
    p.hintWeakLink = 0xFF009E73;    // bluish green
    p.pickerHovered = white;
    p.pickerButton = WithAlpha(white, 0xBB);
    p.pickerAllowed = WithAlpha(black, 0xEE);
    p.pickerClash = WithAlpha(red, 0xEE);
    p.statusText = 0xFFB4C3CC;
    // Amber, bright against the dark background and told from the grey lines by
    // lightness too (the words carry the meaning).
    p.warning = 0xFFFFB020;
    p.helpPanel = 0xFF142630;
    p.helpTitle = white;
    p.helpKey = 0xFFFFD27A;
    p.helpText = 0xFFE8EEF2;
    p.menuItem = 0xFFFFE060;  // gold
    p.menuItemFocused = white;
    p.menuItemShadow = WithAlpha(black, 0x30);
    p.caption = red;
    p.credits = white;
    return p;
}
