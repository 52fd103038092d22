// Images too large to hold: the size their header claims is read from the bytes
// (PNG, JPEG, BMP) and anything above 4096 x 4096 is refused as damaged before a
// decoder reserves memory for it; images up to that size still load, each with the
// decoder of its own format only.
#include <SDL.h>
#include <SDL_image.h>

#include <string>

#include "engine/sdl/image/image_header.h"
#include "sdl/engine_test_fixture.h"

namespace {

std::string Big16(unsigned v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string Big32(unsigned v) {
    return Big16(v >> 16) + Big16(v & 0xFFFF);
}
std::string Little32(unsigned v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

// A PNG whose IHDR claims width x height, followed by a few bytes of (invalid) data.
std::string PngClaiming(unsigned width, unsigned height) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Big32(13) + "IHDR" + Big32(width) + Big32(height) +
           std::string("\x08\x06\x00\x00\x00", 5) + Big32(0) + Big32(10) + "IDAT" + std::string(14, 'x');
}

// A JPEG with an APP0 segment, stray bytes, fill bytes, a stuffed zero and a restart
// marker before a progressive frame header claiming width x height.
std::string JpegClaiming(unsigned width, unsigned height) {
    return std::string("\xFF\xD8\xFF\xE0", 4) + Big16(16) + std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14) +
           "junk" + std::string("\xFF\xFF\xFF\x00\xFF\xD3\xFF\xC2", 8) + Big16(17) + "\x08" + Big16(height) +
           Big16(width) + std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
}

// A BMP with a 40-byte information header (negative height: rows from the top).
std::string BmpClaiming(int width, int height) {
    return "BM" + Little32(0) + Little32(0) + Little32(54) + Little32(40) + Little32(static_cast<unsigned>(width)) +
           Little32(static_cast<unsigned>(height)) + std::string(28, '\0');
}

// The claimed size as "W x H", or "damaged" when no size can be read.
std::string Claim(const std::string& bytes) {
    ImageHeader header;
    if (!ReadImageHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &header))
        return "damaged";
    return std::to_string(header.width) + " x " + std::to_string(header.height);
}

// A solid image of the given size written by SDL_image: "png", "jpg" or "bmp".
bool WriteSolidImage(const std::string& path, int width, int height, const std::string& kind) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return false;
    SDL_FillRect(surface, nullptr, 0xFF336699);
    const int result = kind == "png"   ? IMG_SavePNG(surface, path.c_str())
                       : kind == "jpg" ? IMG_SaveJPG(surface, path.c_str(), 90)
                                       : SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    return result == 0;
}

}  // namespace

TEST(ImageHeader, ClaimedSizesAreReadAndHeadersCutShortAreDamaged) {
    const std::string core = "BM" + Little32(0) + Little32(0) + Little32(26) + Little32(12) +
                             std::string("\x10\x27\x05\x00", 4);
    EXPECT_EQ(Claim(PngClaiming(0xFFFFFFFFu, 70000)), "4294967295 x 70000");
    EXPECT_EQ(Claim(JpegClaiming(65535, 5000)), "65535 x 5000");
    EXPECT_EQ(Claim(BmpClaiming(30, -20)), "30 x 20") << "rows from the top";
    EXPECT_EQ(Claim(BmpClaiming(30, INT32_MIN)), "30 x 2147483648");
    EXPECT_EQ(Claim(core), "10000 x 5");
    ImageHeader header;
    header.width = header.height = 4096;
    EXPECT_TRUE(ImageSizeAccepted(header));
    header.height = 4097;
    EXPECT_FALSE(ImageSizeAccepted(header));
    header.height = 0;
    EXPECT_FALSE(ImageSizeAccepted(header));

    // Every cut before the size ends, and headers that hold no size.
    const std::string png = PngClaiming(8, 8), jpeg = JpegClaiming(8, 8), bmp = BmpClaiming(8, 8);
    for (std::size_t cut = 0; cut < 24; ++cut) EXPECT_EQ(Claim(png.substr(0, cut)), "damaged") << cut;
    for (std::size_t cut = 0; cut < 39; ++cut) EXPECT_EQ(Claim(jpeg.substr(0, cut)), "damaged") << cut;
    for (std::size_t cut = 0; cut < 26; ++cut) EXPECT_EQ(Claim(bmp.substr(0, cut)), "damaged") << cut;
    EXPECT_EQ(Claim(std::string(png).replace(12, 4, "IDAT")), "damaged") << "IHDR must come first";
    EXPECT_EQ(Claim(std::string("\xFF\xD8\xFF\xDA", 4) + Big16(8) + std::string(8, '\0')), "damaged")
        << "a scan before any frame header";
    EXPECT_EQ(Claim(std::string("\xFF\xD8\xFF\xE1\x00\x01", 6)), "damaged") << "a segment length below 2";
    EXPECT_EQ(Claim("BM" + Little32(0) + Little32(0) + Little32(54) + Little32(20) + std::string(40, 0)), "damaged")
        << "an information header of unknown size";
    EXPECT_FALSE(ReadImageHeader(reinterpret_cast<const unsigned char*>("GIF89a"), 6, &header));
    EXPECT_EQ(header.format, ImageFormat::Unknown);
}

TEST_F(EngineTest, ImagesClaimingMoreThan4096PixelsASideAreRefusedAsDamaged) {
    const std::pair<const char*, std::string> bombs[] = {{"bomb.png", PngClaiming(60000, 60000)},
                                                         {"bomb.jpg", JpegClaiming(60000, 60000)},
                                                         {"bomb.bmp", BmpClaiming(60000, -60000)}};
    for (const auto& [name, bytes] : bombs) {
        WriteFile(temp.File(name), bytes);
        EXPECT_EQ(gk->Texture_Load(temp.File(name).c_str(), 0, false), 0u) << name;
        EXPECT_NE(ReadFile(logFile).find(std::string(name) + ": damaged image (its header claims 60000 x 60000"),
                  std::string::npos)
            << ReadFile(logFile);
    }
    // Bytes another of SDL_image's readers recognises (SVG text here) behind a JPEG header
    // are decoded as a JPEG, and fail as one.
    WriteFile(temp.File("svg-in-jpeg.jpg"),
              std::string("\xFF\xD8<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>") +
                  std::string("\xFF\xC0\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00\xFF\xD9", 15));
    EXPECT_EQ(gk->Texture_Load(temp.File("svg-in-jpeg.jpg").c_str(), 0, false), 0u);

    // Real images at the limit load; one pixel more is refused.
    for (const char* kind : {"png", "jpg", "bmp"}) {
        const std::string wide = temp.File(std::string("wide.") + kind);
        const std::string tall = temp.File(std::string("tall.") + kind);
        ASSERT_TRUE(WriteSolidImage(wide, 4096, 2, kind)) << SDL_GetError();
        ASSERT_TRUE(WriteSolidImage(tall, 2, 4097, kind)) << SDL_GetError();
        const HTEXTURE loaded = gk->Texture_Load(wide.c_str(), 0, false);
        EXPECT_NE(loaded, 0u) << kind;
        EXPECT_EQ(gk->Texture_GetWidth(loaded, false), 4096);
        gk->Texture_Free(loaded);
        EXPECT_EQ(gk->Texture_Load(tall.c_str(), 0, false), 0u) << kind;
    }
}
