#include "game/golden_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// A number rounded to the given decimals, without a "-0".
std::string Rounded(float value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(static_cast<double>(value) * scale) / scale;
    if (rounded == 0.0) rounded = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
    return text;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// The file name of a texture, without its folder; "-" when the quad has none.
std::string TextureName(const RecordingEngine& engine, HTEXTURE texture) {
    if (texture == 0) return "-";
    const auto found = engine.textures.find(texture);
    if (found == engine.textures.end()) return "?";
    const std::string& name = found->second.name;
    return name.substr(name.find_last_of("/\\") + 1);
}

std::string DescribeQuad(const RecordingEngine& engine, const Quad& q) {
    std::string line = TextureName(engine, q.tex);
    for (const Vertex& v : q.v) line += " " + Rounded(v.x, 1) + "," + Rounded(v.y, 1);
    line += " uv " + Rounded(q.v[0].tx, 3) + "," + Rounded(q.v[0].ty, 3) + " " + Rounded(q.v[2].tx, 3) + "," +
            Rounded(q.v[2].ty, 3);
    const bool oneColour = q.v[1].col == q.v[0].col && q.v[2].col == q.v[0].col && q.v[3].col == q.v[0].col;
    line += " " + Hex(q.v[0].col);
    if (!oneColour) {
        for (int i = 1; i < 4; ++i) line += "/" + Hex(q.v[i].col);
    }
    line += " b" + std::to_string(q.blend);
    return line;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string GoldenPath(const std::string& name) {
    return std::string(VELTRANE_TESTS_DIR) + "/golden/" + name + ".txt";
}

bool Regenerating() {
    const char* value = std::getenv("VELTRANE_REGENERATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

// The first few lines where the two texts differ, numbered from 1.
std::string FirstDifferences(const std::vector<std::string>& expected,
                             const std::vector<std::string>& actual) {
    constexpr int Shown = 5;
    std::ostringstream out;
    int shown = 0;
    const std::size_t n = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < n && shown < Shown; ++i) {
        const std::string* e = i < expected.size() ? &expected[i] : nullptr;
        const std::string* a = i < actual.size() ? &actual[i] : nullptr;
        if (e && a && *e == *a) continue;
        out << "line " << i + 1 << ":\n  expected: " << (e ? *e : "(no line)")
            << "\n  actual:   " << (a ? *a : "(no line)") << "\n";
        ++shown;
    }
    return out.str();
}

}  // namespace

std::string DescribeScene(const RecordingEngine& engine) {
    std::string text;
    for (const Quad& q : engine.quads) text += DescribeQuad(engine, q) + "\n";
    return text;
}

::testing::AssertionResult MatchesGoldenFile(const std::string& name, const std::string& text) {
    const std::string path = GoldenPath(name);
    if (Regenerating()) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ::testing::AssertionFailure()
               << "no golden file " << path << " (VELTRANE_REGENERATE_GOLDEN=1 writes it)";
    }
    std::ostringstream golden;
    golden << in.rdbuf();
    const std::vector<std::string> expected = Lines(golden.str()), actual = Lines(text);
    if (expected == actual) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "screen \"" << name << "\" differs from " << path << " (" << expected.size()
           << " lines expected, " << actual.size() << " drawn); first differences:\n"
           << FirstDifferences(expected, actual)
           << "If the change is meant, run with VELTRANE_REGENERATE_GOLDEN=1 and review the diff.";
}
