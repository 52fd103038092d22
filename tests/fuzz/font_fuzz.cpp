// Fuzz target for the font description parser: the input becomes a description file,
// opened as "fonts/fuzz.fnt" inside a folder of its own that also holds small glyph
// images in "fonts/" and in folders below it, read through the recording engine's
// Resource_Load by gkFont, which then draws and measures text. "Bitmap" names may
// lead into those folders. Every engine reference, resource block and texture the
// font took must be given back when it is destroyed.
#include <stdlib.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

#include "gfx/font.h"
#include "support/recording_engine.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

// The folder holding the description and the glyph images it may name, with a trailing '/';
// removed at exit.
std::string WithGlyphImages(const TempFolder& folder) {
    const std::string path = folder.Path() + "/";
    std::filesystem::create_directories(path + "fonts/sub/deep");
    WriteImage(path + "fonts/font1.png", 64, 32);
    WriteImage(path + "fonts/glyphs.bmp", 8, 8);
    WriteImage(path + "fonts/sub/glyphs.bmp", 16, 8);
    WriteImage(path + "fonts/sub/deep/wide.png", 300, 4);
    return path;
}

const std::string& Folder() {
    static const TempFolder folder;
    static const std::string path = WithGlyphImages(folder);
    return path;
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// False when a "Bitmap" line names an absolute path or one through "..": the fuzzer
// stays inside its folder (no special files of the system).
bool NamesStayInside(std::string_view input) {
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = input.size();
        std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (line.substr(0, 6) != "Bitmap") continue;
        std::size_t at = 6;
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size() || line[at] != '=') continue;
        ++at;
        while (at < line.size() && IsBlank(line[at])) ++at;
        std::size_t wordEnd = at;
        while (wordEnd < line.size() && !IsBlank(line[wordEnd])) ++wordEnd;
        const std::string_view word = line.substr(at, wordEnd - at);
        if ((!word.empty() && word[0] == '/') || word.find("..") != std::string_view::npos) return false;
    }
    return true;
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
    if (!NamesStayInside(input)) return 0;

    const std::string& folder = Folder();
    WriteTextFile(folder + "fonts/fuzz.fnt", std::string(input));
    RecordingEngine& engine = RecordingEngine::Instance();
    engine.ResetRecording();
    engine.dataFolder = folder;
    const int references = engine.references;
    const int resources = engine.liveResources;
    const int textures = engine.LiveTextures();
    {
        gkFont font("fonts/fuzz.fnt");
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
