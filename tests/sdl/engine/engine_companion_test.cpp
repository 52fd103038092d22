// High-resolution companions (name@2x.png beside name.png) on the real engine: the
// name looked for, the factor drawn for an output's scale, shrinking by area, what
// a scaled-up window draws of a texture with a good, missing or broken companion, the
// texture keeping its 1x size for the game, and the memory companions hold.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/sdl/image/area_resample.h"
#include "engine/sdl/image/image_companions.h"
#include "engine/sdl/image/texture_images.h"
#include "sdl/engine_test_fixture.h"

namespace {

SdlSurfacePtr Surface(int width, int height, Uint32 format, const std::vector<Uint32>& pixels = {}) {
    SdlSurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format));
    for (std::size_t i = 0; surface && i < pixels.size(); ++i)
        static_cast<Uint32*>(surface->pixels)[i] = pixels[i];
    return surface;
}

// A size x size PNG in four quadrants of the given colours (top-left, top-right,
// bottom-left, bottom-right).
void WriteQuadrants(const std::string& path, int size, const Uint32 (&colours)[4]) {
    SdlSurfacePtr image = Surface(size, size, SDL_PIXELFORMAT_ARGB8888);
    for (int i = 0; i < 4; ++i) {
        SDL_Rect quadrant{(i % 2) * size / 2, (i / 2) * size / 2, size / 2, size / 2};
        SDL_FillRect(image.get(), &quadrant, colours[i]);
    }
    ASSERT_EQ(IMG_SavePNG(image.get(), path.c_str()), 0);
}

void ResizeTheWindow(int width, int height) {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, width, height);
    SDL_PumpEvents();  // the renderer follows the size through its event watch
}

long LogLines(const std::string& logFile) {
    const std::string log = ReadFile(logFile);
    return std::count(log.begin(), log.end(), '\n');
}

constexpr Uint32 kArgb = SDL_PIXELFORMAT_ARGB8888;
constexpr Uint32 kImage[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
constexpr Uint32 kCompanion[4] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808080};

}  // namespace

TEST(ImageCompanions, AreLookedForBesideTheImageAndChosenByTheOutputsScale) {
    const char* const names[][2] = {{"data/bgp.jpg", "data/bgp@4x.jpg"}, {"/a.b/.glyphs", "/a.b/.glyphs@4x"}};
    for (const auto& name : names) EXPECT_EQ(CompanionName(name[0], 4), name[1]) << name[0];
    struct Case {
        int width, height;
        std::vector<int> available;
        int expected;
    } const cases[] = {{800, 700, {2, 4}, 1},   {400, 350, {2, 4}, 1},   {1000, 700, {2, 4}, 1},
                       {1600, 1400, {2, 4}, 2}, {1920, 1080, {2, 4}, 2}, {3840, 2160, {2, 4}, 4},
                       {3840, 2160, {2}, 2},    {1920, 1080, {4}, 4},    {1920, 1080, {}, 1},
                       {7680, 4320, {2, 4}, 4}, {0, 0, {2, 4}, 1}};
    for (const Case& c : cases) {
        const double scale = OutputScale(c.width, c.height, 800, 700);
        EXPECT_EQ(ChooseCompanionFactor(scale, c.available), c.expected) << c.width << " x " << c.height;
    }
}

