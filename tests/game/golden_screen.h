// Golden screens: what the recording engine drew in one frame, as a person reads it,
// compared with a file kept under tests/golden/. When the frame holds the board, its
// cells come first as 16 x 16 grids, one a layer: faces, values, the values' colours,
// marks, and the notes a line per cell; each letter's look (image, colour, blend) is in
// its layer's legend, so a changed value is one changed character. Then every quad in
// drawing order: the board's cells as "cells" lines, a run of glyphs of one font on
// one line as a "text" line (font image, scale, colour, left..right, top, the text),
// any other quad as a "sprite" line (image, corner, size, colour, blend, and the
// texture coordinates when not the whole image). A cell quad off the board's pattern
// (another spot, size, scale or layout, texture coordinates, several colours) is listed
// as an ordinary quad where it was drawn, so every change of a quad shows. The first
// font draws the cells' values, the second their notes. With VELTRANE_REGENERATE_GOLDEN=1
// in the environment the files are written instead of compared: review the change with
// `git diff tests/golden`.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/font.h"
#include "support/recording_engine.h"

// The engine's last scene; glyphs are told by the fonts' glyph tables.
std::string DescribeScene(const RecordingEngine& engine, const std::vector<const gkFont*>& fonts);

// Compares text with tests/golden/<name>.txt; on a difference the message shows the
// first differing lines. Writes the file instead when regeneration is asked for.
::testing::AssertionResult MatchesGoldenFile(const std::string& name, const std::string& text);
