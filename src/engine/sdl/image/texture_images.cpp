#include "engine/sdl/image/texture_images.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/sdl/files/resource_files.h"
#include "engine/sdl/image/area_resample.h"
#include "engine/sdl/image/image_companions.h"
#include "engine/sdl/image/image_decode.h"

namespace {

std::string DecodeError(const DecodedImage& image) {
    switch (image.result) {
        case ImageDecodeResult::Decoded:
            break;
        case ImageDecodeResult::NotAnImage:
            return "not a PNG, JPEG or BMP image";
        case ImageDecodeResult::NoSize:
            return "damaged image (no size in its header)";
        case ImageDecodeResult::TooLarge: {
            char text[160];
            std::snprintf(text, sizeof text,
                          "damaged image (its header claims %lld x %lld pixels; at most %d x %d)",
                          image.header.width, image.header.height, kMaxImageSide, kMaxImageSide);
            return text;
        }
        case ImageDecodeResult::DecoderFailed:
            return SDL_GetError();
    }
    return std::string();
}

// How much a shrunk piece's alpha is steepened (area_resample.h): enough to bring
// edges back to about one output pixel, little enough to keep curves smooth.
constexpr float kEdgeContrast = 1.5f;

std::size_t PixelBytes(long long width, long long height) {
    return 4u * static_cast<std::size_t>(std::max(width, 0LL)) *
           static_cast<std::size_t>(std::max(height, 0LL));
}

}  // namespace

ImageTexture CreateImageTexture(SDL_Renderer* renderer, const std::vector<unsigned char>& bytes) {
    ImageTexture made;
    DecodedImage image = DecodeImage(bytes.data(), bytes.size());
    if (image.result != ImageDecodeResult::Decoded) {
        made.error = DecodeError(image);
        return made;
    }
    made.texture.reset(SDL_CreateTextureFromSurface(renderer, image.surface.get()));
    image.surface.reset();
    if (!made.texture) {
        made.error = SDL_GetError();
        return made;
    }
    Uint32 format = 0;
    SDL_QueryTexture(made.texture.get(), &format, nullptr, &made.width, &made.height);
    made.opaque = !SDL_ISPIXELFORMAT_ALPHA(format);
    SDL_SetTextureBlendMode(made.texture.get(), SDL_BLENDMODE_BLEND);
    return made;
}

DecodedPixels DecodePixels(const std::vector<unsigned char>& bytes) {
    DecodedPixels decoded;
    DecodedImage image = DecodeImage(bytes.data(), bytes.size());
    if (image.result != ImageDecodeResult::Decoded) {
        decoded.error = DecodeError(image);
        return decoded;
    }
    decoded.opaque = image.surface->format->Amask == 0 && !SDL_HasColorKey(image.surface.get());
    // Opaque pixels without alpha: copied to the screen as they are, where a texture
    // with alpha would be converted at every copy.
    const Uint32 format = decoded.opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888;
    decoded.pixels.reset(SDL_ConvertSurfaceFormat(image.surface.get(), format, 0));
    if (!decoded.pixels) decoded.error = SDL_GetError();
    return decoded;
}

namespace {

// What a decoding thread works on; the thread owns it.
struct DecodeWork {
    std::packaged_task<DecodedPixels()> task;
    Uint32 wakeWindow = 0;
};

int RunDecodeWork(void* data) {
    const std::unique_ptr<DecodeWork> work(static_cast<DecodeWork*>(data));
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_LOW);
    work->task();  // the result is there before the event is
    SDL_Event wake{};
    wake.type = SDL_WINDOWEVENT;
    wake.window.event = SDL_WINDOWEVENT_EXPOSED;
    wake.window.windowID = work->wakeWindow;
    SDL_PushEvent(&wake);
    return 0;
}

}  // namespace

// An SDL thread rather than a std::thread: SDL frees what it keeps per thread (the
// error text a failed decoding leaves) when its own threads end.
DecodeTask::DecodeTask(FileBytes bytes, Uint32 wakeWindow) {
    auto work = std::make_unique<DecodeWork>();
    work->task = std::packaged_task<DecodedPixels()>([bytes] { return DecodePixels(*bytes); });
    work->wakeWindow = wakeWindow;
    std::future<DecodedPixels> pixels = work->task.get_future();
    thread = SDL_CreateThread(RunDecodeWork, "decode", work.get());
    if (thread == nullptr) return;  // no thread: not started, decoded when needed
    work.release();                 // the thread owns it now
    result = std::move(pixels);
}

