#include "game/golden_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <utility>
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

// Texture coordinates as a map key: glyph corners lie on whole texels.
std::int64_t UvKey(HTEXTURE texture, float tx, float ty) {
    const auto round = [](float v) { return static_cast<std::int64_t>(std::lround(v * 65536.0f)); };
    return (static_cast<std::int64_t>(texture) << 40) ^ (round(tx) << 20) ^ round(ty);
}

// The character each glyph quad of the fonts stands for, by texture and corner.
struct GlyphTable {
    std::map<std::int64_t, std::pair<char, float>> glyphs;  // character and its height at scale 1

    explicit GlyphTable(const std::vector<const gkFont*>& fonts) {
        for (const gkFont* font : fonts) {
            if (!font) continue;
            for (int c = 32; c < 127; ++c) {
                const gkSprite* glyph = font->Glyph(static_cast<unsigned char>(c));
                if (!glyph) continue;
                const Quad& q = glyph->GetQuad();
                glyphs.emplace(UvKey(font->Texture(), q.v[0].tx, q.v[0].ty),
                               std::make_pair(static_cast<char>(c), glyph->GetHeight()));
            }
        }
    }
    const std::pair<char, float>* Find(const Quad& q) const {
        const auto found = glyphs.find(UvKey(q.tex, q.v[0].tx, q.v[0].ty));
        return found == glyphs.end() ? nullptr : &found->second;
    }
};

// One quad as a sprite: image, left-top corner, size, colour (four when the corners
// differ), blend mode, and the texture coordinates when they are not the whole image.
std::string DescribeSprite(const RecordingEngine& engine, const Quad& q) {
    std::string line = "sprite " + TextureName(engine, q.tex) + " " + Rounded(q.v[0].x, 1) + "," +
                       Rounded(q.v[0].y, 1) + " " + Rounded(q.v[2].x - q.v[0].x, 1) + "x" +
                       Rounded(q.v[2].y - q.v[0].y, 1) + " " + Hex(q.v[0].col);
    const bool oneColour = q.v[1].col == q.v[0].col && q.v[2].col == q.v[0].col && q.v[3].col == q.v[0].col;
    if (!oneColour) {
        for (int i = 1; i < 4; ++i) line += "/" + Hex(q.v[i].col);
    }
    const bool axisAligned = q.v[1].y == q.v[0].y && q.v[3].x == q.v[0].x && q.v[1].x == q.v[2].x;
    if (!axisAligned) {
        for (const Vertex& v : q.v) line += " " + Rounded(v.x, 1) + "," + Rounded(v.y, 1);
    }
    const bool wholeImage = q.v[0].tx == 0 && q.v[0].ty == 0 && q.v[2].tx == 1 && q.v[2].ty == 1;
    if (q.tex != 0 && !wholeImage) {
        line += " uv " + Rounded(q.v[0].tx, 3) + "," + Rounded(q.v[0].ty, 3) + "-" + Rounded(q.v[2].tx, 3) + "," +
                Rounded(q.v[2].ty, 3);
    }
    return line + " b" + std::to_string(q.blend);
}

// A run of glyphs of one font, colour, scale and line: font image, scale, colour, the
// run's left and right edges, its top, and the text.
struct TextRun {
    HTEXTURE texture = 0;
    std::uint32_t colour = 0;
    float scale = 0, left = 0, right = 0, top = 0;
    std::string text;
    float lastLeft = 0;  // the last glyph's left edge: glyphs of a line move right

    bool Continues(const Quad& q, float glyphScale) const {
        return q.tex == texture && q.v[0].col == colour && std::fabs(q.v[0].y - top) < 0.5f &&
               std::fabs(glyphScale - scale) < 0.01f && q.v[0].x > lastLeft;
    }
    std::string Describe(const RecordingEngine& engine) const {
        return "text " + TextureName(engine, texture) + " " + Rounded(scale, 2) + " " + Hex(colour) + " x " +
               Rounded(left, 1) + ".." + Rounded(right, 1) + " y " + Rounded(top, 1) + " \"" + text + "\"";
    }
};


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

std::string DescribeScene(const RecordingEngine& engine, const std::vector<const gkFont*>& fonts) {
    const GlyphTable table(fonts);
    std::string text;
    TextRun run;
    const auto endRun = [&] {
        if (!run.text.empty()) text += run.Describe(engine) + "\n";
        run = TextRun{};
    };
    for (const Quad& q : engine.quads) {
        const auto* glyph = table.Find(q);
        if (!glyph || glyph->second <= 0) {
            endRun();
            text += DescribeSprite(engine, q) + "\n";
            continue;
        }
        const float scale = (q.v[2].y - q.v[0].y) / glyph->second;
        if (!run.Continues(q, scale)) {
            endRun();
            run = TextRun{q.tex, q.v[0].col, scale, q.v[0].x, q.v[0].x, q.v[0].y, "", q.v[0].x};
        }
        run.text += glyph->first;
        run.right = std::max(run.right, q.v[2].x);
        run.lastLeft = q.v[0].x;
    }
    endRun();
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
