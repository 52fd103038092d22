// gkFont against the recording engine: reading the description (characters, numbers, height,
// glyph image paths, bad input), and drawing (alignment, line breaks, stand-ins, scale,
// colour, Printf) checked through the quads the glyphs draw.
#include "gfx/font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/recorder_fixture.h"
#include "support/test_files.h"

namespace {

class FontTest : public RecorderTest {
protected:
    FontTest() { WriteImage(folder.File("glyphs.png"), 256, 64); }

    // Writes a description with the header and a "Bitmap" line for glyphs.png, then body.
    std::string Describe(const std::string& body, const std::string& name = "font.fnt") {
        return WriteDescription("[GKFONT]\nBitmap = glyphs.png\n" + body, name);
    }
    std::string WriteDescription(const std::string& contents, const std::string& name = "font.fnt") {
        WriteTextFile(folder.File(name), contents);
        return folder.File(name);
    }

    // Draws text in a fresh scene and returns the left edge of every glyph drawn.
    std::vector<float> DrawnLefts(gkFont& font, float x, float y, int align, const char* text) {
        engine.Gfx_BeginScene(0);
        font.Render(x, y, align, text);
        std::vector<float> lefts;
        for (const Quad& q : engine.quads) lefts.push_back(q.v[0].x);
        return lefts;
    }

    TempFolder folder;
};

// Widths used by the drawing tests: A and B 10, C 15, D 13; "?" 8.
const char* const Letters =
    "Char=41,0,0,10,20,0,0\n"
    "Char=42,10,0,10,20,0,0\n"
    "Char=43,20,0,15,20,0,0\n"
    "Char=44,40,0,13,20,0,0\n";
const char* const Question = "Char=\"?\",60,0,8,20,0,0\n";

// ---- Reading the description ------------------------------------------------------

TEST_F(FontTest, HexadecimalAndQuotedCharactersNameTheSameGlyph) {
    const int before = engine.references;
    gkFont font(Describe("Char=41,0,0,10,20,1,2\nChar = \"A\" , 16 , 4 , 12 , 18 , -3 , 5\n").c_str());
    ASSERT_NE(font.Glyph('A'), nullptr);
    // The quoted line came later and replaced the first glyph, which was freed.
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetWidth(), 12);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetQuad().v[0].tx, 16.0f / 256);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetQuad().v[2].ty, 22.0f / 64);
    EXPECT_FLOAT_EQ(font.PreOffset('A'), -3);
    EXPECT_FLOAT_EQ(font.PostOffset('A'), 5);
    EXPECT_EQ(engine.references, before + 2) << "the font and one live glyph";
}

TEST_F(FontTest, CharacterCodesInEveryForm) {
    gkFont font(Describe("Char=7e,0,0,1,1,0,0\n"      // lower-case hexadecimal
                         "Char=\"\"\",0,0,2,1,0,0\n"  // a quote, quoted
                         "Char=\",\",0,0,3,1,0,0\n"   // a comma, quoted
                         "Char=FF,0,0,4,1,0,0\n"      // the top code
                         "Char=,0,0,5,1,0,0\n"        // no digits: character 0
                         "Char=141,0,0,6,1,0,0\n"     // above 255: ignored
                         "Char=000041,0,0,7,1,0,0\n"  // leading zeros are fine
                         "Char 42,0,0,8,1,0,0\n")     // no equals sign: ignored
                    .c_str());
    EXPECT_FLOAT_EQ(font.Glyph('~')->GetWidth(), 1);
    EXPECT_FLOAT_EQ(font.Glyph('"')->GetWidth(), 2);
    EXPECT_FLOAT_EQ(font.Glyph(',')->GetWidth(), 3);
    EXPECT_FLOAT_EQ(font.Glyph(0xFF)->GetWidth(), 4);
    EXPECT_FLOAT_EQ(font.Glyph(0)->GetWidth(), 5);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetWidth(), 7);
    EXPECT_EQ(font.Glyph('B'), nullptr);
    EXPECT_EQ(font.Glyph(0x14), nullptr);
}

