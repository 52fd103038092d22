#include "engine/sdl/image/image_header.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The bytes with a bounds check on every read.
class ByteReader {
public:
    ByteReader(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool Has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
    unsigned Byte(std::size_t at) const { return bytes_[at]; }
    std::uint32_t Big16(std::size_t at) const { return Byte(at) << 8 | Byte(at + 1); }
    std::uint32_t Big32(std::size_t at) const { return Big16(at) << 16 | Big16(at + 2); }
    std::uint32_t Little16(std::size_t at) const { return Byte(at + 1) << 8 | Byte(at); }
    std::uint32_t Little32(std::size_t at) const { return Little16(at + 2) << 16 | Little16(at); }
    bool Matches(std::size_t at, const void* expected, std::size_t count) const {
        return Has(at, count) && std::memcmp(bytes_ + at, expected, count) == 0;
    }
    std::size_t Size() const { return size_; }

private:
    const unsigned char* bytes_;
    std::size_t size_;
};

// The signature, then the first chunk, which must be IHDR with 13 bytes of data:
// width and height, 4 bytes each, big-endian.
bool ReadPng(const ByteReader& in, ImageHeader* header) {
    if (!in.Matches(0, kPngSignature, sizeof kPngSignature)) return false;
    if (!in.Has(8, 16) || in.Big32(8) != 13 || !in.Matches(12, "IHDR", 4)) return false;
    header->width = in.Big32(16);
    header->height = in.Big32(20);
    return true;
}

bool IsFrameHeader(unsigned marker) {
    // SOF0-SOF15 but DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool HasNoLength(unsigned marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;  // RST0-RST7, TEM
}

// Walks the markers after start-of-image as a JPEG decoder does (bytes between
// markers skipped, fill bytes and stuffed zeros too) up to the first frame header:
// a 2-byte length, the sample precision, then height and width, big-endian.
// A second start-of-image, a scan or the end before any frame header: damaged.
bool ReadJpeg(const ByteReader& in, ImageHeader* header) {
    if (!in.Has(0, 2) || in.Byte(0) != 0xFF || in.Byte(1) != 0xD8) return false;
    std::size_t at = 2;
    for (;;) {
        while (in.Has(at, 1) && in.Byte(at) != 0xFF) ++at;
        while (in.Has(at, 1) && in.Byte(at) == 0xFF) ++at;
        if (!in.Has(at, 1)) return false;
        const unsigned marker = in.Byte(at++);
        if (marker == 0x00 || HasNoLength(marker)) continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return false;  // SOI, EOI, SOS
        if (!in.Has(at, 2)) return false;
        const std::size_t length = in.Big16(at);
        if (length < 2) return false;
        if (IsFrameHeader(marker)) {
            if (length < 7 || !in.Has(at, 7)) return false;
            header->height = in.Big16(at + 3);
            header->width = in.Big16(at + 5);
            return true;
        }
        at += length;
    }
}

// "BM", the 14-byte file header, then the information header's size: 12 for the
// old core header (16-bit width and height), 40 and more for the later ones
// (signed 32-bit; a negative height means rows from the top).
bool ReadBmp(const ByteReader& in, ImageHeader* header) {
    if (!in.Matches(0, "BM", 2) || !in.Has(14, 4)) return false;
    const std::uint32_t infoSize = in.Little32(14);
    if (infoSize == 12) {
        if (!in.Has(18, 4)) return false;
        header->width = in.Little16(18);
        header->height = in.Little16(20);
        return true;
    }
    if (infoSize < 40 || !in.Has(18, 8)) return false;
    header->width = static_cast<std::int32_t>(in.Little32(18));
    const long long height = static_cast<std::int32_t>(in.Little32(22));
    header->height = height < 0 ? -height : height;
    return true;
}

}  // namespace

ImageFormat DetectImageFormat(const unsigned char* bytes, std::size_t size) {
    const ByteReader in(bytes, size);
    if (in.Matches(0, kPngSignature, 4)) return ImageFormat::Png;
    if (in.Has(0, 2) && in.Byte(0) == 0xFF && in.Byte(1) == 0xD8) return ImageFormat::Jpeg;
    if (in.Matches(0, "BM", 2)) return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

bool ReadImageHeader(const unsigned char* bytes, std::size_t size, ImageHeader* header) {
    *header = ImageHeader();
    if (bytes == nullptr) return false;
    const ByteReader in(bytes, size);
    header->format = DetectImageFormat(bytes, size);
    switch (header->format) {
        case ImageFormat::Png:
            return ReadPng(in, header);
        case ImageFormat::Jpeg:
            return ReadJpeg(in, header);
        case ImageFormat::Bmp:
            return ReadBmp(in, header);
        case ImageFormat::Unknown:
            break;
    }
    return false;
}

bool ImageSizeAccepted(const ImageHeader& header) {
    return header.width >= 1 && header.height >= 1 && header.width <= kMaxImageSide &&
           header.height <= kMaxImageSide;
}