TEST(AreaShrink, AveragesTheSourcePixelsWhoseCentresAnOutputPixelCovers) {
    struct Case {
        const char* what;
        Uint32 format;
        std::vector<Uint32> row;
        float contrast;
        std::vector<Uint32> expected;
    } const cases[] = {
        {"two into one",
         kArgb,
         {0xFF000000, 0xFF0000FE, 0xFFFF0000, 0xFFFF0000},
         1,
         {0xFF00007F, 0xFFFF0000}},
        {"partly covered: whole or not", kArgb, {0xFF000000, ~0u, ~0u}, 1, {0xFF000000, ~0u}},
        {"transparent adds no colour", kArgb, {0xFFFF0000, 0x0000FF00}, 1, {0x80FF0000}},
        {"steeper alpha", kArgb, {~0u, ~0u, ~0u, 0x00FFFFFF}, 2, {~0u}},
        {"its middle kept", kArgb, {~0u, 0x00FFFFFF}, 1.3f, {0x80FFFFFF}},
        {"opaque, top byte unused", SDL_PIXELFORMAT_RGB888, {0x00FF0000, 0x000000FE}, 1, {0xFF80007F}}};
    for (const Case& c : cases) {
        const int width = static_cast<int>(c.row.size()), shrunkWidth = static_cast<int>(c.expected.size());
        SdlSurfacePtr row = Surface(width, 1, c.format, c.row);
        SdlSurfacePtr shrunk = ShrinkByArea(*row, SDL_Rect{0, 0, width, 1}, shrunkWidth, 1, c.contrast);
        ASSERT_TRUE(shrunk) << c.what;
        for (int x = 0; x < shrunkWidth; ++x)
            EXPECT_EQ(static_cast<Uint32*>(shrunk->pixels)[x], c.expected[x]) << c.what;
    }
}

// An 8 x 8 image drawn at its own size, whole and its bottom-right quadrant alone, in
// windows of the game's size, twice and one and a half times it.
TEST_F(EngineTest, ScaledUpWindowsDrawFromAGoodCompanionAndElseFromTheImage) {
    enum Companion { None, Good, WrongSize, Garbage, CutShort };
    struct Case {
        const char* what;
        Companion companion;
        int windowWidth, windowHeight;
        bool loadedBeforeTheWindowGrew, drawnFromCompanion;
        int logLines;
    } const cases[] = {{"twice the size", Good, 1600, 1400, false, true, 0},
                       {"grown after loading: drawn once decoded", Good, 1600, 1400, true, true, 0},
                       {"one and a half times: shrunk from the companion", Good, 1200, 1050, false, true, 0},
                       {"the game's size", Good, 800, 700, false, false, 0},
                       {"no companion", None, 1600, 1400, false, false, 1},
                       {"a companion of another size", WrongSize, 1600, 1400, false, false, 1},
                       {"a companion that is no image", Garbage, 1600, 1400, false, false, 1},
                       {"a companion cut short after its header", CutShort, 1600, 1400, false, false, 1}};
    const std::string image = temp.File("tile.png"), companion = temp.File("tile@2x.png");
    WriteQuadrants(image, 8, kImage);
    for (const Case& c : cases) {
        std::remove(companion.c_str());
        if (c.companion == Good || c.companion == CutShort) WriteQuadrants(companion, 16, kCompanion);
        if (c.companion == WrongSize) WriteQuadrants(companion, 12, kCompanion);
        if (c.companion == Garbage) WriteFile(companion, "not an image at all");
        if (c.companion == CutShort) WriteFile(companion, ReadFile(companion).substr(0, 40));
        ResizeTheWindow(c.loadedBeforeTheWindowGrew ? 800 : c.windowWidth,
                        c.loadedBeforeTheWindowGrew ? 700 : c.windowHeight);
        const long linesBefore = LogLines(logFile);
        const HTEXTURE texture = gk->Texture_Load(image.c_str(), 0, false);
        ASSERT_NE(texture, 0u) << c.what;
        EXPECT_EQ(gk->Texture_GetWidth(texture, false), 8) << c.what;
        ResizeTheWindow(c.windowWidth, c.windowHeight);
        // Until the companion is there the frames draw from the image.
        for (int frame = 0; frame == 0 || (gkSdlCompanionsPending() && frame < 1000); ++frame) {
            if (frame > 0) SDL_Delay(5), SDL_PumpEvents();
            DrawScene([&] {
                Quad whole = MakeQuad(100, 100, 108, 108, 0xFFFFFFFF, texture);
                Quad quarter = MakeQuad(200, 100, 204, 104, 0xFFFFFFFF, texture);
                for (Vertex& v : quarter.v) v.tx = v.tx * 0.5f + 0.5f, v.ty = v.ty * 0.5f + 0.5f;
                gk->Gfx_RenderQuad(&whole);
                gk->Gfx_RenderQuad(&quarter);
            });
        }
        const Uint32(&expected)[4] = c.drawnFromCompanion ? kCompanion : kImage;
        // Each quadrant's middle, and where the image is not magnified the four pixels
        // around the image's middle too, one in each quadrant: nothing shifted or blurred.
        const bool sharp = c.drawnFromCompanion || c.windowWidth == 800;
        for (const int at : sharp ? std::vector<int>{1, 3} : std::vector<int>{1}) {
            for (int q = 0; q < 4; ++q) {
                const int x = q % 2 ? 107 - at : 100 + at, y = q / 2 ? 107 - at : 100 + at;
                EXPECT_TRUE(Near(Pixel(x, y), expected[q], 1))
                    << c.what << ", quadrant " << q << " at " << at;
            }
            EXPECT_TRUE(Near(Pixel(200 + at, 100 + at), expected[3], 1))
                << c.what << ": bottom-right quadrant alone";
        }
        EXPECT_EQ(LogLines(logFile) - linesBefore, c.logLines) << c.what;
        gk->Texture_Free(texture);
    }
}