TEST_F(FontTest, MissingNumbersAreZeroAndBlanksAroundCommasAreOptional) {
    gkFont font(Describe("Char=41 ,  3,4 ,5\nChar=\"B\"\nChar=43,1,2,3,4,-5,x\n").c_str());
    ASSERT_NE(font.Glyph('A'), nullptr);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetWidth(), 5);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetHeight(), 0);
    ASSERT_NE(font.Glyph('B'), nullptr);
    EXPECT_FLOAT_EQ(font.Glyph('B')->GetWidth(), 0);
    EXPECT_FLOAT_EQ(font.PreOffset('C'), -5);
    EXPECT_FLOAT_EQ(font.PostOffset('C'), 0);
}

TEST_F(FontTest, HeightIsTheTallestGlyph) {
    gkFont empty(Describe("").c_str());
    EXPECT_FLOAT_EQ(empty.GetHeight(), 0);
    gkFont font(Describe("Char=41,0,0,10,20,0,0\nChar=42,0,0,10,26,0,0\nChar=43,0,0,10,12,0,0\n").c_str());
    EXPECT_FLOAT_EQ(font.GetHeight(), 26);
}

TEST_F(FontTest, LinesEndAtLineFeedsCarriageReturnsOrTheEndAndBlankLinesVanish) {
    // The last line has no line end and still counts; other lines are ignored.
    gkFont font(WriteDescription("[GKFONT]\r\n\r\nBitmap=glyphs.png\r\r\n; comment\n\nchar=42,0,0,9,9,0,0\n"
                                 "Char=41,0,0,10,20,0,0")
                    .c_str());
    EXPECT_NE(font.Texture(), 0u);
    EXPECT_NE(font.Glyph('A'), nullptr);
    EXPECT_EQ(font.Glyph('B'), nullptr) << "keys are case-sensitive";
}

TEST_F(FontTest, AWrongFirstLineIsLoggedAndGivesAnEmptyFont) {
    for (const std::string contents :
         {"[GKFONT] \nChar=41,0,0,10,20,0,0\n", "\n[GKFONT]\nChar=41,0,0,10,20,0,0\n",
          "[gkfont]\nChar=41,0,0,10,20,0,0\n", ""}) {
        engine.logLines.clear();
        const std::string path = WriteDescription(contents, "bad.fnt");
        gkFont font(path.c_str());
        EXPECT_EQ(font.Glyph('A'), nullptr);
        EXPECT_EQ(font.Texture(), 0u);
        EXPECT_EQ(engine.logLines, std::vector<std::string>{"Font " + path + " has incorrect format."});
    }
}

TEST_F(FontTest, AMissingDescriptionGivesAnEmptyFontSilently) {
    gkFont font(folder.File("absent.fnt").c_str());
    EXPECT_TRUE(engine.logLines.empty());
    EXPECT_FLOAT_EQ(font.GetStringWidth("ABC"), 0);
    EXPECT_TRUE(DrawnLefts(font, 0, 0, AlignLeft, "ABC").empty());
}

TEST_F(FontTest, GlyphImageIsFoundBesideTheDescription) {
    // A slash: the folder of the description.
    gkFont slash(Describe("").c_str());
    ASSERT_NE(slash.Texture(), 0u);
    EXPECT_EQ(engine.textures.at(slash.Texture()).name, folder.File("glyphs.png"));

    // A backslash comes before any slash: "<folder>/sub\font.fnt" names "<folder>/sub\glyphs.png".
    std::filesystem::create_directory(folder.File("a\\b"));
    WriteImage(folder.File("a\\glyphs.png"), 16, 16);
    gkFont backslash(Describe("", "a\\b/font.fnt").c_str());
    ASSERT_NE(backslash.Texture(), 0u);
    EXPECT_EQ(engine.textures.at(backslash.Texture()).name, folder.File("a\\glyphs.png"));
    EXPECT_EQ(engine.Texture_GetWidth(backslash.Texture(), false), 16);

    // Neither: the name as written, looked up like any relative resource.
    CurrentFolder inside(folder.Path());
    WriteTextFile(folder.File("bare_font.fnt"), "[GKFONT]\nBitmap=glyphs.png\n");
    gkFont bare("bare_font.fnt");
    ASSERT_NE(bare.Texture(), 0u);
    EXPECT_EQ(engine.textures.at(bare.Texture()).name, "glyphs.png");
}

