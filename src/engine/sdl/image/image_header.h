// The size an image claims in its header, read from the file's bytes before any
// decoder sees them: the PNG IHDR chunk, the first JPEG frame header (SOF) and
// the BMP information header, found the way their decoders find them. An image
// too large to hold is refused from its header in microseconds, rather than
// after a decoder has reserved gigabytes for it. Pure functions over the bytes
// given, every read bounds-checked; standard library only.
#pragma once

#include <cstddef>

// The largest width and height the engine decodes (a 4096 x 4096 image takes 64 MB).
constexpr int kMaxImageSide = 4096;

enum class ImageFormat { Unknown, Png, Jpeg, Bmp };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    long long width = 0;  // as claimed (a header can claim more than an int holds)
    long long height = 0;
};

// The format by the first bytes: the PNG signature's first four bytes, the JPEG
// start-of-image marker, or "BM". Unknown for anything else.
ImageFormat DetectImageFormat(const unsigned char* bytes, std::size_t size);

// Fills header with the format and the claimed size; false when the format is
// unknown or the header is cut short or damaged (no size can be read from it).
bool ReadImageHeader(const unsigned char* bytes, std::size_t size, ImageHeader* header);

// True when the claimed size is at least 1 and at most kMaxImageSide both ways.
bool ImageSizeAccepted(const ImageHeader& header);
