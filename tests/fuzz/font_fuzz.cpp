// Fuzz target for the font description parser: the input becomes a description file in a
// folder of its own (beside a small glyph image), read through the recording engine's
// Resource_Load by gkFont, which then draws and measures text. Every engine reference,
// resource block and texture the font took must be given back when it is destroyed.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "gfx/font.h"
#include "support/recording_engine.h"
#include "support/test_files.h"

namespace {

// The folder holding the description and the glyph images it may name.
const std::string& ScratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/veltrane-fuzz-font-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        const std::string path = std::string(pattern) + "/";
        WriteImage(path + "font1.png", 64, 32);
        WriteImage(path + "glyphs.bmp", 8, 8);
        return path;
    }();
    return folder;
}

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "font invariant broken: %s\n", what);
    std::abort();
}

void DrawAndMeasure(gkFont& font, std::string_view input) {
    // Some of the input's own bytes, with line breaks and bytes that have no glyph.
    const std::string text(input.substr(0, 64));
    const char* samples[] = {"Continue previous game", "A\nBC\n\nD", "\x7f\x80\xff?", text.c_str()};
    font.SetColor(0xFFEE0000);
    for (const char* sample : samples) {
        for (int align = 0; align < 5; ++align) font.Render(400, 300, align, sample);
        (void)font.GetStringWidth(sample);
    }
    font.SetScale(0.8f);
    font.Printf(10, 20, AlignCenter, "%s %d", "Level", 3);
    font.SetScale(1.0f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // A "Bitmap" word is a path; keep the fuzzer inside its folder (no special files).
    if (input.find('/') != std::string_view::npos) return 0;

    const std::string& folder = ScratchFolder();
    WriteTextFile(folder + "fuzz.fnt", std::string(input));
    RecordingEngine& engine = RecordingEngine::Instance();
    engine.ResetRecording();
    engine.dataFolder = folder;
    const int references = engine.references;
    const int resources = engine.liveResources;
    const int textures = engine.LiveTextures();
    {
        gkFont font("fuzz.fnt");
        Require(font.GetHeight() >= 0, "height is never negative");
        DrawAndMeasure(font, input);
    }
    Require(engine.references == references, "engine references released");
    Require(engine.liveResources == resources, "resource blocks freed");
    Require(engine.LiveTextures() == textures, "textures freed");
    Require(engine.invalidFrees == 0, "nothing freed twice");
    // Forget freed textures so the record does not grow over millions of runs.
    for (auto it = engine.textures.begin(); it != engine.textures.end();)
        it = it->second.freed ? engine.textures.erase(it) : std::next(it);
    return 0;
}
