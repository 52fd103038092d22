// Textures made from image files: an image's bytes decoded into a texture of the
// renderer (with the reason in words when that fails), and the high-resolution
// companions of a texture (image_companions.h): the companion files read beside the
// image when it loads, decoded on worker threads (ahead, for the scale full screen
// will need), the one drawn for the output's current scale, and, where the output is
// smaller than that companion, its parts shrunk by area to the output pixels they
// cover (area_resample.h). Everything companions hold (file bytes, pixels decoded or
// being decoded, textures) counts against one budget for all images; an image file
// loaded many times is held once (LoadedImage). Owns the textures, pixels, file
// bytes and decoding threads it holds.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/sdl/files/engine_log.h"
#include "engine/sdl/sdl_handles.h"

struct ImageTexture {
    SdlTexturePtr texture;
    int width = 0;
    int height = 0;
    bool opaque = false;  // no alpha channel (JPEG, BMP)
    std::string error;    // why there is no texture
};

// Decodes a PNG, JPEG or BMP image (image_decode.h) into a texture with alpha blending.
ImageTexture CreateImageTexture(SDL_Renderer* renderer, const std::vector<unsigned char>& bytes);

// An image decoded into ARGB8888 pixels (RGB888 when opaque); safe on any thread.
struct DecodedPixels {
    SdlSurfacePtr pixels;
    bool opaque = false;  // the image has no alpha channel
    std::string error;    // why there are no pixels
};
DecodedPixels DecodePixels(const std::vector<unsigned char>& bytes);

using FileBytes = std::shared_ptr<const std::vector<unsigned char>>;

// Decoding of one image on an SDL thread of its own, at low priority (the frames go on
// at their pace). When done it pushes a window event (exposed) for the window
// wakeWindow, so that a frame loop waiting for events draws again. The thread is
// waited for when the task goes, at the latest.
class DecodeTask {
public:
    DecodeTask() = default;
    DecodeTask(FileBytes bytes, Uint32 wakeWindow);
    ~DecodeTask() { Join(); }
    DecodeTask(DecodeTask&& other) noexcept { *this = std::move(other); }
    DecodeTask& operator=(DecodeTask&& other) noexcept;

    bool Started() const { return result.valid(); }
    bool Done() const;
    // Waits for the pixels; the task is then no longer started.
    DecodedPixels Take();

private:
    void Join();
    std::future<DecodedPixels> result;
    SDL_Thread* thread = nullptr;
};

// The most memory the companions of all images hold together (their file bytes,
// the pixels decoded or being decoded and their textures): the 64 MB a font's glyph
// images may take, for all companions.
constexpr std::size_t kMaxCompanionBytes = 64u * 1024u * 1024u;
// The most memory the shrunk pieces of one texture's companion take.
constexpr std::size_t kMaxPieceBytes = 32u * 1024u * 1024u;

class TextureCompanions {
public:
    // Reads the companions lying beside the image at imagePath (width x height
    // pixels). One whose header does not claim exactly its factor times that size, or
    // whose file would take the companions past kMaxCompanionBytes (bytesElsewhere
    // being what the other images' companions hold), is refused with one log line.
    // (Without any, Match says so once, when the output's scale calls for one.)
    void Read(const std::string& imagePath, int width, int height, std::size_t bytesElsewhere,
              const EngineLog& log);

    // Starts decoding, on a worker thread, the companion that scale would call for,
    // so that switching to it later costs little; wakeWindow: see DecodeTask. Not
    // started when drawing it would take the companions past kMaxCompanionBytes.
    void Prefetch(double scale, std::size_t bytesElsewhere, Uint32 wakeWindow);

    // Makes the companion that suits scale the one drawn and drops the one drawn so far.
    // With wait, a companion still decoding is waited for (and one not started is
    // decoded here); without, its decoding is started if need be, the one drawn so far
    // stays, and the result is false: call again once the window event has come.
    // bytesElsewhere is what the other images' companions hold. A companion that
    // fails to decode, has the wrong size or would pass kMaxCompanionBytes is
    // forgotten with one log line and the next choice is taken (in the end the image;
    // without any companion on a scaled-up output, one log line says so too). The
    // companion's pixels are kept beside its texture only while shrunk pieces are cut
    // from them; pixels decoded for neither this scale nor full screen are dropped
    // once their decoding ends (false until then too, either way).
    bool Match(double scale, SDL_Renderer* renderer, std::size_t bytesElsewhere, const EngineLog& log,
               bool wait, Uint32 wakeWindow);

    // The companion to draw in place of the image; null: draw the image itself.
    SDL_Texture* Texture() const { return drawn.texture.get(); }
    bool Opaque() const { return drawnOpaque; }
    // The companion's size over the image's: 1 when none is drawn.
    int Factor() const { return drawn.texture ? factor : 1; }
    // Memory held, counted against kMaxCompanionBytes: the companion files' bytes, the
    // pixels being decoded and the companion drawn (its texture, and its pixels if kept).
    std::size_t Bytes() const;

    // Where the output is smaller than the companion drawn: the companion's part that
    // source (in the image's pixels) names, shrunk by area to width x height output
    // pixels, to be drawn one to one. Made once and kept until the scale changes; null
    // elsewhere, for a size that is not smaller, and once kMaxPieceBytes are taken.
    SDL_Texture* Piece(SDL_Renderer* renderer, const SDL_Rect& source, int width, int height);

private:
    struct File {
        int factor = 0;
        std::string path;
        FileBytes bytes;
        DecodeTask decoding;
    };
    std::vector<int> Factors() const;
    std::vector<File>::iterator FileOf(int wanted);
    bool Use(File& file, SDL_Renderer* renderer, std::size_t bytesElsewhere, const EngineLog& log);
    // Drops the decodings finished for neither wanted nor ahead; false while such a
    // decoding still runs.
    bool DropUnwantedDecodings(int wanted);
    std::size_t DecodedBytes(int companionFactor) const;
    std::size_t DrawnBytes() const;
    // Whether the file's pixels and the texture made from them (both there for a while)
    // fit beside all the companions hold but the one drawn now and this file's decoding,
    // which make room for them.
    bool Fits(const File& file, std::size_t bytesElsewhere) const;
    void DropPieces();

    std::string imagePath;
    int width = 0;
    int height = 0;
    std::vector<File> files;  // still usable, read when the image loaded
    ImageTexture drawn;
    SdlSurfacePtr drawnPixels;  // the companion's pixels, for shrunk pieces
    bool drawnOpaque = false;
    int factor = 1;
    int ahead = 0;       // the factor Prefetch decoded ahead
    double scale = 1.0;  // the output scale Match chose for
    bool told = false;   // a line in the log said why a companion is not drawn

    using PieceKey = std::tuple<int, int, int, int, int, int>;  // source x, y, w, h; width, height
    std::map<PieceKey, SdlTexturePtr> pieces;
    std::size_t pieceBytes = 0;
};

// An image file as the engine loaded it: its texture, its bytes (to tell the same file
// again) and its companions; shared by every texture handle the game loaded it with.
struct LoadedImage {
    std::string path;
    std::vector<unsigned char> bytes;
    ImageTexture image;
    bool withCompanions = false;  // its companions were read
    TextureCompanions companions;
};
