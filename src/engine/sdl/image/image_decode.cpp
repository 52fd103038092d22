#include "engine/sdl/image/image_decode.h"

#include <SDL_image.h>

#include <climits>

namespace {

SDL_Surface* DecodeAs(ImageFormat format, SDL_RWops* stream) {
    switch (format) {
        case ImageFormat::Png:
            return IMG_LoadPNG_RW(stream);
        case ImageFormat::Jpeg:
            return IMG_LoadJPG_RW(stream);
        case ImageFormat::Bmp:
            return IMG_LoadBMP_RW(stream);
        case ImageFormat::Unknown:
            break;
    }
    return nullptr;
}

}  // namespace

DecodedImage DecodeImage(const unsigned char* bytes, std::size_t size) {
    DecodedImage image;
    if (!ReadImageHeader(bytes, size, &image.header)) {
        image.result = image.header.format == ImageFormat::Unknown ? ImageDecodeResult::NotAnImage
                                                                   : ImageDecodeResult::NoSize;
        return image;
    }
    if (!ImageSizeAccepted(image.header)) {
        image.result = ImageDecodeResult::TooLarge;
        return image;
    }
    image.result = ImageDecodeResult::DecoderFailed;
    if (size > INT_MAX) return image;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    if (stream == nullptr) return image;
    image.surface.reset(DecodeAs(image.header.format, stream));
    SDL_RWclose(stream);
    if (image.surface) image.result = ImageDecodeResult::Decoded;
    return image;
}
