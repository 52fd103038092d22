// High-resolution companions of the game's images. Beside "font1.png" may lie
// "font1@2x.png" and "font1@4x.png": the same picture drawn at two and four times
// the size, every feature at its scaled place. When the game's picture is scaled
// up to fill a large or dense output, the engine draws from the companion that
// suits the output's scale instead of magnifying the 1x image, while the game keeps
// working in the 1x image's pixels (its size and its texture coordinates).
// This module names companions and chooses between them; pure functions, no state.
#pragma once

#include <string>
#include <vector>

// The factors a companion may have, smallest first.
constexpr int kCompanionFactors[] = {2, 4};

// The companion's file name: "@<factor>x" before the extension of the last path
// element ("data/font1.png" gives "data/font1@2x.png"), or at the end when it has none.
std::string CompanionName(const std::string& name, int factor);

// The scale at which the game's width x height is drawn into an output of
// outputWidth x outputHeight with its proportions kept; 1 when a size is not positive.
double OutputScale(int outputWidth, int outputHeight, int width, int height);

// The factor to draw at, among 1 (the image itself) and the companions' factors in
// available: the smallest at or above scale, else the largest there is.
int ChooseCompanionFactor(double scale, const std::vector<int>& available);