TEST_F(FontTest, GlyphsDrawFromTheTextureLoadedBeforeThem) {
    WriteImage(folder.File("second.png"), 128, 32);
    HTEXTURE first = 0, second = 0;
    {
        gkFont font(
            WriteDescription("[GKFONT]\nChar=40,0,0,5,5,0,0\nBitmap=glyphs.png\nChar=41,0,0,10,20,0,0\n"
                             "Bitmap = second.png\nChar=42,0,0,10,20,0,0\n")
                .c_str());
        EXPECT_EQ(font.Glyph('@')->GetQuad().tex, 0u) << "before any Bitmap line";
        first = font.Glyph('A')->GetQuad().tex;
        second = font.Glyph('B')->GetQuad().tex;
        EXPECT_NE(first, 0u);
        EXPECT_NE(second, first);
        EXPECT_EQ(font.Texture(), second);
        EXPECT_FLOAT_EQ(font.Glyph('B')->GetQuad().v[2].tx, 10.0f / 128);
        // The replaced texture stays loaded while its glyphs may still draw from it.
        EXPECT_FALSE(engine.textures.at(first).freed);
    }
    EXPECT_TRUE(engine.textures.at(first).freed);
    EXPECT_TRUE(engine.textures.at(second).freed);
}

TEST_F(FontTest, AGlyphImageThatCannotLoadStopsReading) {
    gkFont font(Describe("Char=41,0,0,10,20,0,0\nBitmap=missing.png\nChar=42,0,0,10,20,0,0\n").c_str());
    EXPECT_NE(font.Glyph('A'), nullptr);
    EXPECT_EQ(font.Glyph('B'), nullptr);
    gkFont noWord(Describe("Bitmap =\nChar=42,0,0,10,20,0,0\n").c_str());
    EXPECT_NE(noWord.Glyph('B'), nullptr) << "a Bitmap line without a name is ignored";
}

TEST_F(FontTest, ImagesPast64MegabytesAreRefusedAndLogged) {
    WriteImage(folder.File("big.bmp"), 4096, 4096);  // 64 MB at 4 bytes a pixel: the whole allowance
    const int before = engine.LiveTextures();
    gkFont font(WriteDescription("[GKFONT]\nBitmap=big.bmp\nChar=41,0,0,10,20,0,0\n"
                                 "Bitmap=glyphs.png\nChar=42,0,0,10,20,0,0\n")
                    .c_str());
    EXPECT_NE(font.Glyph('A'), nullptr);
    EXPECT_EQ(font.Glyph('B'), nullptr) << "reading stops at the refused image";
    EXPECT_EQ(engine.textures.at(font.Texture()).name, folder.File("big.bmp"));
    EXPECT_EQ(engine.LiveTextures(), before + 1) << "glyphs.png was freed again";
    ASSERT_FALSE(engine.logLines.empty());
    EXPECT_NE(engine.logLines.back().find("glyph image " + folder.File("glyphs.png") + " refused"), std::string::npos)
        << engine.logLines.back();
}

TEST_F(FontTest, HugeRectanglesAndOffsetsAreCutTo65536) {
    gkFont font(Describe("Char=41,-2147483648,2147483647,99999999999,70000,2147483647,-99999\n").c_str());
    ASSERT_NE(font.Glyph('A'), nullptr);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetWidth(), 65536);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetHeight(), 65536);
    EXPECT_FLOAT_EQ(font.Glyph('A')->GetQuad().v[0].tx, -65536.0f / 256);
    EXPECT_FLOAT_EQ(font.PreOffset('A'), 65536);
    EXPECT_FLOAT_EQ(font.PostOffset('A'), -65536);
    EXPECT_FLOAT_EQ(font.GetHeight(), 65536);
}

