#include "game/golden_screen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

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

// A number to three decimals with the trailing zeros dropped: "7", "7.25".
std::string Short(float value) {
    std::string text = Rounded(value, 3);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// Short with its sign: "+7", "-1.5".
std::string Signed(float value) {
    const std::string text = Short(value);
    return text[0] == '-' ? text : "+" + text;
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

// A glyph of one of the fonts: the font's place in the list, its character and sprite.
struct Glyph {
    std::size_t font = 0;
    char character = 0;
    const gkSprite* sprite = nullptr;
    float preOffset = 0;
};

// The glyph each quad drawn from the fonts' images stands for, by texture and corner.
struct GlyphTable {
    std::map<std::int64_t, Glyph> glyphs;

    explicit GlyphTable(const std::vector<const gkFont*>& fonts) {
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            if (!fonts[f]) continue;
            for (int c = 32; c < 127; ++c) {
                const auto byte = static_cast<unsigned char>(c);
                const gkSprite* glyph = fonts[f]->Glyph(byte);
                if (!glyph) continue;
                const Quad& q = glyph->GetQuad();
                glyphs.emplace(UvKey(fonts[f]->Texture(), q.v[0].tx, q.v[0].ty),
                               Glyph{f, static_cast<char>(c), glyph, fonts[f]->PreOffset(byte)});
            }
        }
    }
    // The glyph a quad draws; none for a quad of another image or of an empty glyph.
    const Glyph* Find(const Quad& q) const {
        const auto found = glyphs.find(UvKey(q.tex, q.v[0].tx, q.v[0].ty));
        if (found == glyphs.end() || found->second.sprite->GetHeight() <= 0) return nullptr;
        return &found->second;
    }
};

bool OneColour(const Quad& q) {
    return q.v[1].col == q.v[0].col && q.v[2].col == q.v[0].col && q.v[3].col == q.v[0].col;
}
bool AxisAligned(const Quad& q) {
    return q.v[1].y == q.v[0].y && q.v[3].x == q.v[0].x && q.v[1].x == q.v[2].x && q.v[3].y == q.v[2].y;
}
bool WholeImage(const Quad& q) {
    return q.v[0].tx == 0 && q.v[0].ty == 0 && q.v[2].tx == 1 && q.v[2].ty == 1 && q.v[1].tx == 1 &&
           q.v[1].ty == 0 && q.v[3].tx == 0 && q.v[3].ty == 1;
}
float Width(const Quad& q) {
    return q.v[2].x - q.v[0].x;
}
float Height(const Quad& q) {
    return q.v[2].y - q.v[0].y;
}
bool Near(float a, float b, float tolerance = 0.001f) {
    return std::fabs(a - b) < tolerance;
}

// One quad as a sprite: image, left-top corner, size, colour (four when the corners
// differ), blend mode, and the texture coordinates when they are not the whole image.
std::string DescribeSprite(const RecordingEngine& engine, const Quad& q) {
    std::string line = "sprite " + TextureName(engine, q.tex) + " " + Rounded(q.v[0].x, 1) + "," +
                       Rounded(q.v[0].y, 1) + " " + Rounded(Width(q), 1) + "x" + Rounded(Height(q), 1) + " " +
                       Hex(q.v[0].col);
    if (!OneColour(q)) {
        for (int i = 1; i < 4; ++i) line += "/" + Hex(q.v[i].col);
    }
    if (!(q.v[1].y == q.v[0].y && q.v[3].x == q.v[0].x && q.v[1].x == q.v[2].x)) {
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

// ---- The board -------------------------------------------------------------------
//
// The board as the view lays it out: 16 x 16 cells of 30 px, the first at 157,107, two
// pixels more before each box of 4, drawn column by column, each column top to bottom.
// A cell draws its face (30 x 30 on its corner), a mark (26 x 26, 2 px in), its notes in
// value order (a 4 x 4 layout of 7 px slots) and its value. The layout is written down
// here, not asked of the game, so that a change to it shows.

constexpr int Side = 16;
constexpr int BoxSide = 4;
constexpr float CellSide = 30, BoxGap = 2, FirstCellX = 157, FirstCellY = 107;
constexpr float MarkInset = 2;
constexpr float NoteSlot = 7;
constexpr int NoteSlotsPerLine = 4;
constexpr const char* ValueCharacters = "123456789ABCDEFG";
// The board is described as one when at least this many faces fit its pattern.
constexpr int FacesOfABoard = Side * Side / 2;

float CellCorner(float first, int index) {
    return first + CellSide * static_cast<float>(index) + BoxGap * static_cast<float>(index / BoxSide);
}

// The index along one axis of the cell holding coordinate p; -1 for a box gap or off the board.
int CellIndexAt(float first, float p) {
    for (int i = 0; i < Side; ++i) {
        const float corner = CellCorner(first, i);
        if (p >= corner && p < corner + CellSide) return i;
    }
    return -1;
}

// What a quad draws on a cell. Its order is the place the board's drawing gives it.
enum Part { FacePart = 0, MarkPart = 1, FirstNotePart = 2, ValuePart = FirstNotePart + Side };

struct CellItem {
    int across = 0, down = 0;  // screen column and row
    int part = FacePart;       // a note's part is FirstNotePart + its slot
    char character = 0;        // a value's or a note's
    std::string look;          // face and mark: image, colour, blend; glyph: colour, blend
    std::string layout;        // glyph: where the glyphs of its layer sit in the cell, and their scale

    bool IsGlyph() const { return part >= FirstNotePart; }
    bool IsNote() const { return part >= FirstNotePart && part < ValuePart; }
    int Order() const { return (across * Side + down) * (ValuePart + 1) + part; }
    std::string Name() const {
        const std::string cell = std::to_string(down) + "," + std::to_string(across) + " ";
        if (part == FacePart) return cell + "face";
        if (part == MarkPart) return cell + "mark";
        return cell + (IsNote() ? "note " : "value ") + character;
    }
};

std::string ColourLook(const Quad& q) {
    return Hex(q.v[0].col) + " b" + std::to_string(q.blend);
}

// A quad that is a cell's face or mark: one colour, upright, the whole image (or none),
// of the right size on the right spot.
std::optional<CellItem> FaceOrMark(const RecordingEngine& engine, const Quad& q) {
    if (!OneColour(q) || !AxisAligned(q) || (q.tex != 0 && !WholeImage(q))) return std::nullopt;
    for (const int part : {FacePart, MarkPart}) {
        const float inset = part == FacePart ? 0.0f : MarkInset, side = CellSide - 2 * inset;
        if (!Near(Width(q), side) || !Near(Height(q), side)) continue;
        const int across = CellIndexAt(FirstCellX, q.v[0].x - inset),
                  down = CellIndexAt(FirstCellY, q.v[0].y - inset);
        if (across < 0 || down < 0 || !Near(q.v[0].x, CellCorner(FirstCellX, across) + inset) ||
            !Near(q.v[0].y, CellCorner(FirstCellY, down) + inset))
            continue;
        return CellItem{across, down, part, 0, TextureName(engine, q.tex) + " " + ColourLook(q), ""};
    }
    return std::nullopt;
}

// A glyph of the first font (values) or the second (notes) inside a cell, drawn whole:
// one colour, upright, its own texture coordinates and width at its scale. Its layout is
// its corner less the cell's corner, its own offset and (for a note) its slot.
std::optional<CellItem> CellGlyph(const Glyph& glyph, const Quad& q) {
    const char* value = glyph.character ? std::strchr(ValueCharacters, glyph.character) : nullptr;
    if (glyph.font > 1 || !value || !OneColour(q) || !AxisAligned(q)) return std::nullopt;
    const Quad& model = glyph.sprite->GetQuad();
    for (int i = 0; i < 4; ++i) {
        if (!Near(q.v[i].tx, model.v[i].tx, 1e-6f) || !Near(q.v[i].ty, model.v[i].ty, 1e-6f))
            return std::nullopt;
    }
    const float scale = Height(q) / glyph.sprite->GetHeight();
    if (!Near(Width(q), glyph.sprite->GetWidth() * scale)) return std::nullopt;
    const int across = CellIndexAt(FirstCellX, q.v[0].x), down = CellIndexAt(FirstCellY, q.v[0].y);
    if (across < 0 || down < 0) return std::nullopt;
    const int slot = static_cast<int>(value - ValueCharacters);
    const bool note = glyph.font == 1;
    const float slotX = note ? NoteSlot * static_cast<float>(slot % NoteSlotsPerLine) : 0.0f;
    const float slotY = note ? NoteSlot * static_cast<float>(slot / NoteSlotsPerLine) : 0.0f;
    const float insetX = q.v[0].x - CellCorner(FirstCellX, across) - glyph.preOffset * scale - slotX;
    const float insetY = q.v[0].y - CellCorner(FirstCellY, down) - slotY;
    std::string layout =
        "at " + Signed(insetX) + "," + Signed(insetY) + " from the cell's corner, scale " + Short(scale);
    const std::string look = ColourLook(q);
    if (note) layout += ", " + look;  // the notes have one colour; a note of another stands apart
    return CellItem{across, down, note ? FirstNotePart + slot : ValuePart, glyph.character, look, layout};
}

// The layout most glyphs of one layer share (the first seen of those most shared).
std::string CommonLayout(const std::vector<std::optional<CellItem>>& items, bool notes) {
    std::map<std::string, int> counts;
    std::string best;
    int bestCount = 0;
    for (const auto& item : items) {
        if (!item || !item->IsGlyph() || item->IsNote() != notes) continue;
        const int count = ++counts[item->layout];
        if (count > bestCount) {
            best = item->layout;
            bestCount = count;
        }
    }
    return best;
}

// Per quad, the cell item it draws when it fits the board's pattern: its layer's common
// layout, and a place after the items drawn before it. Empty when no board is drawn.
std::vector<std::optional<CellItem>> BoardItems(const RecordingEngine& engine, const GlyphTable& table) {
    std::vector<std::optional<CellItem>> items;
    for (const Quad& q : engine.quads) {
        const Glyph* glyph = table.Find(q);
        items.push_back(glyph ? CellGlyph(*glyph, q) : FaceOrMark(engine, q));
    }
    const std::string valueLayout = CommonLayout(items, false), noteLayout = CommonLayout(items, true);
    int last = -1, faces = 0;
    for (auto& item : items) {
        if (!item) continue;
        const bool laidOut = !item->IsGlyph() || item->layout == (item->IsNote() ? noteLayout : valueLayout);
        if (!laidOut || item->Order() <= last) {
            item.reset();
            continue;
        }
        last = item->Order();
        faces += item->part == FacePart;
    }
    if (faces < FacesOfABoard) items.assign(items.size(), std::nullopt);
    return items;
}

// Letters for the looks of one layer: the looks named here keep their letter; others get
// the next free one. Entries() names the letters used.
class Legend {
public:
    explicit Legend(std::map<std::string, char> named) : named(std::move(named)) {}
    char LetterOf(const std::string& look) {
        const auto found = letters.find(look);
        if (found != letters.end()) return found->second;
        const auto known = named.find(look);
        char letter = known != named.end() ? known->second : '#';
        for (const char* c = "abcdefhijklmnopqwxyz"; letter == '#' && *c; ++c) {
            if (!Taken(*c)) letter = *c;
        }
        letters[look] = letter;
        return letter;
    }
    std::string Entries() const {
        std::map<char, std::string> byLetter;
        for (const auto& [look, letter] : letters)
            byLetter[letter] += (byLetter[letter].empty() ? "" : " / ") + look;
        std::string text;
        for (const auto& [letter, look] : byLetter)
            text += std::string(text.empty() ? "" : ", ") + letter + " " + look;
        return text;
    }

private:
    bool Taken(char c) const {
        for (const auto& entry : named) {
            if (entry.second == c) return true;
        }
        for (const auto& entry : letters) {
            if (entry.second == c) return true;
        }
        return false;
    }
    std::map<std::string, char> named;
    std::map<std::string, char> letters;
};

// What the regular items drew on each cell, by screen row and column.
struct CellDrawing {
    std::string face, mark, valueLook, notes;
    char value = 0;
};
struct BoardDrawing {
    std::array<std::array<CellDrawing, Side>, Side> cells{};  // [down][across]
    std::string valueLayout, noteLayout;                      // empty when no value, no note is drawn
    bool marks = false;

    explicit BoardDrawing(const std::vector<std::optional<CellItem>>& items) {
        for (const auto& item : items) {
            if (item) Add(*item);
        }
    }
    void Add(const CellItem& item) {
        CellDrawing& cell = cells[static_cast<std::size_t>(item.down)][static_cast<std::size_t>(item.across)];
        if (item.part == FacePart) cell.face = item.look;
        if (item.part == MarkPart) {
            cell.mark = item.look;
            marks = true;
        }
        if (item.IsNote()) {
            cell.notes += std::string(cell.notes.empty() ? "" : " ") + item.character;
            noteLayout = item.layout;
        }
        if (item.part == ValuePart) {
            cell.value = item.character;
            cell.valueLook = item.look;
            valueLayout = item.layout;
        }
    }
};

// One text row per screen row, a space between boxes; letter(cell) gives each cell's character.
template <typename Letter>
std::string Grid(const BoardDrawing& board, Letter&& letter) {
    std::string text;
    for (const auto& row : board.cells) {
        for (int across = 0; across < Side; ++across) {
            if (across > 0 && across % BoxSide == 0) text += ' ';
            text += letter(row[static_cast<std::size_t>(across)]);
        }
        text += '\n';
    }
    return text;
}

// A layer told by letters: its title and legend, then its grid. look(cell) is the cell's
// look in this layer, empty for none (drawn as blank).
template <typename Look>
std::string LetterLayer(const std::string& title, Legend legend, char blank, const BoardDrawing& board,
                        Look&& look) {
    const std::string grid = Grid(board, [&](const CellDrawing& cell) {
        const std::string& its = look(cell);
        return its.empty() ? blank : legend.LetterOf(its);
    });
    return title + ": " + legend.Entries() + ", " + blank + " none\n" + grid;
}

// The notes, a line for each cell that has any: "row,column: 1 5 A".
std::string NoteLines(const BoardDrawing& board) {
    std::string text;
    for (int down = 0; down < Side; ++down) {
        for (int across = 0; across < Side; ++across) {
            const std::string& notes =
                board.cells[static_cast<std::size_t>(down)][static_cast<std::size_t>(across)].notes;
            if (!notes.empty())
                text += std::to_string(down) + "," + std::to_string(across) + ": " + notes + "\n";
        }
    }
    return text;
}

// A font's glyphs for the values 1-G: each one's own offset and size.
std::string GlyphMetrics(const RecordingEngine& engine, const gkFont* font) {
    std::string text = TextureName(engine, font->Texture()) + " glyphs (own offset, size):";
    for (const char* c = ValueCharacters; *c; ++c) {
        const gkSprite* glyph = font->Glyph(static_cast<unsigned char>(*c));
        text += std::string(" ") + *c;
        if (!glyph) {
            text += " none";
            continue;
        }
        text += " " + Signed(font->PreOffset(static_cast<unsigned char>(*c))) + " " +
                Short(glyph->GetWidth()) + "x" + Short(glyph->GetHeight());
    }
    return text + "\n";
}

// The layers of the board: faces, values and their colours, marks and notes, each a grid
// (the notes a line per cell that has any), with legends giving each letter's look.
std::string DescribeBoard(const RecordingEngine& engine, const std::vector<const gkFont*>& fonts,
                          const std::vector<std::optional<CellItem>>& items) {
    const BoardDrawing board(items);
    std::string text =
        "board: 16 x 16 cells of 30 px from 157,107, 2 px more between boxes, drawn column by column; "
        "grids by screen row and column, row,column from 0 at the top left\n";
    text += LetterLayer("faces", Legend({{"unselect.bmp ffffffff b2", 'u'}, {"select.bmp ffffffff b2", 's'}}),
                        '-', board, [](const CellDrawing& c) -> const std::string& { return c.face; });
    if (!board.valueLayout.empty()) {
        text +=
            "values: " + TextureName(engine, fonts[0]->Texture()) + " " + board.valueLayout + ", . none\n";
        text += Grid(board, [](const CellDrawing& c) { return c.value ? c.value : '.'; });
        text += LetterLayer("value colours",
                            Legend({{"ff0000dd b2", 'g'}, {"ff000000 b2", 'v'}, {"ffee0000 b2", 'r'}}), '.',
                            board, [](const CellDrawing& c) -> const std::string& { return c.valueLook; });
    }
    if (board.marks) {
        text += LetterLayer("marks", Legend({{"- ffddd5ff b2", 't'}}), '.', board,
                            [](const CellDrawing& c) -> const std::string& { return c.mark; });
    }
    if (!board.noteLayout.empty()) {
        text += "notes: " + TextureName(engine, fonts[1]->Texture()) + " " + board.noteLayout +
                ", 7 px a slot, 4 a line; screen row,column: notes\n" + NoteLines(board);
    }
    if (!board.valueLayout.empty()) text += GlyphMetrics(engine, fonts[0]);
    if (!board.noteLayout.empty()) text += GlyphMetrics(engine, fonts[1]);
    return text + "drawn, in order:\n";
}

// Every quad in drawing order: runs of cell items as one "cells" line, runs of glyphs as
// "text" lines, any other quad as a "sprite" line.
std::string DescribeQuads(const RecordingEngine& engine, const GlyphTable& table,
                          const std::vector<std::optional<CellItem>>& items) {
    std::string text;
    TextRun run;
    const auto endRun = [&] {
        if (!run.text.empty()) text += run.Describe(engine) + "\n";
        run = TextRun{};
    };
    const CellItem* firstCell = nullptr;
    const CellItem* lastCell = nullptr;
    int cellQuads = 0;
    const auto endCells = [&] {
        if (firstCell) {
            text += "cells " + firstCell->Name() + " .. " + lastCell->Name() + " (" +
                    std::to_string(cellQuads) + " quads)\n";
        }
        firstCell = lastCell = nullptr;
        cellQuads = 0;
    };
    for (std::size_t i = 0; i < engine.quads.size(); ++i) {
        const Quad& q = engine.quads[i];
        if (items[i]) {
            endRun();
            if (!firstCell) firstCell = &*items[i];
            lastCell = &*items[i];
            ++cellQuads;
            continue;
        }
        endCells();
        const Glyph* glyph = table.Find(q);
        if (!glyph) {
            endRun();
            text += DescribeSprite(engine, q) + "\n";
            continue;
        }
        const float scale = Height(q) / glyph->sprite->GetHeight();
        if (!run.Continues(q, scale)) {
            endRun();
            run = TextRun{q.tex, q.v[0].col, scale, q.v[0].x, q.v[0].x, q.v[0].y, "", q.v[0].x};
        }
        run.text += glyph->character;
        run.right = std::max(run.right, q.v[2].x);
        run.lastLeft = q.v[0].x;
    }
    endRun();
    endCells();
    return text;
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

std::string DescribeScene(const RecordingEngine& engine, const std::vector<const gkFont*>& fonts) {
    const GlyphTable table(fonts);
    std::vector<std::optional<CellItem>> items = BoardItems(engine, table);
    const bool board =
        std::any_of(items.begin(), items.end(), [](const auto& item) { return item.has_value(); });
    return (board ? DescribeBoard(engine, fonts, items) : "") + DescribeQuads(engine, table, items);
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
