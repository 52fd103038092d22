// Shrinking part of an image by area: every output pixel is the average of the
// source pixels whose centres lie in the area it covers, in premultiplied alpha so
// that transparent pixels add no colour. A renderer's bilinear filter, shrinking by a
// factor between one and two, spreads every edge over about two output pixels; the
// area average keeps it near one. Where a source pixel is most of an output pixel,
// averaging still leaves many edges two output pixels wide; steepening the averaged
// alpha about its middle (as text renderers raise their contrast) brings them back
// near one without moving them. Pure
// function, no state; owns only the surface it returns.
#pragma once

#include <SDL.h>

#include "engine/sdl/sdl_handles.h"

// The region of source (32-bit ARGB8888, or RGB888 for an opaque image) resampled to
// width x height pixels of a new surface of the same format, its alpha steepened by
// alphaContrast (1: as averaged); null for another format, when the region does not
// lie inside the source, a size is not positive, or the output would be larger than
// the region.
SdlSurfacePtr ShrinkByArea(const SDL_Surface& source, const SDL_Rect& region, int width, int height,
                           float alphaContrast = 1.0f);
