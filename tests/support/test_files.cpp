// Test files written with the standard library and SDL's image writers.
#include "support/test_files.h"

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

void WriteTextFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

bool HasPoppler() {
    return std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") == 0;
}

void WriteImage(const std::string& path, int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) throw std::runtime_error(SDL_GetError());
    SDL_FillRect(surface, nullptr, 0xFFFFFFFF);
    const bool png = path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    const int result = png ? IMG_SavePNG(surface, path.c_str()) : SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (result != 0) throw std::runtime_error("cannot write " + path);
}

namespace {
void PutLE(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
}  // namespace

void WriteWav(const std::string& path) {
    const std::uint32_t samples = 441, rate = 44100, dataBytes = samples * 2;
    std::vector<char> wav;
    const std::string riff = "RIFF", wave = "WAVEfmt ", data = "data";
    wav.insert(wav.end(), riff.begin(), riff.end());
    PutLE(wav, 36 + dataBytes, 4);
    wav.insert(wav.end(), wave.begin(), wave.end());
    PutLE(wav, 16, 4);  // format chunk size
    PutLE(wav, 1, 2);   // PCM
    PutLE(wav, 1, 2);   // mono
    PutLE(wav, rate, 4);
    PutLE(wav, rate * 2, 4);  // bytes per second
    PutLE(wav, 2, 2);         // block align
    PutLE(wav, 16, 2);        // bits per sample
    wav.insert(wav.end(), data.begin(), data.end());
    PutLE(wav, dataBytes, 4);
    wav.insert(wav.end(), dataBytes, '\0');
    WriteTextFile(path, std::string(wav.begin(), wav.end()));
}
