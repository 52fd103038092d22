#include "engine/sdl/quad_geometry.h"

const int kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

namespace {

SDL_Color ColorFromArgb(std::uint32_t argb) {
    SDL_Color color;
    color.a = static_cast<Uint8>(argb >> 24);
    color.r = static_cast<Uint8>(argb >> 16);
    color.g = static_cast<Uint8>(argb >> 8);
    color.b = static_cast<Uint8>(argb);
    return color;
}

}  // namespace

void QuadToVertices(const Quad& quad, SDL_Vertex vertices[4]) {
    for (int i = 0; i < 4; ++i) {
        const Vertex& from = quad.v[i];
        vertices[i].position = SDL_FPoint{from.x, from.y};
        vertices[i].color = ColorFromArgb(from.col);
        vertices[i].tex_coord = SDL_FPoint{from.tx, from.ty};
    }
}

SDL_BlendMode BlendModeFor(int blend) {
    return (blend & 2) != 0 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD;
}
