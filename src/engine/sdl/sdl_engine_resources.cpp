// The SDL engine's resources: files the game loads by name (found beside the
// executable, in the data folder or the current folder), the blocks Resource_Load
// hands out, and the textures made from image files, with their high-resolution
// companions matched to the output's scale. The blocks, textures and images belong
// to SdlEngine (sdl_engine_state.h).
#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/sdl/files/resource_files.h"
#include "engine/sdl/image/image_companions.h"
#include "engine/sdl/sdl_engine_state.h"

// ---- files -----------------------------------------------------------------------

bool SdlEngine::LoadFile(const char* filename, std::vector<unsigned char>& bytes, std::string* foundPath) {
    if (filename == nullptr) return false;
    const std::string path = FindResource(filename, moduleDirectory);
    if (path.empty() || !ReadWholeFile(path, bytes)) {
        log.Write("Can't load %s", filename);
        return false;
    }
    if (foundPath != nullptr) *foundPath = path;
    return true;
}

void* SdlEngine::Resource_Load(const char* filename, std::uint32_t* size) {
    if (size != nullptr) *size = 0;
    std::vector<unsigned char> bytes;
    if (!LoadFile(filename, bytes)) return nullptr;
    // One spare zero byte lets text parsers stop at the end.
    auto block = std::make_unique<unsigned char[]>(bytes.size() + 1);  // zero-filled
    std::copy(bytes.begin(), bytes.end(), block.get());
    void* address = block.get();
    blocks[address] = std::move(block);
    if (size != nullptr) *size = static_cast<std::uint32_t>(bytes.size());
    return address;
}

void SdlEngine::Resource_Free(void* block) {
    blocks.erase(block);
}

// ---- textures ----------------------------------------------------------------------

// Only the formats the game's data use are decoded, and only once the header's
// size is known to be one the engine holds. The image's companions are read with it
// (no file is read once the frames run); the one full screen would call for is
// decoded ahead on a worker thread, and one is drawn when the output's scale calls for it.
// A file loaded again while a texture of it is loaded (the same path and bytes) is not
// decoded again: the new texture shares its image and companions.
HTEXTURE SdlEngine::Texture_Load(const char* filename, std::uint32_t /*size*/, bool /*mipmap*/) {
    if (!renderer) return 0;
    std::vector<unsigned char> bytes;
    std::string path;
    if (!LoadFile(filename, bytes, &path)) return 0;
    const auto same =
        std::find_if(images.begin(), images.end(), [&](const std::shared_ptr<LoadedImage>& image) {
            return image->path == path && image->withCompanions == CompanionsWanted() &&
                   image->bytes == bytes;
        });
    TextureEntry entry = same != images.end() ? *same : LoadImage(path, std::move(bytes), filename);
    if (!entry) return 0;
    redrawNeeded = true;  // a new texture may reuse the handle of one freed before
    return textures.Add(std::move(entry));
}

TextureEntry SdlEngine::LoadImage(const std::string& path, std::vector<unsigned char> bytes,
                                  const char* filename) {
    auto loaded = std::make_shared<LoadedImage>();
    loaded->image = CreateImageTexture(renderer.get(), bytes);
    if (!loaded->image.texture) {
        log.Write("Can't load texture %s: %s", filename, loaded->image.error.c_str());
        return nullptr;
    }
    loaded->path = path;
    loaded->bytes = std::move(bytes);
    loaded->withCompanions = CompanionsWanted();
    if (loaded->withCompanions) {
        MatchTexturesToOutput();  // the scale the new one is matched to is the output's now
        TextureCompanions& companions = loaded->companions;
        companions.Read(path, loaded->image.width, loaded->image.height, CompanionBytes(), log);
        companions.Prefetch(FullScreenScale(), CompanionBytes(), SDL_GetWindowID(window.get()));
        if (!MatchCompanions(*loaded, true)) companionsPending = true;
    }
    images.push_back(loaded);
    return loaded;
}

void SdlEngine::Texture_Free(HTEXTURE texture) {
    if (!textures.Remove(texture)) return;
    // An image no texture is loaded from any more goes, its companions with it.
    images.erase(
        std::remove_if(images.begin(), images.end(),
                       [](const std::shared_ptr<LoadedImage>& image) { return image.use_count() == 1; }),
        images.end());
}

std::size_t SdlEngine::CompanionBytes(const LoadedImage* except) const {
    std::size_t bytes = 0;
    for (const auto& image : images) {
        if (image.get() != except) bytes += image->companions.Bytes();
    }
    return bytes;
}

int SdlEngine::Texture_GetWidth(HTEXTURE texture, bool /*original*/) {
    const TextureEntry* entry = textures.Find(texture);
    return entry ? (*entry)->image.width : 0;
}

int SdlEngine::Texture_GetHeight(HTEXTURE texture, bool /*original*/) {
    const TextureEntry* entry = textures.Find(texture);
    return entry ? (*entry)->image.height : 0;
}

// The output scale in full screen on the window's display.
double SdlEngine::FullScreenScale() const {
    SDL_DisplayMode desktop{};
    const int display = SDL_GetWindowDisplayIndex(window.get());
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &desktop) != 0) return textureScale;
    return OutputScale(desktop.w, desktop.h, width, height);
}

// Chooses the textures' companions for the output's scale, when it has changed.
void SdlEngine::MatchTexturesToOutput() {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    const double scale = OutputScale(outputWidth, outputHeight, width, height);
    if (scale == textureScale && !companionsPending) return;
    textureScale = scale;
    bool pending = false;
    for (const auto& image : images) pending |= !MatchCompanions(*image, false);
    companionsPending = pending;
}

// Without wait, false while the companion chosen is still decoding.
bool SdlEngine::MatchCompanions(LoadedImage& image, bool wait) {
    return image.companions.Match(textureScale, renderer.get(), CompanionBytes(&image), log, wait,
                                  SDL_GetWindowID(window.get()));
}
