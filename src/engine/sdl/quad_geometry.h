// Translation of the engine's Quad into SDL geometry: four vertices with their
// ARGB colours and texture coordinates, drawn as two triangles, and the blend
// mode. Pure functions, no state.
#pragma once

#include <SDL.h>

#include "engine/gk.h"

// Indices of the two triangles (top-left, top-right, bottom-right) and
// (top-left, bottom-right, bottom-left).
extern const int kQuadIndices[6];

// Positions, colours (ARGB taken apart into bytes) and texture coordinates; z is
// not used (quads are drawn in the order given).
void QuadToVertices(const Quad& quad, SDL_Vertex vertices[4]);

// Blend bit 2 set (mode 2, the game's only mode): alpha blending with the vertex
// colour multiplied in. Clear: additive. The other bits have no SDL equivalent
// and are ignored.
SDL_BlendMode BlendModeFor(int blend);
