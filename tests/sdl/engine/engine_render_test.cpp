// The real engine draws what it is given: untextured, textured, tinted,
// translucent and vertex-coloured quads, read back from the rendered frame.
#include <SDL.h>
#include <SDL_image.h>

#include <limits>
#include <utility>

#include "engine/sdl/frame/quad_geometry.h"
#include "sdl/engine_test_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xFFEE0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kYellow = 0xFFFFFF00;
constexpr DrawArea kScreen{800, 700};

// A 64 x 64 PNG in four quadrants: opaque red, green, blue, and fully transparent.
std::string WriteQuadrantImage(const TempFolder& temp) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return std::string();
    const Uint32 colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000};
    for (int i = 0; i < 4; ++i) {
        SDL_Rect rect{(i % 2) * 32, (i / 2) * 32, 32, 32};
        SDL_FillRect(surface, &rect, colours[i]);
    }
    const std::string path = temp.File("quadrants.png");
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved ? path : std::string();
}

// A 32 x 32 24-bit BMP (no alpha channel) in one colour.
std::string WriteOpaqueImage(const TempFolder& temp, Uint32 rgb) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) return std::string();
    SDL_FillRect(surface, nullptr,
                 SDL_MapRGB(surface->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    const std::string path = temp.File("opaque.bmp");
    const bool saved = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved ? path : std::string();
}

}  // namespace

TEST(QuadGeometry, SplitsArgbColoursAndKeepsCornersInOrder) {
    Quad quad = MakeQuad(1, 2, 3, 4, 0x80112233);
    quad.v[2].col = 0xFF445566;
    SDL_Vertex vertices[4];
    QuadToVertices(quad, kScreen, vertices);
    EXPECT_EQ(vertices[0].color.a, 0x80);
    EXPECT_EQ(vertices[0].color.r, 0x11);
    EXPECT_EQ(vertices[0].color.g, 0x22);
    EXPECT_EQ(vertices[0].color.b, 0x33);
    EXPECT_EQ(vertices[2].color.r, 0x44);
    EXPECT_FLOAT_EQ(vertices[2].position.x, 3);
    EXPECT_FLOAT_EQ(vertices[2].position.y, 4);
    EXPECT_FLOAT_EQ(vertices[3].tex_coord.y, 1);
    // Blend mode 2 alpha-blends; without that bit the quad is added.
    EXPECT_EQ(BlendModeFor(2), SDL_BLENDMODE_BLEND);
    EXPECT_EQ(BlendModeFor(6), SDL_BLENDMODE_BLEND);
    EXPECT_EQ(BlendModeFor(0), SDL_BLENDMODE_ADD);
}

TEST(QuadGeometry, UprightOneColourQuadsOnWholeTexturePixelsAreRectangles) {
    QuadRect rect{};
    // A 30 x 30 cut at (2, 4) of a 64 x 32 texture, drawn at (10, 20) twice as large.
    Quad quad = MakeQuad(10, 20, 70, 80, 0x80FF0000, 1);
    const float u0 = 2.0f / 64, u1 = 32.0f / 64, v0 = 4.0f / 32, v1 = 34.0f / 32 - 2.0f / 32;
    quad.v[0].tx = quad.v[3].tx = u0;
    quad.v[1].tx = quad.v[2].tx = u1;
    quad.v[0].ty = quad.v[1].ty = v0;
    quad.v[2].ty = quad.v[3].ty = v1;
    ASSERT_TRUE(QuadAsRect(quad, 64, 32, kScreen, &rect));
    EXPECT_FLOAT_EQ(rect.destination.x, 10);
    EXPECT_FLOAT_EQ(rect.destination.y, 20);
    EXPECT_FLOAT_EQ(rect.destination.w, 60);
    EXPECT_FLOAT_EQ(rect.destination.h, 60);
    EXPECT_EQ(rect.source.x, 2);
    EXPECT_EQ(rect.source.y, 4);
    EXPECT_EQ(rect.source.w, 30);
    EXPECT_EQ(rect.source.h, 28);
    EXPECT_EQ(rect.color.a, 0x80);
    EXPECT_EQ(rect.color.r, 0xFF);

    Quad untextured = MakeQuad(0, 0, 5, 5, 0xFF00FF00);
    EXPECT_TRUE(QuadAsRect(untextured, 0, 0, kScreen, &rect));

    Quad gradient = quad;
    gradient.v[3].col = 0x80FF0001;
    EXPECT_FALSE(QuadAsRect(gradient, 64, 32, kScreen, &rect)) << "one colour only";
    Quad rotated = quad;
    rotated.v[1].y += 1;
    EXPECT_FALSE(QuadAsRect(rotated, 64, 32, kScreen, &rect));
    Quad mirrored = MakeQuad(70, 20, 10, 80, 0xFFFFFFFF, 1);
    EXPECT_FALSE(QuadAsRect(mirrored, 64, 32, kScreen, &rect)) << "corners out of order";
    Quad flippedTexture = MakeQuad(10, 20, 70, 80, 0xFFFFFFFF, 1);
    std::swap(flippedTexture.v[0].tx, flippedTexture.v[1].tx);
    std::swap(flippedTexture.v[3].tx, flippedTexture.v[2].tx);
    EXPECT_FALSE(QuadAsRect(flippedTexture, 64, 32, kScreen, &rect));
    Quad betweenPixels = MakeQuad(10, 20, 70, 80, 0xFFFFFFFF, 1);
    betweenPixels.v[1].tx = betweenPixels.v[2].tx = 0.5f / 64 + 0.5f;
    EXPECT_FALSE(QuadAsRect(betweenPixels, 64, 32, kScreen, &rect));
    Quad beyond = MakeQuad(10, 20, 70, 80, 0xFFFFFFFF, 1);
    beyond.v[1].tx = beyond.v[2].tx = 2;
    EXPECT_FALSE(QuadAsRect(beyond, 64, 32, kScreen, &rect)) << "texture coordinates past the edge";
    EXPECT_FALSE(QuadAsRect(quad, 0, 0, kScreen, &rect)) << "texture of unknown size";
}

