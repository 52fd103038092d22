// The window icon compiled into the engine (icon resource 103): a surface made
// from the RGBA pixels of icon_pixels.inc, generated with the data files.
#pragma once

#include "engine/sdl/sdl_handles.h"

// Surface of the icon with this resource id; null for an unknown id, or when
// the engine was built without the icon pixels.
SdlSurfacePtr CreateWindowIconSurface(int resourceId);
