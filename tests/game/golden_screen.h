// Golden screens: what the recording engine drew in one frame, written as compact
// text (one line per quad, in drawing order) and compared with a file kept under
// tests/golden/. A line holds the texture's file name (never its handle), the four
// corners rounded to a tenth of a pixel, the texture coordinates of the first and
// third corners, the colour in hex (one value, or four when the corners differ) and
// the blend mode. With VELTRANE_REGENERATE_GOLDEN=1 in the environment the files
// are written instead of compared: review the change with `git diff tests/golden`.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_engine.h"

// The quads of the engine's last scene, one line each.
std::string DescribeScene(const RecordingEngine& engine);

// Compares text with tests/golden/<name>.txt; on a difference the message shows the
// first differing lines. Writes the file instead when regeneration is asked for.
::testing::AssertionResult MatchesGoldenFile(const std::string& name, const std::string& text);