// Positions and texture coordinates of any size or value never reach a conversion to
// whole pixels that cannot hold them, nor make SDL reserve a buffer for a triangle
// reaching far off screen: far ones are cut, undefined ones not drawn.
TEST_F(EngineTest, QuadsFarOffScreenOrNotFiniteAreDrawnSafely) {
    const std::string image = WriteQuadrantImage(temp);
    const HTEXTURE texture = gk->Texture_Load(image.c_str(), 0, false);
    ASSERT_NE(texture, 0u);
    const float huge = 3e38f, inf = std::numeric_limits<float>::infinity(),
                nan = std::numeric_limits<float>::quiet_NaN();
    DrawScene([&] {
        Quad white = MakeQuad(0, 0, 200, 100, kWhite);
        gk->Gfx_RenderQuad(&white);
        Quad wide = MakeQuad(100, 0, huge, 50, kRed);  // covers the right of the screen
        gk->Gfx_RenderQuad(&wide);
        Quad stretched = MakeQuad(-huge, 300, huge, huge, kWhite, texture);  // cut to the screen as triangles
        gk->Gfx_RenderQuad(&stretched);
        Quad farTexture = MakeQuad(0, 60, 20, 80, kWhite, texture);
        farTexture.v[1].tx = farTexture.v[2].tx = huge;
        gk->Gfx_RenderQuad(&farTexture);
        Quad band = MakeQuad(-huge, 200, huge, 220, kYellow);  // triangles reaching far off screen
        band.v[2].x = huge / 2;
        gk->Gfx_RenderQuad(&band);
        for (float bad : {inf, -inf, nan}) {
            Quad broken = MakeQuad(0, 0, 200, 100, kYellow);
            broken.v[1].x = bad;
            gk->Gfx_RenderQuad(&broken);
            broken = MakeQuad(0, 0, 200, 100, kYellow, texture);
            broken.v[3].ty = bad;
            gk->Gfx_RenderQuad(&broken);
        }
    });
    EXPECT_TRUE(Near(Pixel(700, 25), kRed, 2)) << "cut at the far edge, still drawn";
    EXPECT_TRUE(Near(Pixel(400, 210), kYellow, 2)) << "the band is drawn across the screen";
    EXPECT_NE(Pixel(400, 500), 0xFF000000u) << "so is the stretched texture";
    EXPECT_FALSE(Near(Pixel(50, 90), kYellow, 2)) << "the quads with undefined corners are not drawn";

    QuadRect rect{};
    Quad farSource = MakeQuad(0, 0, 10, 10, kWhite, texture);
    farSource.v[1].tx = farSource.v[2].tx = 1e30f;
    EXPECT_FALSE(QuadAsRect(farSource, 64, 64, kScreen, &rect));
    EXPECT_FALSE(QuadIsFinite(MakeQuad(0, 0, nan, 10, kWhite)));
    SDL_Vertex vertices[4];
    Quad farEdges = MakeQuad(-huge, 0, huge, 10, kWhite, texture);
    QuadToVertices(farEdges, kScreen, vertices);
    EXPECT_EQ(vertices[0].position.x, -kDrawMargin);
    EXPECT_EQ(vertices[1].position.x, 800 + kDrawMargin);
    // Cut exactly: the texture coordinates follow the cut corners.
    farEdges = MakeQuad(-400, 0, 400, 10, kWhite, texture);
    QuadToVertices(farEdges, kScreen, vertices);
    EXPECT_FLOAT_EQ(vertices[0].tex_coord.x, (400.0f - kDrawMargin) / 800);
    EXPECT_FLOAT_EQ(vertices[1].tex_coord.x, 1);
}