TEST_F(FontTest, LongLinesAndPathsAreHandledSafely) {
    const std::string longWord(5000, 'x');
    gkFont font(Describe("Char=" + std::string(3000, ' ') + "41,0,0,10,20,0,0\n" + longWord +
                         "\nChar=42,0,0,10,20,0,0" + std::string(4000, ' ') + "\nBitmap=" + longWord +
                         ".png\n" + "Char=43,0,0,10,20,0,0\n")
                    .c_str());
    EXPECT_NE(font.Glyph('A'), nullptr);
    EXPECT_NE(font.Glyph('B'), nullptr);
    EXPECT_EQ(font.Glyph('C'), nullptr) << "the long image name does not load, so reading stops";

    // A description more than 255 characters deep finds its glyph image beside it.
    std::string deep = folder.Path();
    while (deep.size() < 400) deep += "/" + std::string(60, 'd');
    std::filesystem::create_directories(deep);
    WriteImage(deep + "/glyphs.png", 8, 8);
    WriteTextFile(deep + "/font.fnt", "[GKFONT]\nBitmap=glyphs.png\nChar=41,0,0,8,8,0,0\n");
    gkFont deepFont((deep + "/font.fnt").c_str());
    EXPECT_NE(deepFont.Texture(), 0u);
    EXPECT_FLOAT_EQ(deepFont.Glyph('A')->GetQuad().v[2].tx, 1);
}

// ---- Drawing --------------------------------------------------------------------------

TEST_F(FontTest, AlignsLeftRightAndCentredOnX) {
    gkFont font(Describe(Letters).c_str());
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB"), 20);
    EXPECT_EQ(DrawnLefts(font, 100, 0, AlignLeft, "AB"), (std::vector<float>{100, 110}));
    EXPECT_EQ(DrawnLefts(font, 100, 0, AlignRight, "AB"), (std::vector<float>{80, 90}));
    EXPECT_EQ(DrawnLefts(font, 100, 0, AlignCenter, "AB"), (std::vector<float>{90, 100}));
    // Half widths round to the even neighbour: 7.5 to 8, 6.5 to 6.
    EXPECT_EQ(DrawnLefts(font, 100, 0, AlignCenter, "C"), std::vector<float>{92});
    EXPECT_EQ(DrawnLefts(font, 100, 0, AlignCenter, "D"), std::vector<float>{94});
    // Only the low two bits of align count, and 3 acts as left.
    EXPECT_EQ(DrawnLefts(font, 100, 0, 3, "AB"), (std::vector<float>{100, 110}));
    EXPECT_EQ(DrawnLefts(font, 100, 0, 4 | AlignRight, "AB"), (std::vector<float>{80, 90}));
}

TEST_F(FontTest, LineFeedMovesDownOneRoundedLineAndAlignsTheNextLineOnItsOwnWidth) {
    gkFont font(Describe(Letters).c_str());  // height 20
    engine.Gfx_BeginScene(0);
    font.Render(100, 5, AlignRight, "AB\nC");
    ASSERT_EQ(engine.quads.size(), 3u);
    EXPECT_FLOAT_EQ(engine.quads[0].v[0].y, 5);
    EXPECT_FLOAT_EQ(engine.quads[2].v[0].x, 85);
    EXPECT_FLOAT_EQ(engine.quads[2].v[0].y, 25);
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB\nC"), 20) << "the width ends at the first line feed";

    // The line advance is rounded with halves to even: 13 x 1.5 = 19.5 -> 20, 13 x 2.5 = 32.5 -> 32.
    gkFont small(Describe("Char=41,0,0,10,13,0,0\n", "small.fnt").c_str());
    for (const auto& [scale, advance] : {std::pair{1.5f, 20.0f}, std::pair{2.5f, 32.0f}}) {
        small.SetScale(scale);
        engine.Gfx_BeginScene(0);
        small.Render(0, 0, AlignLeft, "A\nA");
        ASSERT_EQ(engine.quads.size(), 2u);
        EXPECT_FLOAT_EQ(engine.quads[1].v[0].y, advance) << "scale " << scale;
        EXPECT_FLOAT_EQ(engine.quads[1].v[0].x, 0);
    }
}

TEST_F(FontTest, OffsetsAndWidthMakeTheAdvance) {
    gkFont font(Describe("Char=41,0,0,10,20,2,3\nChar=42,0,0,6,20,-1,0\n").c_str());
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB"), 15 + 5);
    EXPECT_EQ(DrawnLefts(font, 0, 0, AlignLeft, "AB"), (std::vector<float>{2, 14}));
    // Right alignment ends exactly on x: the last glyph's right edge plus its post-offset.
    engine.Gfx_BeginScene(0);
    font.Render(50, 0, AlignRight, "BA");
    EXPECT_FLOAT_EQ(engine.quads.back().v[1].x + 3, 50);
}

