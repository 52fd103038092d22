// Decoding an image file's bytes into pixels, for the engine's textures: the size
// the header claims is read first (image_header.h) and a claim above 4096 pixels a
// side is refused before any decoder runs; then the one decoder of the format the
// header belongs to decodes the bytes. (SDL_image's own typed loading lets any
// format that recognises the bytes decode them, its SVG reader included.) Owns
// nothing beyond the surface it returns.
#pragma once

#include <cstddef>

#include "engine/sdl/image/image_header.h"
#include "engine/sdl/sdl_handles.h"

enum class ImageDecodeResult {
    Decoded,
    NotAnImage,     // neither PNG, JPEG nor BMP
    NoSize,         // damaged: the header is cut short or holds no size
    TooLarge,       // damaged: the header claims more than kMaxImageSide a side (or nothing)
    DecoderFailed,  // the decoder refused the data (SDL_GetError says why)
};

struct DecodedImage {
    ImageDecodeResult result = ImageDecodeResult::NotAnImage;
    ImageHeader header;     // what the header claims, when it could be read
    SdlSurfacePtr surface;  // the pixels, when Decoded
};

DecodedImage DecodeImage(const unsigned char* bytes, std::size_t size);