TEST_F(EngineTest, OpaqueTexturesStillBlendUnderATranslucentColour) {
    const std::string image = WriteOpaqueImage(temp, 0x204060);
    const HTEXTURE texture = gk->Texture_Load(image.c_str(), 0, false);
    ASSERT_NE(texture, 0u);
    DrawScene([&] {
        Quad white = MakeQuad(0, 0, 200, 100, kWhite);
        gk->Gfx_RenderQuad(&white);
        Quad solid = MakeQuad(10, 10, 42, 42, kWhite, texture);
        gk->Gfx_RenderQuad(&solid);
        Quad half = MakeQuad(60, 10, 92, 42, 0x80FFFFFF, texture);
        gk->Gfx_RenderQuad(&half);
        Quad solidAgain = MakeQuad(110, 10, 142, 42, kWhite, texture);
        gk->Gfx_RenderQuad(&solidAgain);
    });
    EXPECT_TRUE(Near(Pixel(26, 26), 0xFF204060, 1));
    EXPECT_TRUE(Near(Pixel(76, 26), 0xFF8F9FAF, 3)) << "half of 0x204060 over white";
    EXPECT_TRUE(Near(Pixel(126, 26), 0xFF204060, 1));
}

TEST_F(EngineTest, DrawsUntexturedTexturedTintedAndTranslucentQuads) {
    const std::string image = WriteQuadrantImage(temp);
    ASSERT_FALSE(image.empty());
    const HTEXTURE texture = gk->Texture_Load(image.c_str(), 0, false);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(gk->Texture_GetWidth(texture, false), 64);
    EXPECT_EQ(gk->Texture_GetHeight(texture, false), 64);

    DrawScene([&] {
        Quad red = MakeQuad(10, 10, 60, 60, kRed);
        gk->Gfx_RenderQuad(&red);
        Quad white = MakeQuad(100, 10, 200, 60, kWhite);
        gk->Gfx_RenderQuad(&white);
        Quad halfBlue = MakeQuad(100, 10, 160, 60, 0x800000FF);
        gk->Gfx_RenderQuad(&halfBlue);
        Quad yellow = MakeQuad(300, 300, 428, 428, kYellow);
        gk->Gfx_RenderQuad(&yellow);
        Quad textured = MakeQuad(300, 300, 428, 428, kWhite, texture);
        gk->Gfx_RenderQuad(&textured);
        Quad tinted = MakeQuad(500, 300, 564, 364, 0xFF808080, texture);
        gk->Gfx_RenderQuad(&tinted);
        // Drawn as triangles (the corners' colours differ by a hair): the tint of
        // the quad before must not stay on the texture.
        Quad triangles = MakeQuad(600, 300, 664, 364, kWhite, texture);
        triangles.v[2].col = 0xFFFFFFFE;
        gk->Gfx_RenderQuad(&triangles);
        // Rotated by 45 degrees about (700, 332): only triangles can draw it.
        Quad turned = MakeQuad(0, 0, 0, 0, kWhite, texture);
        const float cx = 700, cy = 332, r = 32;
        const float px[4] = {cx, cx + r, cx, cx - r}, py[4] = {cy - r, cy, cy + r, cy};
        for (int i = 0; i < 4; ++i) {
            turned.v[i].x = px[i];
            turned.v[i].y = py[i];
        }
        gk->Gfx_RenderQuad(&turned);
        Quad gradient = MakeQuad(600, 10, 700, 110, 0xFFFF0000);
        gradient.v[2].col = gradient.v[3].col = 0xFF0000FF;
        gk->Gfx_RenderQuad(&gradient);
        Quad unknownTexture = MakeQuad(10, 600, 60, 650, kWhite, 9999);
        gk->Gfx_RenderQuad(&unknownTexture);
    });
    ASSERT_TRUE(gkSdlSaveScreenshot(temp.File("engine_quads.png").c_str()));

    EXPECT_TRUE(Near(Pixel(35, 35), kRed, 2));
    EXPECT_TRUE(Near(Pixel(70, 70), 0xFF000000, 0)) << "the scene starts black";
    EXPECT_TRUE(Near(Pixel(130, 35), 0xFF7F7FFF, 3)) << "half blue over white";
    EXPECT_TRUE(Near(Pixel(180, 35), kWhite, 0));
    // Texture scaled 2x: its quadrants, the transparent one showing the yellow below.
    EXPECT_TRUE(Near(Pixel(332, 332), 0xFFFF0000, 2));
    EXPECT_TRUE(Near(Pixel(396, 332), 0xFF00FF00, 2));
    EXPECT_TRUE(Near(Pixel(332, 396), 0xFF0000FF, 2));
    EXPECT_TRUE(Near(Pixel(396, 396), kYellow, 2));
    // Vertex colour multiplied into the texture.
    EXPECT_TRUE(Near(Pixel(516, 316), 0xFF800000, 3));
    EXPECT_TRUE(Near(Pixel(548, 316), 0xFF008000, 3));
    EXPECT_TRUE(Near(Pixel(616, 316), 0xFFFF0000, 3));
    EXPECT_TRUE(Near(Pixel(648, 316), 0xFF00FF00, 3));
    // The turned quad: each quadrant's centre, the transparent one over black.
    EXPECT_TRUE(Near(Pixel(700, 316), 0xFFFF0000, 3));
    EXPECT_TRUE(Near(Pixel(716, 332), 0xFF00FF00, 3));
    EXPECT_TRUE(Near(Pixel(684, 332), 0xFF0000FF, 3));
    EXPECT_TRUE(Near(Pixel(700, 348), 0xFF000000, 3));
    EXPECT_TRUE(Near(Pixel(680, 312), 0xFF000000, 0)) << "outside the turned square";
    // Colours run from the top vertices to the bottom ones.
    EXPECT_GT(Red(Pixel(650, 14)), 200);
    EXPECT_LT(Blue(Pixel(650, 14)), 55);
    EXPECT_GT(Blue(Pixel(650, 106)), 200);
    EXPECT_LT(Red(Pixel(650, 106)), 55);
    EXPECT_TRUE(Near(Pixel(35, 625), 0xFF000000, 0)) << "a quad with an unknown texture is not drawn";

    std::uint32_t outside = 0;
    EXPECT_FALSE(gkSdlReadPixel(800, 0, &outside));
    EXPECT_FALSE(gkSdlReadPixel(-1, 0, &outside));
}

