// Fuzz target for the real engine's readers of outside data: the input becomes a file
// that the SDL engine (dummy video driver, software renderer) reads whole with
// Resource_Load and decodes with Texture_Load, header size limit included; a texture
// it accepts is drawn once with corners taken from the input's first bytes. The whole
// file must come back unchanged, an accepted texture must have the size its header
// claims (1 to 4096 a side), and a freed one must be forgotten.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/gk.h"
#include "engine/sdl/image/image_header.h"
#include "engine/sdl/sdl_engine.h"
#include "support/temp_folder.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "engine invariant broken: %s\n", what);
    std::abort();
}

GK* engine = nullptr;

// Drawn after the engine so that it is removed before anything else ends.
const TempFolder& Scratch() {
    static const TempFolder folder;
    return folder;
}

void CheckResourceLoad(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::uint32_t loadedSize = 0;
    void* block = engine->Resource_Load(path.c_str(), &loadedSize);
    Require(block != nullptr, "a readable file loads");
    Require(loadedSize == size && std::memcmp(block, data, size) == 0, "the whole file comes back");
    Require(static_cast<const char*>(block)[size] == '\0', "a zero byte follows");
    engine->Resource_Free(block);
}

// A quad over the texture with corners and texture coordinates from the input's first
// bytes (any float, NaN and infinities included).
void DrawWith(HTEXTURE texture, const std::uint8_t* data, std::size_t size) {
    float numbers[8] = {4, 4, 60, 60, 0, 0, 1, 1};
    std::memcpy(numbers, data, std::min(size, sizeof numbers));
    Quad quad{};
    const float xs[4] = {numbers[0], numbers[2], numbers[2], numbers[0]};
    const float ys[4] = {numbers[1], numbers[1], numbers[3], numbers[3]};
    const float us[4] = {numbers[4], numbers[6], numbers[6], numbers[4]};
    const float vs[4] = {numbers[5], numbers[5], numbers[7], numbers[7]};
    for (int i = 0; i < 4; ++i) quad.v[i] = Vertex{xs[i], ys[i], 0.5f, 0xFFFFFFFF, us[i], vs[i]};
    quad.tex = texture;
    quad.blend = GK_BLEND_DEFAULT;
    engine->Gfx_BeginScene(0);
    engine->Gfx_RenderQuad(&quad);
    engine->Gfx_EndScene();
}

void CheckTextureLoad(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const HTEXTURE texture = engine->Texture_Load(path.c_str(), 0, false);
    ImageHeader header;
    const bool claimed = ReadImageHeader(data, size, &header) && ImageSizeAccepted(header);
    if (texture == 0) return;
    Require(claimed, "only images with a readable header of an accepted size decode");
    Require(engine->Texture_GetWidth(texture, false) == header.width &&
                engine->Texture_GetHeight(texture, false) == header.height,
            "the texture has the size its header claims");
    DrawWith(texture, data, size);
    engine->Texture_Free(texture);
    Require(engine->Texture_GetWidth(texture, false) == 0, "a freed texture is forgotten");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Scratch();
    engine = gkCreate(GK_VERSION);
    // A small screen keeps each drawn frame cheap.
    engine->System_SetState(GK_SCREENWIDTH, 64);
    engine->System_SetState(GK_SCREENHEIGHT, 64);
    Require(engine != nullptr && engine->System_Initiate(), "the engine starts on the dummy driver");
    std::atexit([] {
        engine->System_Shutdown();
        engine->Release();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Scratch().File("input");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
    }
    CheckResourceLoad(path, data, size);
    CheckTextureLoad(path, data, size);
    return 0;
}
