// The game's data files through the real engine: every file loads with the
// size the game relies on, and a frame drawn with the game's own sprite and
// font classes (background, cell faces, button, cursor, a line of text) shows
// their pixels. The frame is saved as engine_frame.png in the test's temporary folder.
#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "gfx/font.h"
#include "gfx/sprite.h"
#include "sdl/engine_test_fixture.h"

namespace {

constexpr std::uint32_t kGold = 0xFFFFD700;

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Image = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A data file decoded by SDL_image on its own, in ARGB, for comparison.
Image LoadImage(const char* name) {
    Image loaded(IMG_Load(name));
    if (!loaded) return nullptr;
    return Image(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
}

std::uint32_t ImagePixel(const Image& image, int x, int y) {
    const auto* row =
        static_cast<const unsigned char*>(image->pixels) + static_cast<std::size_t>(y) * image->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

class DataFrameTest : public EngineTest {
protected:
    void LoadTexture(HTEXTURE& texture, const char* name, int width, int height) {
        texture = gk->Texture_Load(name, 0, false);
        ASSERT_NE(texture, 0u) << name;
        EXPECT_EQ(gk->Texture_GetWidth(texture, false), width) << name;
        EXPECT_EQ(gk->Texture_GetHeight(texture, false), height) << name;
    }
    void TearDown() override {
        for (HTEXTURE texture : {cursor, unselect, select, circle, background}) gk->Texture_Free(texture);
        gk->Effect_Free(sound);
        EngineTest::TearDown();
    }
    HTEXTURE cursor = 0, unselect = 0, select = 0, circle = 0, background = 0;
    HEFFECT sound = 0;
};

}  // namespace

TEST_F(DataFrameTest, DrawsTheBackgroundSpritesAndTextFromTheDataFiles) {
    LoadTexture(cursor, "cursor.png", 32, 32);
    sound = gk->Effect_Load("menu.wav", 0);
    EXPECT_NE(sound, 0u);
    EXPECT_EQ(gk->Effect_Play(sound) != 0, gkSdlAudioActive()) << "plays on a device, silently without";
    LoadTexture(unselect, "unselect.bmp", 30, 30);
    LoadTexture(select, "select.bmp", 30, 30);
    LoadTexture(circle, "circle2.png", 30, 30);
    LoadTexture(background, "bgp.jpg", 800, 700);
    {
        gkFont font("font1.fnt");
        ASSERT_NE(font.Texture(), 0u) << "the glyph image named by font1.fnt";
        EXPECT_GT(gk->Texture_GetWidth(font.Texture(), false), 0);
        ASSERT_NE(font.Glyph('Q'), nullptr);
        EXPECT_GT(font.GetHeight(), 0.0f);

        gkSprite backgroundSprite(background, 0, 0, 800, 700);
        gkSprite cursorSprite(cursor, 0, 0, 32, 32);
        gkSprite selectSprite(select, 0, 0, 30, 30);
        gkSprite unselectSprite(unselect, 0, 0, 30, 30);
        gkSprite circleSprite(circle, 0, 0, 30, 30);
        const char* text = "Quorvel Veltrane Sudoku";
        const float textWidth = font.GetStringWidth(text);
        DrawScene([&] {
            backgroundSprite.Render(0, 0);
            unselectSprite.Render(100, 600);
            selectSprite.Render(130, 600);
            circleSprite.Render(160, 600);
            font.SetColor(kGold);
            font.Printf(400, 300, AlignCenter, "%s", text);
            cursorSprite.Render(700, 600);
        });
        ASSERT_TRUE(gkSdlSaveScreenshot(temp.File("engine_frame.png").c_str()));

        // The background everywhere nothing else was drawn.
        const Image bgp = LoadImage("bgp.jpg");
        ASSERT_NE(bgp, nullptr);
        for (const auto& [x, y] : {std::pair{5, 5}, {400, 200}, {790, 690}, {400, 360}, {50, 650}}) {
            EXPECT_TRUE(Near(Pixel(x, y), ImagePixel(bgp, x, y), 2)) << "background at " << x << ", " << y;
        }
        // The cell faces and the button, pixel for pixel where they are opaque.
        const Image selectImage = LoadImage("select.bmp");
        const Image unselectImage = LoadImage("unselect.bmp");
        const Image circleImage = LoadImage("circle2.png");
        ASSERT_TRUE(selectImage && unselectImage && circleImage);
        EXPECT_TRUE(Near(Pixel(115, 615), ImagePixel(unselectImage, 15, 15), 2));
        EXPECT_TRUE(Near(Pixel(145, 615), ImagePixel(selectImage, 15, 15), 2));
        EXPECT_FALSE(Near(ImagePixel(selectImage, 15, 15), ImagePixel(unselectImage, 15, 15), 10));
        ASSERT_EQ(ImagePixel(circleImage, 15, 15) >> 24, 0xFFu);
        EXPECT_TRUE(Near(Pixel(175, 615), ImagePixel(circleImage, 15, 15), 2));
        EXPECT_TRUE(Near(Pixel(160, 600), ImagePixel(bgp, 160, 600), 2)) << "outside the circle";

        // The cursor where its image is opaque.
        const Image cursorImage = LoadImage("cursor.png");
        ASSERT_NE(cursorImage, nullptr);
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if ((ImagePixel(cursorImage, x, y) >> 24) != 0xFF) continue;
                ++opaque;
                EXPECT_TRUE(Near(Pixel(700 + x, 600 + y), ImagePixel(cursorImage, x, y), 2))
                    << x << ", " << y;
            }
        }
        EXPECT_GT(opaque, 20);

        // The text: gold where glyphs are, inside its box and nowhere around it.
        const int left = static_cast<int>(400 - textWidth / 2);
        const int right = static_cast<int>(400 + textWidth / 2);
        const int bottom = 300 + static_cast<int>(font.GetHeight());
        int gold = 0;
        for (int y = 300; y < bottom; ++y) {
            for (int x = left; x <= right; ++x) gold += Near(Pixel(x, y), kGold, 12) ? 1 : 0;
        }
        EXPECT_GT(gold, 300) << "gold glyph pixels between x " << left << " and " << right;
        int goldOutside = 0;
        for (int x = 0; x < 800; ++x) {
            goldOutside += Near(Pixel(x, 290), kGold, 12) ? 1 : 0;
            goldOutside += Near(Pixel(x, bottom + 8), kGold, 12) ? 1 : 0;
        }
        EXPECT_EQ(goldOutside, 0);
    }
}
