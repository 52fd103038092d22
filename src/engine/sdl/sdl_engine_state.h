// The SDL engine object, shared by the files that implement it: the SdlEngine class
// (the GK interface on SDL2) with all the state it keeps, and the one engine gkCreate
// hands out. Private to src/engine/sdl; the game and the tests see gk.h and
// sdl_engine.h. One file beside this one per concern:
//   sdl_engine.cpp            creation and release, states, start-up and shutdown
//   sdl_engine_window.cpp     window, renderer, window mode, icon, size on dense displays
//   sdl_engine_audio.cpp      the audio device's sleep, sound effects
//   sdl_engine_loop.cpp       the frame loop, its events, wake-ups and stop signals
//   sdl_engine_input.cpp      the mouse at start, key presses, the clipboard
//   sdl_engine_resources.cpp  files and blocks, textures and their companions
//   sdl_engine_scene.cpp      the scene's quads, partial redraw, drawing a quad
//   sdl_engine_capture.cpp    read-back of frames, the functions of sdl_engine.h
// The modules these use lie in the folders below: video/, image/, input/, frame/, files/.
// Owns the engine's SDL objects, textures, sounds, blocks and the frame loop's state;
// the engine itself lives in TheEngine().
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/gk.h"
#include "engine/sdl/files/engine_log.h"
#include "engine/sdl/frame/frame_clock.h"
#include "engine/sdl/frame/frame_demand.h"
#include "engine/sdl/frame/quad_geometry.h"
#include "engine/sdl/handle_table.h"
#include "engine/sdl/image/texture_images.h"
#include "engine/sdl/input/input_state.h"
#include "engine/sdl/sdl_handles.h"
#include "engine/sdl/video/display_loss.h"
#include "platform/module_directory.h"
#include "platform/stop_signals.h"

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 700;

// A texture the game loaded: the image file behind it, shared by all the textures
// loaded from the same file. The image's width x height are the units the game works
// in; on a scaled-up output a high-resolution companion is drawn in its place.
using TextureEntry = std::shared_ptr<LoadedImage>;

// A sound effect; a null chunk plays silently (no audio device was opened).
struct EffectEntry {
    MixChunkPtr chunk;
};

class SdlEngine final : public GK {
public:
    SdlEngine() : moduleDirectory(GetModuleDirectory()) {}
    ~SdlEngine() override { System_Shutdown(); }

    void AddReference() { ++references; }
    // The display is gone: a log line, then the game's callback.
    void DisplayLost();

    // ---- GK ------------------------------------------------------------
    void Release() override;

    void System_SetState(gkFuncState state, gkCallback value) override;
    void System_SetState(gkIntState state, int value) override;
    void System_SetState(gkStringState state, const char* value) override;
    void System_SetState(gkBoolState state, bool value) override;

    bool System_Initiate() override;
    void System_Start() override;
    void System_Shutdown() override;
    void System_NextFrameWithin(float seconds) override { demand.Ask(clock.Now(), seconds); }
    void System_WakeFrameLoop() override;
    void System_LogV(const char* format, va_list args) override { log.WriteV(format, args); }

    void* Resource_Load(const char* filename, std::uint32_t* size) override;
    void Resource_Free(void* block) override;

    HTEXTURE Texture_Load(const char* filename, std::uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE texture) override;
    int Texture_GetWidth(HTEXTURE texture, bool original) override;
    int Texture_GetHeight(HTEXTURE texture, bool original) override;

    HEFFECT Effect_Load(const char* filename, std::uint32_t size) override;
    void Effect_Free(HEFFECT effect) override { effects.Remove(effect); }
    HCHANNEL Effect_Play(HEFFECT effect) override;

    float Timer_GetDelta() override { return clock.Delta(); }

    int Input_GetKey() override { return input.Key(); }
    int Input_GetChar() override { return input.Char(); }
    const gkKeyPress* Input_GetKeyPresses(int* count) override;
    bool Input_GetKeyState(int key) override { return input.Held(key); }
    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override { return input.Wheel(); }
    bool Input_IsMouseOver() override { return input.MouseOver(); }
    bool Input_HasFocus() override { return input.HasFocus(); }
    bool System_SetClipboard(const char* text) override;
    bool System_GetClipboard(std::string& text, std::size_t maxBytes) override;

    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_RenderQuad(const Quad* quad) override;