TEST_F(EngineTest, FreedTextureIsForgottenAndNoLongerDrawn) {
    const std::string image = WriteQuadrantImage(temp);
    const HTEXTURE texture = gk->Texture_Load(image.c_str(), 0, false);
    ASSERT_NE(texture, 0u);
    gk->Texture_Free(texture);
    EXPECT_EQ(gk->Texture_GetWidth(texture, false), 0);
    const HTEXTURE again = gk->Texture_Load(image.c_str(), 0, false);
    EXPECT_NE(again, texture) << "handles are not reused";
    DrawScene([&] {
        Quad stale = MakeQuad(0, 0, 64, 64, kWhite, texture);
        gk->Gfx_RenderQuad(&stale);
    });
    EXPECT_TRUE(Near(Pixel(16, 16), 0xFF000000, 0));
}

TEST_F(EngineTest, QuadsOutsideASceneAreIgnoredAndOnlyTheScreenIsATarget) {
    Quad red = MakeQuad(0, 0, 800, 700, kRed);
    gk->Gfx_RenderQuad(&red);  // before any scene
    gk->Gfx_RenderQuad(nullptr);
    EXPECT_FALSE(gk->Gfx_BeginScene(5));
    DrawScene([] {});
    EXPECT_TRUE(Near(Pixel(400, 350), 0xFF000000, 0));
}

