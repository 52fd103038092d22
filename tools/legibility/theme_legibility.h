// How legible a theme is, computed from its palette (gfx/themes.h) and the cell face images
// it draws with: the least contrast (WCAG 2 relative luminance) of each text of the board
// against every cell it can lie on (plain and hovered face, top and bottom of their
// gradient, bare or under the same-value tint, a hint's unit tint or target fill), the least
// colour difference (CIE 1976 delta E) between any two marks on the board (same-value tint,
// hint unit tint, hint target fill, keyboard frame, hint pattern frame, hint target frame,
// clash mark) for normal eyes and under a simulation of deuteranopia and protanopia
// (Machado, Oliveira and Fernandes 2009, severity 1), and how far each fill stands off its
// face. Shared by the theme-legibility tool, which prints them, and the tests, which hold
// the themes to their figures. Reads the face images with SDL_image from the current folder.
#pragma once

#include "gfx/themes.h"

enum BoardText { GivenText, PlayerText, ClashText, NoteText, BoardTextCount };
enum Vision { NormalVision, Deuteranopia, Protanopia, VisionCount };

struct ThemeLegibility {
    bool facesRead = false;                 // both face images were found and decoded
    double leastContrast[BoardTextCount];   // of each text over every cell it can lie on
    double leastMarkDistance[VisionCount];  // between any two marks, as each vision sees them
    double leastFillShown;                  // between a fill (tint, unit, target) and its face
};

ThemeLegibility MeasureTheme(Theme theme);