    // ---- read-back for tests and screenshots ----------------------------
    void SetFrameCapture(bool enabled) {
        capture = enabled;
        if (!enabled) lastFrame.reset();
    }
    const SDL_Surface* LastFrame() const { return lastFrame.get(); }
    // Where the game's pixels lie in the last captured frame.
    const SDL_Rect& LastFrameArea() const { return frameArea; }
    bool VsyncActive() const { return vsync; }
    bool AudioActive() const { return audioOpen; }
    int FramesShown() const { return framesShown; }
    double LastPresentSeconds() const { return lastPresentSeconds; }
    bool CompanionsPending() const { return companionsPending; }
    std::size_t CompanionBytes(const LoadedImage* except = nullptr) const;
    int LogicalWidth() const { return width; }
    int LogicalHeight() const { return height; }
    // The game's screen, in its own pixels, that quads are drawn on.
    DrawArea Area() const { return DrawArea{static_cast<float>(width), static_cast<float>(height)}; }

private:
    // sdl_engine.cpp
    bool FailInitiate(const char* what);
    // sdl_engine_window.cpp
    void WatchDisplayConnection();
    bool OpenWindow();
    void ApplyWindowMode();
    bool OpenRenderer();
    void ScaleWindowForDensity();
    void SetWindowIcon();
    // sdl_engine_audio.cpp
    void OpenAudio();
    bool WakeAudio();
    void LetAudioSleep();
    // sdl_engine_input.cpp
    void ReadInitialMouse();
    // sdl_engine_loop.cpp
    void StartStopWatcher();
    void StopStopWatcher();
    bool WaitForEvent(SDL_Event& event) const;
    bool PollEvents(const SDL_Event* first, bool& inputCame);
    bool HandleEvent(const SDL_Event& event, bool& inputCame);
    // sdl_engine_resources.cpp
    bool LoadFile(const char* filename, std::vector<unsigned char>& bytes, std::string* foundPath = nullptr);
    TextureEntry LoadImage(const std::string& path, std::vector<unsigned char> bytes, const char* filename);
    double FullScreenScale() const;
    void MatchTexturesToOutput();
    bool MatchCompanions(LoadedImage& image, bool wait);
    // sdl_engine_scene.cpp
    void DrawSceneQuad(const Quad& quad);
    void DrawQuad(LoadedImage* image, const Quad& quad);
    SDL_Texture* ShrunkPiece(LoadedImage& image, const QuadRect& rect);
    bool PartToRedraw(const ChangedBounds& changed, SDL_Rect* part) const;
    void DrawScenePart(const SDL_Rect& part);
    // sdl_engine_capture.cpp
    void CaptureFrame();

    int references = 0;
    const std::string moduleDirectory;
    EngineLog log;

    // states
    gkCallback frameFunc = nullptr;
    gkCallback renderFunc = nullptr;
    gkCallback displayLostFunc = nullptr;
    std::string title;
    int iconResource = 0;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    bool windowed = true;
    int windowedWidth = 0, windowedHeight = 0;  // the window's size before full screen

    // SDL objects; textures and sounds are freed before the renderer and audio close
    bool sdlStarted = false;
    bool audioOpen = false;   // sounds can be played (a device opened once)
    bool audioAwake = false;  // the device is open now
    double audioSilentSince = -1;
    bool vsync = false;
    bool keepsPicture = false;  // the picture stays in the renderer's buffer after a present
    SdlWindowPtr window;
    SdlRendererPtr renderer;
    std::unique_ptr<StopSignals> stopSignals;
    std::thread stopWatcher;  // turns a stop signal into a wake-up of the frame loop
    std::unique_ptr<DisplayLossWatch> displayLoss;
    HandleTable<TextureEntry> textures;
    // The image files behind the textures, each once (while a texture is loaded from it).
    std::vector<std::shared_ptr<LoadedImage>> images;
    HandleTable<EffectEntry> effects;
    std::map<void*, std::unique_ptr<unsigned char[]>> blocks;

    // frame loop
    FrameClock clock;
    FrameDemand demand;
    std::atomic<Uint32> wakeEvent{0};  // SDL's event type of a wake-up; 0 while SDL is not running
    InputState input;
    bool running = false;
    bool drewNew = false;  // the frame's scene differs from the one before
    bool inScene = false;
    bool capture = false;
    // The quads of the scene being drawn and of the one on screen. A scene made of
    // exactly the quads on screen is not drawn again: an idle game then costs
    // almost nothing. Where the picture stays in the buffer, only the part where the
    // scenes differ is drawn again (the clock's second, the keyboard cell's move).
    // Anything that may change the pixels of the same quads (window events, textures
    // loaded or freed) asks for a full redraw.
    std::vector<Quad> sceneQuads;
    std::vector<Quad> shownQuads;
    bool redrawNeeded = true;
    // The output scale the textures' companions were chosen for; pending while one
    // chosen is still decoding (its thread's window event brings the next frame).
    double textureScale = 1.0;
    bool companionsPending = false;
    int framesShown = 0;
    double lastPresentSeconds = 0;
    SdlSurfacePtr lastFrame;
    SDL_Rect frameArea{};
};

// The one engine gkCreate made; empty before and after.
std::unique_ptr<SdlEngine>& TheEngine();
// Whether textures loaded from now on read their companions (gkSdlUseCompanions).
bool& CompanionsWanted();