DecodeTask& DecodeTask::operator=(DecodeTask&& other) noexcept {
    if (this != &other) {
        Join();
        result = std::move(other.result);
        thread = std::exchange(other.thread, nullptr);
    }
    return *this;
}

void DecodeTask::Join() {
    if (thread != nullptr) SDL_WaitThread(thread, nullptr);
    thread = nullptr;
}

bool DecodeTask::Done() const {
    return result.valid() && result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

DecodedPixels DecodeTask::Take() {
    DecodedPixels pixels = result.get();
    Join();
    return pixels;
}

void TextureCompanions::Read(const std::string& path, int imageWidth, int imageHeight,
                             std::size_t bytesElsewhere, const EngineLog& log) {
    imagePath = path;
    width = imageWidth;
    height = imageHeight;
    files.clear();
    for (const int f : kCompanionFactors) {
        File file;
        file.factor = f;
        file.path = CompanionName(path, f);
        const std::size_t held = bytesElsewhere + Bytes();
        const std::size_t room = held < kMaxCompanionBytes ? kMaxCompanionBytes - held : 0;
        // The size is looked at first so that a file past the budget is not read at all;
        // the read is bounded too, in case the file grows in between.
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(file.path, error);
        auto bytes = std::make_shared<std::vector<unsigned char>>();
        if (!error && size > room) {
            log.Write(
                "Companion %s not used: the companions would take more than 64 MB; "
                "%s is drawn from its own pixels",
                file.path.c_str(), imagePath.c_str());
            told = true;
            continue;
        }
        if (!ReadWholeFile(file.path, *bytes, std::min(room, kMaxResourceBytes))) continue;  // none there
        ImageHeader header;
        const bool readable = ReadImageHeader(bytes->data(), bytes->size(), &header);
        if (!readable || header.width != static_cast<long long>(width) * f ||
            header.height != static_cast<long long>(height) * f) {
            log.Write("Companion %s not used: %s, not %d x %d pixels; %s is drawn from its own pixels",
                      file.path.c_str(), readable ? "its header claims another size" : "damaged header",
                      width * f, height * f, imagePath.c_str());
            told = true;
            continue;
        }
        file.bytes = std::move(bytes);
        files.push_back(std::move(file));
    }
}

std::vector<int> TextureCompanions::Factors() const {
    std::vector<int> factors;
    for (const File& file : files) factors.push_back(file.factor);
    return factors;
}

std::vector<TextureCompanions::File>::iterator TextureCompanions::FileOf(int wanted) {
    return std::find_if(files.begin(), files.end(), [&](const File& f) { return f.factor == wanted; });
}

std::size_t TextureCompanions::DecodedBytes(int companionFactor) const {
    return PixelBytes(static_cast<long long>(width) * companionFactor,
                      static_cast<long long>(height) * companionFactor);
}

std::size_t TextureCompanions::DrawnBytes() const {
    std::size_t total = drawn.texture ? PixelBytes(drawn.width, drawn.height) : 0;
    if (drawnPixels) total += PixelBytes(drawnPixels->w, drawnPixels->h);
    return total;
}

std::size_t TextureCompanions::Bytes() const {
    std::size_t total = DrawnBytes();
    for (const File& file : files) {
        total += file.bytes->size();
        if (file.decoding.Started()) total += DecodedBytes(file.factor);
    }
    return total;
}

void TextureCompanions::Prefetch(double aheadScale, std::size_t bytesElsewhere, Uint32 wakeWindow) {
    ahead = ChooseCompanionFactor(aheadScale, Factors());
    const auto file = FileOf(ahead);
    if (file == files.end() || file->factor == Factor() || file->decoding.Started()) return;
    if (Fits(*file, bytesElsewhere)) file->decoding = DecodeTask(file->bytes, wakeWindow);
}

bool TextureCompanions::DropUnwantedDecodings(int wanted) {
    bool allDropped = true;
    for (File& file : files) {
        if (file.factor == wanted || file.factor == ahead || !file.decoding.Started()) continue;
        if (file.decoding.Done()) {
            file.decoding.Take();  // the pixels go at once
        } else {
            allDropped = false;
        }
    }
    return allDropped;
}

void TextureCompanions::DropPieces() {
    pieces.clear();
    pieceBytes = 0;
}

bool TextureCompanions::Match(double outputScale, SDL_Renderer* renderer, std::size_t bytesElsewhere,
                              const EngineLog& log, bool wait, Uint32 wakeWindow) {
    if (imagePath.empty()) return true;  // read without companions
    if (outputScale != scale) DropPieces();
    scale = outputScale;
    for (;;) {
        const int wanted = ChooseCompanionFactor(scale, Factors());
        if (wanted == 1 && scale > 1.0 + 1e-6 && !told) {
            log.Write("No companion of %s for the output's scale %.2f; it is drawn from its own pixels",
                      imagePath.c_str(), scale);
            told = true;
        }
        if (wanted == Factor()) {
            // A companion drawn one to one needs no pixels beside its texture; shrunk
            // pieces are cut from them, so where they were dropped it is decoded again.
            const bool piecesCut = drawn.texture && factor > scale;
            if (!piecesCut) drawnPixels.reset();
            if (!piecesCut || drawnPixels) return DropUnwantedDecodings(wanted);
        }
        const auto file = FileOf(wanted);
        if (file != files.end() && !wait && !file->decoding.Done() && Fits(*file, bytesElsewhere)) {
            if (!file->decoding.Started()) file->decoding = DecodeTask(file->bytes, wakeWindow);
            return false;
        }
        // The one drawn so far goes before the next is made.
        drawn = ImageTexture();
        drawnPixels.reset();
        DropPieces();
        factor = 1;
        if (file == files.end() || Use(*file, renderer, bytesElsewhere, log)) {
            return DropUnwantedDecodings(wanted);
        }
        files.erase(file);
    }
}

bool TextureCompanions::Fits(const File& file, std::size_t bytesElsewhere) const {
    const std::size_t held =
        bytesElsewhere + Bytes() - DrawnBytes() - (file.decoding.Started() ? DecodedBytes(file.factor) : 0);
    return held <= kMaxCompanionBytes && 2 * DecodedBytes(file.factor) <= kMaxCompanionBytes - held;
}

bool TextureCompanions::Use(File& file, SDL_Renderer* renderer, std::size_t bytesElsewhere,
                            const EngineLog& log) {
    std::string error;
    if (!Fits(file, bytesElsewhere)) {
        error = "the companions would take more than 64 MB";
    } else {
        DecodedPixels decoded = file.decoding.Started() ? file.decoding.Take() : DecodePixels(*file.bytes);
        if (!decoded.pixels) {
            error = decoded.error;
        } else if (decoded.pixels->w != width * file.factor || decoded.pixels->h != height * file.factor) {
            error = "it decodes to another size";
        } else {
            drawn.texture.reset(SDL_CreateTextureFromSurface(renderer, decoded.pixels.get()));
            if (drawn.texture) {
                SDL_SetTextureBlendMode(drawn.texture.get(), SDL_BLENDMODE_BLEND);
                drawn.width = decoded.pixels->w;
                drawn.height = decoded.pixels->h;
                if (file.factor > scale) drawnPixels = std::move(decoded.pixels);  // for shrunk pieces
                drawnOpaque = decoded.opaque;
                factor = file.factor;
                return true;
            }
            error = SDL_GetError();
        }
    }
    log.Write("Companion %s not used: %s; %s is drawn from its own pixels", file.path.c_str(), error.c_str(),
              imagePath.c_str());
    told = true;
    return false;
}

SDL_Texture* TextureCompanions::Piece(SDL_Renderer* renderer, const SDL_Rect& source, int pieceWidth,
                                      int pieceHeight) {
    if (!drawnPixels || !(factor > scale)) return nullptr;
    const PieceKey key{source.x, source.y, source.w, source.h, pieceWidth, pieceHeight};
    const auto found = pieces.find(key);
    if (found != pieces.end()) return found->second.get();
    const std::size_t bytes = PixelBytes(pieceWidth, pieceHeight);
    if (bytes > kMaxPieceBytes - pieceBytes) return nullptr;
    const SDL_Rect region{source.x * factor, source.y * factor, source.w * factor, source.h * factor};
    SdlSurfacePtr shrunk = ShrinkByArea(*drawnPixels, region, pieceWidth, pieceHeight, kEdgeContrast);
    if (!shrunk) return nullptr;
    SdlTexturePtr piece(SDL_CreateTextureFromSurface(renderer, shrunk.get()));
    if (!piece) return nullptr;
    pieceBytes += bytes;
    return pieces.emplace(key, std::move(piece)).first->second.get();
}
