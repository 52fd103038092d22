// Golden screens: what the recording engine drew in one frame, as a person reads it,
// in drawing order, compared with a file kept under tests/golden/. A run of glyphs of
// one font on one line is one "text" line (font image, scale, colour, left..right, top,
// the text); any other quad is one "sprite" line (image, corner, size, colour, blend,
// and the texture coordinates when not the whole image). A changed word is one changed
// line. With VELTRANE_REGENERATE_GOLDEN=1 in the environment the files are written
// instead of compared: review the change with `git diff tests/golden`.
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
