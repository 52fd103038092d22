// Owning handles for SDL objects: unique_ptr types whose deleters call the
// matching SDL free function, so every window, renderer, texture, surface and
// sound chunk the engine creates is freed exactly once.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>

struct SdlWindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct SdlRendererDeleter {
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct SdlTextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
struct SdlSurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
struct SdlMemoryDeleter {
    void operator()(void* block) const { SDL_free(block); }
};
struct MixChunkDeleter {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};

using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;
using SdlRendererPtr = std::unique_ptr<SDL_Renderer, SdlRendererDeleter>;
using SdlTexturePtr = std::unique_ptr<SDL_Texture, SdlTextureDeleter>;
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;
// Memory SDL handed over with its own allocator (the clipboard's text).
using SdlTextPtr = std::unique_ptr<char, SdlMemoryDeleter>;
using MixChunkPtr = std::unique_ptr<Mix_Chunk, MixChunkDeleter>;