TEST_F(FontTest, MissingCharactersUseTheQuestionMarkOrTakeNoRoom) {
    gkFont withQuestion(Describe(std::string(Letters) + Question).c_str());
    EXPECT_FLOAT_EQ(withQuestion.GetStringWidth("AzB"), 28);
    EXPECT_EQ(DrawnLefts(withQuestion, 0, 0, AlignLeft, "AzB"), (std::vector<float>{0, 10, 18}));
    // A carriage return is not special: drawn as "?".
    EXPECT_EQ(DrawnLefts(withQuestion, 0, 0, AlignLeft, "A\rB"), (std::vector<float>{0, 10, 18}));
    EXPECT_FLOAT_EQ(engine.quads[1].v[0].tx, 60.0f / 256);

    gkFont without(Describe(Letters, "plain.fnt").c_str());
    EXPECT_FLOAT_EQ(without.GetStringWidth("AzB"), 20);
    EXPECT_EQ(DrawnLefts(without, 0, 0, AlignLeft, "Az\xe9\x42"), (std::vector<float>{0, 10}));
}

TEST_F(FontTest, ScaleTwoDoublesWidthsOffsetsAndTheLineAdvance) {
    gkFont font(Describe("Char=41,0,0,10,20,2,3\n").c_str());
    font.SetScale(2);
    EXPECT_FLOAT_EQ(font.GetStringWidth("AA"), 60);
    engine.Gfx_BeginScene(0);
    font.Render(0, 0, AlignLeft, "AA\nA");
    ASSERT_EQ(engine.quads.size(), 3u);
    const Quad& first = engine.quads[0];
    EXPECT_FLOAT_EQ(first.v[0].x, 4);
    EXPECT_FLOAT_EQ(first.v[2].x, 24);
    EXPECT_FLOAT_EQ(first.v[2].y, 40);
    EXPECT_FLOAT_EQ(engine.quads[1].v[0].x, 34);
    EXPECT_FLOAT_EQ(engine.quads[2].v[0].y, 40);
    font.SetScale(1);
    EXPECT_FLOAT_EQ(font.GetStringWidth("AA"), 30);
}

TEST_F(FontTest, SetColorTintsEveryGlyph) {
    gkFont font(Describe(Letters).c_str());
    font.SetColor(0x30000000);
    engine.Gfx_BeginScene(0);
    font.Render(0, 0, AlignLeft, "ABCD");
    ASSERT_EQ(engine.quads.size(), 4u);
    for (const Quad& q : engine.quads) {
        for (const Vertex& v : q.v) EXPECT_EQ(v.col, 0x30000000u);
        EXPECT_EQ(q.blend, 2);
    }
}

TEST_F(FontTest, PrintfFormatsAndCutsOverlongOutput) {
    gkFont font(Describe(Letters).c_str());
    engine.Gfx_BeginScene(0);
    font.Printf(0, 0, AlignLeft, "%c%d%s", 'A', 7, "B");  // no "7" glyph and no "?": two glyphs
    EXPECT_EQ(engine.quads.size(), 2u);

    const std::string longText(5000, 'A');
    engine.Gfx_BeginScene(0);
    font.Printf(0, 0, AlignLeft, "%s%s", longText.c_str(), "B");
    ASSERT_EQ(engine.quads.size(), gkFont::PrintfBufferSize - 1);
    EXPECT_FLOAT_EQ(engine.quads.back().v[0].x, 10.0f * (gkFont::PrintfBufferSize - 2));
}

TEST_F(FontTest, EachFontHoldsOneEngineReferenceAndFreesWhatItLoaded) {
    const int before = engine.references;
    const int textures = engine.LiveTextures();
    {
        gkFont font(Describe(Letters).c_str());
        EXPECT_EQ(engine.references, before + 1 + 4);
        EXPECT_EQ(engine.LiveTextures(), textures + 1);
        EXPECT_EQ(engine.liveResources, 0) << "the description's block is returned at once";
    }
    EXPECT_EQ(engine.references, before);
    EXPECT_EQ(engine.LiveTextures(), textures);
}

}  // namespace
