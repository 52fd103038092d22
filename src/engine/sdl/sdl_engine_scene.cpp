// The SDL engine's scenes: the quads of Gfx_RenderQuad are gathered between
// Gfx_BeginScene and Gfx_EndScene, compared with those on screen and drawn only when
// they differ: where the renderer keeps its picture, just the part that changed,
// else the whole scene. Each quad is drawn as a rectangle copy where it allows that,
// else as two triangles. The scene's quads belong to SdlEngine (sdl_engine_state.h).
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "engine/sdl/sdl_engine_state.h"

namespace {

SDL_Texture* Drawn(const LoadedImage& image) {
    return image.companions.Texture() ? image.companions.Texture() : image.image.texture.get();
}
bool DrawnOpaque(const LoadedImage& image) {
    return image.companions.Texture() ? image.companions.Opaque() : image.image.opaque;
}

}  // namespace

bool SdlEngine::Gfx_BeginScene(HTARGET target) {
    if (!renderer || target != 0) return false;
    sceneQuads.clear();
    inScene = true;
    return true;
}

void SdlEngine::Gfx_EndScene() {
    if (!inScene) return;
    inScene = false;
    const ChangedBounds changed =
        FindChangedBounds(shownQuads.data(), shownQuads.size(), sceneQuads.data(), sceneQuads.size());
    drewNew = !changed.empty;
    if (!drewNew && !redrawNeeded && !capture && !companionsPending) return;
    MatchTexturesToOutput();  // the window may have changed its size
    SDL_Rect part{};
    if (!redrawNeeded && !companionsPending && PartToRedraw(changed, &part)) {
        DrawScenePart(part);
    } else {
        SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
        SDL_RenderClear(renderer.get());
        for (const Quad& quad : sceneQuads) DrawSceneQuad(quad);
    }
    if (capture) CaptureFrame();
    SDL_RenderPresent(renderer.get());
    lastPresentSeconds = FrameClock::Now();
    shownQuads.swap(sceneQuads);
    redrawNeeded = false;
    ++framesShown;
}

// Scaling with linear filtering spreads a quad's edge over a pixel at most.
constexpr float kPartMargin = 2;

// The whole-pixel rectangle around what changed, when the buffer still holds the
// rest and it is at most half the screen (beyond that a full redraw costs no more).
bool SdlEngine::PartToRedraw(const ChangedBounds& changed, SDL_Rect* part) const {
    if (!keepsPicture || changed.empty) return false;
    const float left = std::max(std::floor(changed.left - kPartMargin), 0.0f);
    const float top = std::max(std::floor(changed.top - kPartMargin), 0.0f);
    const float right = std::min(std::ceil(changed.right + kPartMargin), static_cast<float>(width));
    const float bottom = std::min(std::ceil(changed.bottom + kPartMargin), static_cast<float>(height));
    if (!(right > left && bottom > top)) return false;  // off screen, or not finite
    if ((right - left) * (bottom - top) > 0.5f * static_cast<float>(width) * static_cast<float>(height))
        return false;
    *part = SDL_Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
    return true;
}

// Paints the part black, then every quad that reaches into it, in order and cut to
// it: its pixels come out as a full redraw would make them.
void SdlEngine::DrawScenePart(const SDL_Rect& part) {
    SDL_RenderSetClipRect(renderer.get(), &part);
    SDL_SetRenderDrawBlendMode(renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    SDL_RenderFillRect(renderer.get(), &part);
    for (const Quad& quad : sceneQuads) {
        if (QuadTouches(quad, part, kPartMargin)) DrawSceneQuad(quad);
    }
    SDL_RenderSetClipRect(renderer.get(), nullptr);
}

void SdlEngine::Gfx_RenderQuad(const Quad* quad) {
    if (!inScene || quad == nullptr) return;
    sceneQuads.push_back(*quad);
}

void SdlEngine::DrawSceneQuad(const Quad& quad) {
    if (!QuadIsFinite(quad)) return;
    const SDL_BlendMode blend = BlendModeFor(quad.blend);
    if (quad.tex == 0) {
        SDL_SetRenderDrawBlendMode(renderer.get(), blend);
        DrawQuad(nullptr, quad);
        return;
    }
    TextureEntry* entry = textures.Find(quad.tex);
    if (entry == nullptr) return;  // freed or unknown texture: nothing to draw with
    SDL_SetTextureBlendMode(Drawn(**entry), blend);
    DrawQuad(entry->get(), quad);
}

// Draws as a rectangle copy where the quad allows it, else as two triangles.
void SdlEngine::DrawQuad(LoadedImage* image, const Quad& quad) {
    SDL_Texture* texture = image ? Drawn(*image) : nullptr;
    QuadRect rect{};
    if (QuadAsRect(quad, image ? image->image.width : 0, image ? image->image.height : 0, Area(), &rect)) {
        const SDL_Color& c = rect.color;
        if (texture == nullptr) {
            SDL_SetRenderDrawColor(renderer.get(), c.r, c.g, c.b, c.a);
            SDL_RenderFillRectF(renderer.get(), &rect.destination);
            return;
        }
        // The game's rectangle is in the image's pixels; a companion has factor times as many.
        const int f = image->companions.Factor();
        const SDL_Rect source{rect.source.x * f, rect.source.y * f, rect.source.w * f, rect.source.h * f};
        SDL_Texture* piece = ShrunkPiece(*image, rect);
        if (piece != nullptr) SDL_SetTextureBlendMode(piece, BlendModeFor(quad.blend));
        texture = piece != nullptr ? piece : texture;
        // An opaque texture at full alpha blends to a plain copy, which the
        // software renderer does far faster.
        if (DrawnOpaque(*image) && c.a == 255 && BlendModeFor(quad.blend) == SDL_BLENDMODE_BLEND) {
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        }
        SDL_SetTextureColorMod(texture, c.r, c.g, c.b);
        SDL_SetTextureAlphaMod(texture, c.a);
        SDL_RenderCopyF(renderer.get(), texture, piece != nullptr ? nullptr : &source, &rect.destination);
        return;
    }
    if (texture != nullptr) {
        SDL_SetTextureColorMod(texture, 255, 255, 255);  // the vertex colours alone tint
        SDL_SetTextureAlphaMod(texture, 255);
    }
    SDL_Vertex vertices[4];
    QuadToVertices(quad, Area(), vertices);
    SDL_RenderGeometry(renderer.get(), texture, vertices, 4, kQuadIndices, 6);
}

// Where a companion is larger than the output pixels its part covers, that part
// shrunk by area to exactly those pixels (as many as the renderer makes of the
// destination), to be copied one to one: a bilinear shrink would blur its edges.
SDL_Texture* SdlEngine::ShrunkPiece(LoadedImage& image, const QuadRect& rect) {
    if (image.companions.Texture() == nullptr) return nullptr;
    float scaleX = 1.0f, scaleY = 1.0f;
    SDL_RenderGetScale(renderer.get(), &scaleX, &scaleY);
    const int pixelsWide = static_cast<int>(rect.destination.w * scaleX);
    const int pixelsHigh = static_cast<int>(rect.destination.h * scaleY);
    return image.companions.Piece(renderer.get(), rect.source, pixelsWide, pixelsHigh);
}