TEST_F(EngineTest, ScreenshotNeedsACapturedFrame) {
    ASSERT_TRUE(gkSdlSetFrameCapture(false));
    DrawScene([] {});
    std::uint32_t argb = 0;
    EXPECT_FALSE(gkSdlReadPixel(0, 0, &argb));
    EXPECT_FALSE(gkSdlSaveScreenshot(temp.File("none.png").c_str()));
    ASSERT_TRUE(gkSdlSetFrameCapture(true));
    DrawScene([] {});
    EXPECT_TRUE(gkSdlSaveScreenshot(temp.File("one.png").c_str()));
    SDL_Surface* saved = IMG_Load(temp.File("one.png").c_str());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->w, 800);
    EXPECT_EQ(saved->h, 700);
    SDL_FreeSurface(saved);
}

TEST_F(EngineTest, AnUnchangedSceneIsNotDrawnAgainButAnyChangeIs) {
    ASSERT_TRUE(gkSdlSetFrameCapture(false));  // captured frames are always drawn
    Quad quad = MakeQuad(10, 10, 50, 50, 0xFFFF0000);
    auto drawQuad = [&] { gk->Gfx_RenderQuad(&quad); };
    const int start = gkSdlFramesShown();
    DrawScene(drawQuad);
    DrawScene(drawQuad);
    DrawScene(drawQuad);
    EXPECT_EQ(gkSdlFramesShown(), start + 1) << "the same quads again: nothing to draw";
    quad.v[2].col = 0xFF00FF00;
    DrawScene(drawQuad);
    EXPECT_EQ(gkSdlFramesShown(), start + 2) << "one colour changed";
    DrawScene([&] {
        gk->Gfx_RenderQuad(&quad);
        gk->Gfx_RenderQuad(&quad);
    });
    EXPECT_EQ(gkSdlFramesShown(), start + 3) << "one quad more";
    const HTEXTURE texture = gk->Texture_Load("cursor.png");
    ASSERT_NE(texture, 0u);
    DrawScene([&] {
        gk->Gfx_RenderQuad(&quad);
        gk->Gfx_RenderQuad(&quad);
    });
    EXPECT_EQ(gkSdlFramesShown(), start + 4) << "a texture loaded may reuse a handle drawn before";
    gk->Texture_Free(texture);
    ASSERT_TRUE(gkSdlSetFrameCapture(true));
    DrawScene([&] {
        gk->Gfx_RenderQuad(&quad);
        gk->Gfx_RenderQuad(&quad);
    });
    EXPECT_EQ(gkSdlFramesShown(), start + 5) << "a frame to capture is always drawn";
    EXPECT_GT(Red(Pixel(11, 11)), 200) << "and the captured frame shows the quads";
}

// The software renderer draws again only where the scene changed; every pixel comes
// out as a whole redraw makes it, under and beside blended, textured and turned quads.
TEST_F(EngineTest, APartDrawnAgainLooksAsTheWholeSceneDrawnAgain) {
    const HTEXTURE texture = gk->Texture_Load("cursor.png");
    Quad turned = MakeQuad(0, 0, 0, 0, 0xA0FFFF00, texture);
    const float corners[4][2] = {{300, 180}, {420, 300}, {300, 420}, {180, 300}};
    for (int i = 0; i < 4; ++i) turned.v[i].x = corners[i][0], turned.v[i].y = corners[i][1];
    std::vector<Quad> scene = {MakeQuad(0, 0, 800, 700, 0x80204060), MakeQuad(100, 100, 330, 330, 0x80FF0000, texture),
                               turned, MakeQuad(250, 250, 400, 400, 0xC000FF00)};
    const auto draw = [&] {
        DrawScene([&] {
            for (const Quad& quad : scene) gk->Gfx_RenderQuad(&quad);
        });
    };
    const auto pixels = [&] {
        std::vector<std::uint32_t> all;
        for (int y = 0; y < 700; ++y)
            for (int x = 0; x < 800; ++x) all.push_back(Pixel(x, y));
        return all;
    };
    draw();
    scene[3] = MakeQuad(262.5f, 240, 420, 391.5f, 0xC00000FF);
    draw();
    const std::vector<std::uint32_t> inPart = pixels();
    DrawScene([] {});  // the next scene differs everywhere: drawn whole
    draw();
    EXPECT_TRUE(inPart == pixels());
    gk->Texture_Free(texture);
}