// Each companion file is read and decoded once however many textures load its image,
// holds pixels beside its texture only while shrunk pieces are cut from them, and what
// all companions hold (file bytes, pixels decoded ahead, textures) stays within 64 MB.
TEST_F(EngineTest, CompanionsAreHeldOncePerFileAndWithinTheirBudget) {
    const auto settle = [&](int width, int height) {
        ResizeTheWindow(width, height);
        for (int frame = 0; frame == 0 || (gkSdlCompanionsPending() && frame < 1000); ++frame)
            SDL_Delay(frame > 0 ? 5 : 0), SDL_PumpEvents(), DrawScene([] {});
    };
    WriteQuadrants(temp.File("tile.png"), 8, kImage);
    WriteQuadrants(temp.File("tile@2x.png"), 16, kCompanion);
    const std::size_t file = ReadFile(temp.File("tile@2x.png")).size(), pixels = 16 * 16 * 4;
    std::vector<HTEXTURE> loads(30);
    for (HTEXTURE& t : loads) t = gk->Texture_Load(temp.File("tile.png").c_str(), 0, false);
    const struct {
        int width, height;
        std::size_t held;
    } cases[] = {{800, 700, pixels},        // the companion full screen will need, decoded ahead
                 {1200, 1050, 2 * pixels},  // its texture, and its pixels for the shrunk pieces
                 {1600, 1400, pixels},      // drawn one to one: the texture alone
                 {800, 700, 0}};            // not drawn
    for (const auto& c : cases) {
        settle(c.width, c.height);
        EXPECT_EQ(gkSdlCompanionBytes(), file + c.held) << c.width;
    }
    for (HTEXTURE t : loads) gk->Texture_Free(t);
    EXPECT_EQ(gkSdlCompanionBytes(), 0u);

    // Four images whose companions take 16 MB decoded (32 MB while made into a texture).
    WriteQuadrants(temp.File("big0.png"), 1024, kImage);
    WriteQuadrants(temp.File("big0@2x.png"), 2048, kCompanion);
    for (const char* name : {"big1", "big2", "big3"}) {
        std::filesystem::copy_file(temp.File("big0.png"), temp.File(std::string(name) + ".png"));
        std::filesystem::copy_file(temp.File("big0@2x.png"), temp.File(std::string(name) + "@2x.png"));
    }
    for (const char* name : {"big0", "big1", "big2", "big3"}) {
        loads.push_back(gk->Texture_Load(temp.File(std::string(name) + ".png").c_str(), 0, false));
        EXPECT_LE(gkSdlCompanionBytes(), kMaxCompanionBytes) << name << " decoded ahead";
    }
    settle(1600, 1400);
    EXPECT_LE(gkSdlCompanionBytes(), kMaxCompanionBytes);
    EXPECT_NE(ReadFile(logFile).find("big3@2x.png not used: the companions would take more than 64 MB"),
              std::string::npos)
        << ReadFile(logFile);
}
