// Shared set-up for the tests of the real engine: a fixture that starts the SDL
// engine (dummy video and audio drivers under CTest) and shuts it down again,
// a temporary folder that is removed afterwards, and small file helpers.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/gk.h"
#include "engine/sdl/sdl_engine.h"
#include "support/temp_folder.h"

// A fresh folder under the system's temporary folder, removed with its contents.
inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Channels of an ARGB colour.
inline int Red(std::uint32_t argb) {
    return static_cast<int>((argb >> 16) & 0xFF);
}
inline int Green(std::uint32_t argb) {
    return static_cast<int>((argb >> 8) & 0xFF);
}
inline int Blue(std::uint32_t argb) {
    return static_cast<int>(argb & 0xFF);
}

// True when each colour channel is within tolerance (alpha is not compared).
inline bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    return std::abs(Red(actual) - Red(expected)) <= tolerance &&
           std::abs(Green(actual) - Green(expected)) <= tolerance &&
           std::abs(Blue(actual) - Blue(expected)) <= tolerance;
}

// Starts the engine with the game's states and frame capture on; shuts it down
// and gives the reference back afterwards.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        gk = gkCreate(GK_VERSION);
        ASSERT_NE(gk, nullptr);
        gk->System_SetState(GK_LOGFILE, logFile.c_str());
        gk->System_SetState(GK_TITLE, "Quorvel Veltrane Sudoku");
        gk->System_SetState(GK_ICON, GK_ICON_RESOURCE);
        gk->System_SetState(GK_WINDOWED, true);
        gk->System_SetState(GK_SCREENWIDTH, 800);
        gk->System_SetState(GK_SCREENHEIGHT, 700);
        gk->System_SetState(GK_SCREENBPP, 32);
        ASSERT_TRUE(gk->System_Initiate());
        ASSERT_TRUE(gkSdlSetFrameCapture(true));
    }
    void TearDown() override {
        if (gk == nullptr) return;
        gk->System_Shutdown();
        gk->Release();
    }

    // Draws one scene with the given drawing and returns whether it was captured.
    template <typename Draw>
    void DrawScene(Draw draw) {
        ASSERT_TRUE(gk->Gfx_BeginScene(0));
        draw();
        gk->Gfx_EndScene();
    }

    std::uint32_t Pixel(int x, int y) {
        std::uint32_t argb = 0;
        EXPECT_TRUE(gkSdlReadPixel(x, y, &argb)) << "at " << x << ", " << y;
        return argb;
    }

    TempFolder temp;
    const std::string logFile = temp.File("engine.log");
    GK* gk = nullptr;
};

// A quad covering (left, top)-(right, bottom) in one colour, with texture
// coordinates spanning the whole texture.
inline Quad MakeQuad(float left, float top, float right, float bottom, std::uint32_t colour,
                     HTEXTURE tex = 0) {
    Quad quad{};
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    const float us[4] = {0, 1, 1, 0};
    const float vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) quad.v[i] = Vertex{xs[i], ys[i], 0.5f, colour, us[i], vs[i]};
    quad.tex = tex;
    quad.blend = GK_BLEND_DEFAULT;
    return quad;
}
