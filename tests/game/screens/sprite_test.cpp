// gkSprite against the recording engine: texture coordinates, corners of plain and
// transformed draws, vertex colours and blend mode, and what the sprite owns.
#include "gfx/sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recorder_fixture.h"
#include "support/test_files.h"

namespace {

class SpriteTest : public RecorderTest {
protected:
    // Loads a white image of the given size; freed at the end of the test.
    HTEXTURE LoadTexture(int width, int height) {
        const std::string path = folder.File("tex" + std::to_string(loaded.size()) + ".png");
        WriteImage(path, width, height);
        const HTEXTURE texture = engine.Texture_Load(path.c_str(), 0, false);
        EXPECT_NE(texture, 0u);
        loaded.push_back(texture);
        return texture;
    }
    ~SpriteTest() override {
        for (HTEXTURE texture : loaded) engine.Texture_Free(texture);
    }

    // The four corners of the last quad drawn, top-left, top-right, bottom-right, bottom-left.
    void ExpectCorners(const float (&expected)[8], float tolerance = 0.0f) {
        ASSERT_FALSE(engine.quads.empty());
        const Quad& q = engine.quads.back();
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(q.v[i].x, expected[2 * i], tolerance) << "corner " << i;
            EXPECT_NEAR(q.v[i].y, expected[2 * i + 1], tolerance) << "corner " << i;
        }
    }

    TempFolder folder;
    std::vector<HTEXTURE> loaded;
};

TEST_F(SpriteTest, TextureCoordinatesCutTheRectangleOutOfTheRealImageSize) {
    const HTEXTURE texture = LoadTexture(32, 32);
    gkSprite cell(texture, 0, 0, 30, 30);
    const Quad& q = cell.GetQuad();
    const float tx[4] = {0, 0.9375f, 0.9375f, 0};
    const float ty[4] = {0, 0, 0.9375f, 0.9375f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(q.v[i].tx, tx[i]) << "vertex " << i;
        EXPECT_FLOAT_EQ(q.v[i].ty, ty[i]) << "vertex " << i;
    }
    EXPECT_EQ(q.tex, texture);

    // An inner rectangle of a non-square texture: each axis divides by its own size.
    const HTEXTURE wide = LoadTexture(200, 50);
    gkSprite glyph(wide, 40, 10, 20, 25);
    EXPECT_FLOAT_EQ(glyph.GetQuad().v[0].tx, 0.2f);
    EXPECT_FLOAT_EQ(glyph.GetQuad().v[0].ty, 0.2f);
    EXPECT_FLOAT_EQ(glyph.GetQuad().v[2].tx, 0.3f);
    EXPECT_FLOAT_EQ(glyph.GetQuad().v[2].ty, 0.7f);
}

TEST_F(SpriteTest, DefaultsAreOpaqueWhiteHalfDepthAlphaBlend) {
    gkSprite sprite(LoadTexture(32, 32), 0, 0, 30, 30);
    for (const Vertex& v : sprite.GetQuad().v) {
        EXPECT_EQ(v.col, 0xFFFFFFFFu);
        EXPECT_FLOAT_EQ(v.z, 0.5f);
    }
    EXPECT_EQ(sprite.GetQuad().blend, 2);
    EXPECT_FLOAT_EQ(sprite.GetWidth(), 30);
}

TEST_F(SpriteTest, WithoutTextureTheCoordinatesAreRawPixels) {
    gkSprite plain(0, 4, 6, 10, 20);
    const Quad& q = plain.GetQuad();
    EXPECT_EQ(q.tex, 0u);
    EXPECT_FLOAT_EQ(q.v[0].tx, 4);
    EXPECT_FLOAT_EQ(q.v[0].ty, 6);
    EXPECT_FLOAT_EQ(q.v[2].tx, 14);
    EXPECT_FLOAT_EQ(q.v[2].ty, 26);
}

TEST_F(SpriteTest, TextureOfUnknownSizeKeepsCoordinatesFinite) {
    gkSprite stale(12345, 0, 0, 30, 30);  // the engine reports size 0 for a handle it does not know
    for (const Vertex& v : stale.GetQuad().v) {
        EXPECT_TRUE(std::isfinite(v.tx));
        EXPECT_TRUE(std::isfinite(v.ty));
    }
}

TEST_F(SpriteTest, RenderPutsTheTopLeftCornerAtThePoint) {
    gkSprite sprite(LoadTexture(32, 32), 0, 0, 30, 30);
    sprite.Render(10, 20);
    ASSERT_EQ(engine.quads.size(), 1u);
    ExpectCorners({10, 20, 40, 20, 40, 50, 10, 50});
    EXPECT_FLOAT_EQ(engine.quads[0].v[1].tx, 0.9375f);  // the quad goes out with its coordinates
}

TEST_F(SpriteTest, RenderTransformedScalesAndTranslatesWithoutRotation) {
    gkSprite sprite(LoadTexture(32, 32), 0, 0, 30, 30);
    sprite.RenderTransformed(10, 20, 0, 2, 0);  // vscale 0: the same as hscale
    ExpectCorners({10, 20, 70, 20, 70, 80, 10, 80});
    sprite.RenderTransformed(10, 20, 0, 2, 0.5f);
    ExpectCorners({10, 20, 70, 20, 70, 35, 10, 35});
    // Scale 1 and rotation 0 land exactly where Render does.
    sprite.RenderTransformed(7.25f, 3.5f, 0, 1);
    const Quad transformed = engine.quads.back();
    sprite.Render(7.25f, 3.5f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(transformed.v[i].x, engine.quads.back().v[i].x);
        EXPECT_EQ(transformed.v[i].y, engine.quads.back().v[i].y);
    }
}

TEST_F(SpriteTest, RenderTransformedRotatesClockwiseAboutTheHotSpot) {
    gkSprite sprite(0, 0, 0, 30, 10);
    const float quarterTurn = static_cast<float>(M_PI / 2);
    // +x turns towards +y: the top edge now runs down from the point, the sprite lies to its left.
    sprite.RenderTransformed(100, 50, quarterTurn, 1);
    ExpectCorners({100, 50, 100, 80, 90, 80, 90, 50}, 1e-4f);
    // Scaled by 2 while turned half way round.
    sprite.RenderTransformed(100, 50, static_cast<float>(M_PI), 2);
    ExpectCorners({100, 50, 40, 50, 40, 30, 100, 30}, 1e-4f);
}

TEST_F(SpriteTest, SetColorTintsAllCornersOrOneCorner) {
    gkSprite sprite(0, 0, 0, 30, 30);
    sprite.SetColor(0x30000000, -1);
    for (const Vertex& v : sprite.GetQuad().v) EXPECT_EQ(v.col, 0x30000000u);

    sprite.SetColor(0xFFEE0000, 2);
    const Quad& q = sprite.GetQuad();
    EXPECT_EQ(q.v[0].col, 0x30000000u);
    EXPECT_EQ(q.v[1].col, 0x30000000u);
    EXPECT_EQ(q.v[2].col, 0xFFEE0000u);
    EXPECT_EQ(q.v[3].col, 0x30000000u);

    // Indexes outside -1..3 change nothing.
    for (int vertex : {-2, 4, 100}) sprite.SetColor(0xFF00FF00, vertex);
    EXPECT_EQ(q.v[0].col, 0x30000000u);
    EXPECT_EQ(q.v[2].col, 0xFFEE0000u);

    sprite.SetBlendMode(0);
    sprite.Render(0, 0);
    EXPECT_EQ(engine.quads.back().blend, 0);
    EXPECT_EQ(engine.quads.back().v[2].col, 0xFFEE0000u);
}

TEST_F(SpriteTest, EachSpriteHoldsOneEngineReferenceAndLeavesItsTextureLoaded) {
    const HTEXTURE texture = LoadTexture(32, 32);
    const int before = engine.references;
    {
        gkSprite first(texture, 0, 0, 30, 30);
        gkSprite second(texture, 0, 0, 30, 30);
        EXPECT_EQ(engine.references, before + 2);
    }
    EXPECT_EQ(engine.references, before);
    EXPECT_FALSE(engine.textures.at(texture).freed);
}

}  // namespace
