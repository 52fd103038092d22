#include "engine/sdl/sdl_engine.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/gk.h"
#include "engine/sdl/files/engine_log.h"
#include "engine/sdl/files/resource_files.h"
#include "engine/sdl/frame/frame_clock.h"
#include "engine/sdl/frame/frame_demand.h"
#include "engine/sdl/frame/quad_geometry.h"
#include "engine/sdl/handle_table.h"
#include "engine/sdl/image/image_companions.h"
#include "engine/sdl/image/texture_images.h"
#include "engine/sdl/input/input_state.h"
#include "engine/sdl/sdl_handles.h"
#include "engine/sdl/video/display_loss.h"
#include "engine/sdl/video/window_fit.h"
#include "engine/sdl/video/window_icon.h"
#include "engine/sdl/video/window_scale.h"
#include "platform/module_directory.h"
#include "platform/stop_signals.h"

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 700;
constexpr int kAudioFrequency = 44100;
constexpr int kAudioChannels = 2;
constexpr int kAudioChunkBytes = 1024;
// The audio device's thread wakes for every buffer, sound or silence: after this long
// without a sound the device is closed, and the next sound opens it again.
constexpr double kAudioSleepSeconds = 1.0;
// A busy X server refuses a connection now and then (its queue of new ones is full:
// a login, many programs starting at once): the display is tried again for this long.
constexpr Uint32 kDisplayRetryMs = 2000;
constexpr Uint32 kDisplayRetryPauseMs = 50;

// A texture the game loaded: the image file behind it, shared by all the textures
// loaded from the same file. The image's width x height are the units the game works
// in; on a scaled-up output a high-resolution companion is drawn in its place.
using TextureEntry = std::shared_ptr<LoadedImage>;

SDL_Texture* Drawn(const LoadedImage& image) {
    return image.companions.Texture() ? image.companions.Texture() : image.image.texture.get();
}
bool DrawnOpaque(const LoadedImage& image) {
    return image.companions.Texture() ? image.companions.Opaque() : image.image.opaque;
}

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
    bool FailInitiate(const char* what);
    const char* StartVideo();
    bool DriverShowsWindows() const;
    void WatchDisplayConnection();
    bool OpenWindow();
    void ApplyWindowMode();
    bool OpenRenderer();
    void OpenAudio();
    bool WakeAudio();
    void LetAudioSleep();
    void ScaleWindowForDensity();
    void SetWindowIcon();
    void ReadInitialMouse();
    void StartStopWatcher();
    void StopStopWatcher();
    bool WaitForEvent(SDL_Event& event) const;
    bool PollEvents(const SDL_Event* first, bool& inputCame);
    bool HandleEvent(const SDL_Event& event, bool& inputCame);
    double FullScreenScale() const;
    void MatchTexturesToOutput();
    TextureEntry LoadImage(const std::string& path, std::vector<unsigned char> bytes, const char* filename);
    bool MatchCompanions(LoadedImage& image, bool wait);
    void DrawQuad(LoadedImage* image, const Quad& quad);
    SDL_Texture* ShrunkPiece(LoadedImage& image, const QuadRect& rect);
    void DrawSceneQuad(const Quad& quad);
    bool PartToRedraw(const ChangedBounds& changed, SDL_Rect* part) const;
    void DrawScenePart(const SDL_Rect& part);
    void CaptureFrame();
    bool LoadFile(const char* filename, std::vector<unsigned char>& bytes, std::string* foundPath = nullptr);

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

// The OpenGL implementation's name (GL_RENDERER) for the current context; empty
// text when there is none.
const char* GlRendererName() {
    constexpr unsigned int kGlRenderer = 0x1F01;
    using GetString = const unsigned char* (*)(unsigned int);
    void* address = SDL_GL_GetProcAddress("glGetString");
    if (address == nullptr || SDL_GL_GetCurrentContext() == nullptr) return "";
    GetString getString = nullptr;
    static_assert(sizeof getString == sizeof address, "function and object pointers differ in size");
    std::memcpy(&getString, &address, sizeof getString);
    const unsigned char* name = getString(kGlRenderer);
    return name ? reinterpret_cast<const char*>(name) : "";
}

// True when the machine has a DRM render node (/dev/dri/renderD*), the device
// through which a graphics driver renders.
bool HasGraphicsRenderNode() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    }
    return false;
}

bool IsProcessorRasterisedGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return false;
    if (std::strncmp(info.name, "opengl", 6) != 0) return false;  // opengl, opengles2
    const std::string name = GlRendererName();
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (name.find(software) != std::string::npos) return true;
    }
    return false;
}

std::unique_ptr<SdlEngine>& TheEngine() {
    static std::unique_ptr<SdlEngine> engine;
    return engine;
}

void EngineLostDisplay() {
    if (TheEngine()) TheEngine()->DisplayLost();
}

bool& CompanionsWanted() {
    static bool wanted = true;
    return wanted;
}

// ---- references and states -------------------------------------------------

void SdlEngine::Release() {
    if (references > 0) --references;
    if (references == 0) TheEngine().reset();  // destroys this object: nothing may follow
}

void SdlEngine::System_SetState(gkFuncState state, gkCallback value) {
    if (state == GK_FRAMEFUNC) frameFunc = value;
    if (state == GK_RENDERFUNC) renderFunc = value;
    if (state == GK_DISPLAYLOSTFUNC) displayLostFunc = value;
}

void SdlEngine::DisplayLost() {
    log.Write("Lost the connection to the display; ending");
    if (displayLostFunc != nullptr) displayLostFunc();
}

void SdlEngine::System_SetState(gkIntState state, int value) {
    switch (state) {
        case GK_ICON:
            iconResource = value;
            break;
        case GK_SCREENWIDTH:
            if (value > 0) width = value;
            break;
        case GK_SCREENHEIGHT:
            if (value > 0) height = value;
            break;
        case GK_SCREENBPP:
            break;  // the renderer always works in 32-bit colour
    }
}

void SdlEngine::System_SetState(gkStringState state, const char* value) {
    const std::string text = value ? value : "";
    if (state == GK_TITLE) {
        title = text;
        if (window) SDL_SetWindowTitle(window.get(), title.c_str());
    }
    if (state == GK_LOGFILE) log.SetFile(text, moduleDirectory);
}

// Before the window opens this chooses how it opens; afterwards it switches the open
// window between a window and a borderless full-screen one at the desktop's resolution.
// The renderer's logical size keeps the game's proportions and maps the mouse back.
void SdlEngine::System_SetState(gkBoolState state, bool value) {
    if (state != GK_WINDOWED) return;
    windowed = value;
    if (window) ApplyWindowMode();
}

void SdlEngine::ApplyWindowMode() {
    const Uint32 mode = windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if ((SDL_GetWindowFlags(window.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) == mode) return;
    if (!windowed) SDL_GetWindowSize(window.get(), &windowedWidth, &windowedHeight);
    if (SDL_SetWindowFullscreen(window.get(), mode) != 0) {
        log.Write("Can't switch to %s: %s", windowed ? "a window" : "full screen", SDL_GetError());
    } else if (windowed && windowedWidth > 0 && windowedHeight > 0) {
        // Back at the size it had, where the system does not restore it by itself.
        SDL_SetWindowSize(window.get(), windowedWidth, windowedHeight);
    } else if (!windowed) {
        CoverDisplayWithoutWindowManager(window.get());
    }
    redrawNeeded = true;
}

// ---- start and stop --------------------------------------------------------------

bool SdlEngine::FailInitiate(const char* what) {
    const std::string reason = std::string(what) + ": " + SDL_GetError();
    std::fprintf(stderr, "Quorvel Veltrane Sudoku: cannot start the engine: %s\n", reason.c_str());
    std::fflush(stderr);
    log.Write("System_Initiate failed: %s", reason.c_str());
    System_Shutdown();
    return false;
}

bool SdlEngine::System_Initiate() {
    if (renderer) return true;
    // The engine's own handlers end the frame loop on SIGTERM, SIGINT and SIGHUP.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A write to a display connection the server has closed (a refused start, a server
    // that went away) fails as an error the display-loss handling answers, instead of
    // ending the game at once, unsaved.
    std::signal(SIGPIPE, SIG_IGN);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return FailInitiate("SDL_Init");
    sdlStarted = true;
    if (const char* failed = StartVideo()) return FailInitiate(failed);
    displayLoss = std::make_unique<DisplayLossWatch>(EngineLostDisplay);
    if (!OpenWindow()) return FailInitiate("SDL_CreateWindow");
    WatchDisplayConnection();
    if (!OpenRenderer()) return FailInitiate("SDL_CreateRenderer");
    OpenAudio();
    SetWindowIcon();
    ScaleWindowForDensity();
    SDL_ShowWindow(window.get());
    if (!windowed) CoverDisplayWithoutWindowManager(window.get());
    ReadInitialMouse();
    const Uint32 wakeType = SDL_RegisterEvents(1);
    wakeEvent = wakeType == static_cast<Uint32>(-1) ? 0 : wakeType;
    MatchTexturesToOutput();
    stopSignals = std::make_unique<StopSignals>();
    StartStopWatcher();

    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer.get(), &info);
    log.Write("Engine started: video %s, renderer %s%s, audio %s", SDL_GetCurrentVideoDriver(),
              info.name ? info.name : "?", vsync ? " with vsync" : "",
              audioOpen ? SDL_GetCurrentAudioDriver() : "none (sounds play silently)");
    return true;
}

// Starts SDL's video on a driver that shows windows. Where an X display is named and
// no other driver, a refused connection is tried again for kDisplayRetryMs. Null on
// success, else what failed last: SDL's video start or the search for a display.
const char* SdlEngine::StartVideo() {
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    const char* display = SDL_getenv("DISPLAY");
    const bool retry = display != nullptr && display[0] != '\0' &&
                       (named == nullptr || named[0] == '\0' || SDL_strcasecmp(named, "x11") == 0);
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        const char* failed = "SDL_Init";
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            if (DriverShowsWindows()) return nullptr;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            failed = "no display found";
        }
        if (!retry || SDL_GetTicks() - start >= kDisplayRetryMs) return failed;
        SDL_Delay(kDisplayRetryPauseMs);
    }
}

// The X connection's socket is watched for the server's hang-up from the window on.
void SdlEngine::WatchDisplayConnection() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window.get(), &info) || info.subsystem != SDL_SYSWM_X11) return;
    displayLoss->WatchConnection(info.info.x11.display);
}

// Without a display SDL falls back to a video driver that shows nothing, and the
// game would run unseen until killed. Such drivers are used only when the player
// names one in SDL_VIDEODRIVER (as the tests do).
bool SdlEngine::DriverShowsWindows() const {
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    if (named != nullptr && named[0] != '\0') return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    for (const char* invisible : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, invisible) == 0) {
            SDL_SetError("SDL's video driver \"%s\" shows no window (name it in SDL_VIDEODRIVER "
                         "to run without one)", driver);
            return false;
        }
    }
    return true;
}

bool SdlEngine::OpenWindow() {
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
    if (!windowed) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        windowedWidth = width;  // the size a later switch to a window gives it
        windowedHeight = height;
    }
    window.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags));
    return window != nullptr;
}

bool SdlEngine::OpenRenderer() {
    // Without a graphics device node any OpenGL would be rasterised by the
    // processor, at several times the cost of SDL's own software renderer.
    if (HasGraphicsRenderNode()) {
        renderer.reset(
            SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
    }
    if (renderer && IsProcessorRasterisedGl(renderer.get())) {
        log.Write("OpenGL is rasterised by the processor (%s); using the software renderer",
                  GlRendererName());
        renderer.reset();
    }
    if (!renderer) {
        // The window's pixels go straight to the display (shared memory on X11)
        // rather than through an OpenGL texture, which again would cost the processor.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The software renderer cannot wait for the display; the frame loop paces itself.
        renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    if (!renderer) return false;
    // The software renderer lists vsync among its flags but cannot wait for a display.
    SDL_RendererInfo info{};
    vsync = SDL_GetRendererInfo(renderer.get(), &info) == 0 &&
            (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    // The software renderer draws into the window's own pixels, which a present only
    // copies to the display; an accelerated one swaps buffers of undefined contents.
    keepsPicture = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // The game draws in its own 800 x 700 pixels; SDL scales them to the window
    // with bars where the proportions differ, and maps the mouse back.
    return SDL_RenderSetLogicalSize(renderer.get(), width, height) == 0;
}

// Without an audio device the game still runs: sounds load and play silently.
void SdlEngine::OpenAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        log.Write("No audio: %s", SDL_GetError());
        return;
    }
    audioOpen = true;
    if (!WakeAudio()) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Opens the device when it sleeps. It is always asked for the same format (no
// changes allowed; SDL converts where the hardware differs), so the sounds loaded
// once stay valid across sleeps.
bool SdlEngine::WakeAudio() {
    if (!audioOpen || audioAwake) return audioAwake;
    if (Mix_OpenAudioDevice(kAudioFrequency, MIX_DEFAULT_FORMAT, kAudioChannels, kAudioChunkBytes, nullptr, 0) != 0) {
        log.Write("No audio: %s", Mix_GetError());
        audioOpen = false;  // sounds play silently from now on
        return false;
    }
    audioAwake = true;
    audioSilentSince = -1;
    return true;
}

// At a frame's end: closes the device once it has been silent long enough, else asks
// for a frame by then.
void SdlEngine::LetAudioSleep() {
    if (!audioAwake) return;
    const double now = clock.Now();
    if (Mix_Playing(-1) > 0 || audioSilentSince < 0) audioSilentSince = now;
    if (now - audioSilentSince < kAudioSleepSeconds) {
        demand.Ask(now, audioSilentSince + kAudioSleepSeconds - now);
        return;
    }
    Mix_CloseAudio();
    audioAwake = false;
}

void SdlEngine::SetWindowIcon() {
    if (iconResource == 0) return;
    SdlSurfacePtr icon = CreateWindowIconSurface(iconResource);
    if (!icon) {
        log.Write("Icon resource %d is not available", iconResource);
        return;
    }
    SDL_SetWindowIcon(window.get(), icon.get());
}

// Where the system scales windows itself (the renderer's output is larger than
// the window), nothing is needed; elsewhere a dense display gets a larger window.
void SdlEngine::ScaleWindowForDensity() {
    if (!windowed) return;
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    if (outputWidth > width) return;
    const int display = SDL_GetWindowDisplayIndex(window.get());
    float dpi = 0.0f;
    if (display < 0 || SDL_GetDisplayDPI(display, nullptr, &dpi, nullptr) != 0) return;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    const int scale = ChooseWindowScale(dpi, usable.w, usable.h, width, height);
    if (scale == 1) return;
    SDL_SetWindowSize(window.get(), width * scale, height * scale);
    SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

void SdlEngine::ReadInitialMouse() {
    input = InputState();
    input.SetMouseOver(SDL_GetMouseFocus() == window.get());
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    float logicalX = 0.0f, logicalY = 0.0f;
    SDL_RenderWindowToLogical(renderer.get(), x, y, &logicalX, &logicalY);
    input.SetMousePosition(logicalX, logicalY);
}

void SdlEngine::StartStopWatcher() {
    StopSignals* signals = stopSignals.get();
    stopWatcher = std::thread([this, signals] {
        signals->WaitForStop();
        System_WakeFrameLoop();
    });
}

void SdlEngine::StopStopWatcher() {
    if (!stopWatcher.joinable()) return;
    stopSignals->Interrupt();
    stopWatcher.join();
}

void SdlEngine::System_WakeFrameLoop() {
    const Uint32 type = wakeEvent;
    if (type == 0) return;
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

void SdlEngine::System_Shutdown() {
    if (displayLoss) displayLoss->StopWatchingConnection();  // before the connection closes
    inScene = false;
    sceneQuads.clear();
    shownQuads.clear();
    redrawNeeded = true;
    lastFrame.reset();
    textures.Clear();
    images.clear();  // waits for companions still decoding
    companionsPending = false;
    textureScale = 1.0;
    effects.Clear();
    blocks.clear();
    if (audioAwake) Mix_CloseAudio();
    audioOpen = audioAwake = false;
    renderer.reset();
    window.reset();
    StopStopWatcher();
    stopSignals.reset();  // the handlers that were there before come back
    wakeEvent = 0;
    if (sdlStarted) SDL_Quit();
    sdlStarted = false;
    displayLoss.reset();  // after SDL_Quit, which closes the connection
    vsync = false;
}

// ---- frame loop ------------------------------------------------------------------

void SdlEngine::System_Start() {
    if (!renderer || running) return;
    if (frameFunc == nullptr) {
        log.Write("System_Start: no frame callback set");
        return;
    }
    running = true;
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window.get());
    const bool known = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0;
    clock.SetPacing(known ? mode.refresh_rate : 0, vsync);
    clock.Start();
    demand = FrameDemand();
    for (;;) {
        SDL_Event first{};
        const bool woken = demand.Waiting() && WaitForEvent(first);
        clock.Tick();
        input.BeginFrame();
        drewNew = false;
        bool inputCame = false;
        if (!PollEvents(woken ? &first : nullptr, inputCame)) break;
        if (const int signal = StopSignals::Requested()) {
            log.Write("Frame loop ended by signal %d", signal);
            break;
        }
        if (frameFunc()) break;
        if (!renderer) break;  // a callback shut the engine down
        if (renderFunc != nullptr) renderFunc();
        LetAudioSleep();
        demand.FrameEnded(clock.Now(), drewNew, inputCame || input.ChangesWaiting(), clock.FrameSeconds());
        if (!demand.Waiting()) clock.WaitForNextFrame();
    }
    running = false;
}

// Sleeps in SDL's event wait until an event comes (input, a wake-up) or the deadline;
// true with the event that ended it, taken out of the queue.
bool SdlEngine::WaitForEvent(SDL_Event& event) const {
    int timeoutMs = -1;  // no deadline: until an event
    if (demand.Deadline() != FrameDemand::kNoDeadline) {
        const double left = demand.Deadline() - clock.Now();
        if (left <= 0) return false;
        timeoutMs = static_cast<int>(std::min(std::ceil(left * 1000.0), static_cast<double>(INT_MAX)));
    }
    return SDL_WaitEventTimeout(&event, timeoutMs) == 1;
}

// The event that ended the wait (when not null), then every event waiting. False when
// the window was closed or the program was asked to quit.
bool SdlEngine::PollEvents(const SDL_Event* first, bool& inputCame) {
    if (first != nullptr && !HandleEvent(*first, inputCame)) return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (!HandleEvent(event, inputCame)) return false;
    }
    return true;
}

// inputCame: an event other than a wake-up came.
bool SdlEngine::HandleEvent(const SDL_Event& event, bool& inputCame) {
    if (event.type == SDL_QUIT) return false;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
    if (event.type == SDL_WINDOWEVENT || event.type == SDL_RENDER_TARGETS_RESET ||
        event.type == SDL_RENDER_DEVICE_RESET) {
        redrawNeeded = true;
    }
    if (event.type != wakeEvent) inputCame = true;
    input.Handle(event);
    return true;
}

// ---- files -------------------------------------------------------------------------

bool SdlEngine::LoadFile(const char* filename, std::vector<unsigned char>& bytes, std::string* foundPath) {
    if (filename == nullptr) return false;
    const std::string path = FindResource(filename, moduleDirectory);
    if (path.empty() || !ReadWholeFile(path, bytes)) {
        log.Write("Can't load %s", filename);
        return false;
    }
    if (foundPath != nullptr) *foundPath = path;
    return true;
}

void* SdlEngine::Resource_Load(const char* filename, std::uint32_t* size) {
    if (size != nullptr) *size = 0;
    std::vector<unsigned char> bytes;
    if (!LoadFile(filename, bytes)) return nullptr;
    // One spare zero byte lets text parsers stop at the end.
    auto block = std::make_unique<unsigned char[]>(bytes.size() + 1);  // zero-filled
    std::copy(bytes.begin(), bytes.end(), block.get());
    void* address = block.get();
    blocks[address] = std::move(block);
    if (size != nullptr) *size = static_cast<std::uint32_t>(bytes.size());
    return address;
}

void SdlEngine::Resource_Free(void* block) {
    blocks.erase(block);
}

// Only the formats the game's data use are decoded, and only once the header's
// size is known to be one the engine holds. The image's companions are read with it
// (no file is read once the frames run); the one full screen would call for is
// decoded ahead on a worker thread, and one is drawn when the output's scale calls for it.
// A file loaded again while a texture of it is loaded (the same path and bytes) is not
// decoded again: the new texture shares its image and companions.
HTEXTURE SdlEngine::Texture_Load(const char* filename, std::uint32_t /*size*/, bool /*mipmap*/) {
    if (!renderer) return 0;
    std::vector<unsigned char> bytes;
    std::string path;
    if (!LoadFile(filename, bytes, &path)) return 0;
    const auto same =
        std::find_if(images.begin(), images.end(), [&](const std::shared_ptr<LoadedImage>& image) {
            return image->path == path && image->withCompanions == CompanionsWanted() &&
                   image->bytes == bytes;
        });
    TextureEntry entry = same != images.end() ? *same : LoadImage(path, std::move(bytes), filename);
    if (!entry) return 0;
    redrawNeeded = true;  // a new texture may reuse the handle of one freed before
    return textures.Add(std::move(entry));
}

TextureEntry SdlEngine::LoadImage(const std::string& path, std::vector<unsigned char> bytes,
                                  const char* filename) {
    auto loaded = std::make_shared<LoadedImage>();
    loaded->image = CreateImageTexture(renderer.get(), bytes);
    if (!loaded->image.texture) {
        log.Write("Can't load texture %s: %s", filename, loaded->image.error.c_str());
        return nullptr;
    }
    loaded->path = path;
    loaded->bytes = std::move(bytes);
    loaded->withCompanions = CompanionsWanted();
    if (loaded->withCompanions) {
        MatchTexturesToOutput();  // the scale the new one is matched to is the output's now
        TextureCompanions& companions = loaded->companions;
        companions.Read(path, loaded->image.width, loaded->image.height, CompanionBytes(), log);
        companions.Prefetch(FullScreenScale(), CompanionBytes(), SDL_GetWindowID(window.get()));
        if (!MatchCompanions(*loaded, true)) companionsPending = true;
    }
    images.push_back(loaded);
    return loaded;
}

void SdlEngine::Texture_Free(HTEXTURE texture) {
    if (!textures.Remove(texture)) return;
    // An image no texture is loaded from any more goes, its companions with it.
    images.erase(
        std::remove_if(images.begin(), images.end(),
                       [](const std::shared_ptr<LoadedImage>& image) { return image.use_count() == 1; }),
        images.end());
}

std::size_t SdlEngine::CompanionBytes(const LoadedImage* except) const {
    std::size_t bytes = 0;
    for (const auto& image : images) {
        if (image.get() != except) bytes += image->companions.Bytes();
    }
    return bytes;
}

int SdlEngine::Texture_GetWidth(HTEXTURE texture, bool /*original*/) {
    const TextureEntry* entry = textures.Find(texture);
    return entry ? (*entry)->image.width : 0;
}

int SdlEngine::Texture_GetHeight(HTEXTURE texture, bool /*original*/) {
    const TextureEntry* entry = textures.Find(texture);
    return entry ? (*entry)->image.height : 0;
}

HEFFECT SdlEngine::Effect_Load(const char* filename, std::uint32_t /*size*/) {
    std::vector<unsigned char> bytes;
    if (!LoadFile(filename, bytes)) return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    EffectEntry entry;
    if (WakeAudio()) {
        entry.chunk.reset(Mix_LoadWAV_RW(stream, 1));
        if (!entry.chunk) {
            log.Write("Can't load sound %s: %s", filename, Mix_GetError());
            return 0;
        }
    } else {
        // No device: decode anyway so that a broken file still fails, then keep a silent handle.
        SDL_AudioSpec audioFormat{};
        Uint8* samples = nullptr;
        Uint32 length = 0;
        if (SDL_LoadWAV_RW(stream, 1, &audioFormat, &samples, &length) == nullptr) {
            log.Write("Can't load sound %s: %s", filename, SDL_GetError());
            return 0;
        }
        SDL_FreeWAV(samples);
    }
    return effects.Add(std::move(entry));
}

HCHANNEL SdlEngine::Effect_Play(HEFFECT effect) {
    const EffectEntry* entry = effects.Find(effect);
    if (entry == nullptr || !entry->chunk || !WakeAudio()) return 0;
    const int channel = Mix_PlayChannel(-1, entry->chunk.get(), 0);
    return channel < 0 ? 0 : static_cast<HCHANNEL>(channel) + 1;
}

// ---- input and drawing ---------------------------------------------------------

void SdlEngine::Input_GetMousePos(float* x, float* y) {
    if (x != nullptr) *x = input.MouseX();
    if (y != nullptr) *y = input.MouseY();
}

bool SdlEngine::System_SetClipboard(const char* text) {
    if (!window || text == nullptr) return false;
    if (SDL_SetClipboardText(text) == 0) return true;
    log.Write("Can't set the clipboard: %s", SDL_GetError());
    return false;
}

// SDL copies the whole text out of the clipboard; only its first maxBytes go further.
bool SdlEngine::System_GetClipboard(std::string& text, std::size_t maxBytes) {
    text.clear();
    if (!window) return false;
    const SdlTextPtr clipboard(SDL_GetClipboardText());
    if (!clipboard || clipboard.get()[0] == '\0') return false;
    text.assign(clipboard.get(), strnlen(clipboard.get(), maxBytes));
    return true;
}

const gkKeyPress* SdlEngine::Input_GetKeyPresses(int* count) {
    const std::vector<gkKeyPress>& presses = input.Presses();
    if (count != nullptr) *count = static_cast<int>(presses.size());
    return presses.data();
}

bool SdlEngine::Gfx_BeginScene(HTARGET target) {
    if (!renderer || target != 0) return false;
    sceneQuads.clear();
    inScene = true;
    return true;
}

void SdlEngine::Gfx_EndScene() {
    if (!inScene) return;
    inScene = false;
    const ChangedBounds changed =
        FindChangedBounds(shownQuads.data(), shownQuads.size(), sceneQuads.data(), sceneQuads.size());
    drewNew = !changed.empty;
    if (!drewNew && !redrawNeeded && !capture && !companionsPending) return;
    MatchTexturesToOutput();  // the window may have changed its size
    SDL_Rect part{};
    if (!redrawNeeded && !companionsPending && PartToRedraw(changed, &part)) {
        DrawScenePart(part);
    } else {
        SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
        SDL_RenderClear(renderer.get());
        for (const Quad& quad : sceneQuads) DrawSceneQuad(quad);
    }
    if (capture) CaptureFrame();
    SDL_RenderPresent(renderer.get());
    lastPresentSeconds = FrameClock::Now();
    shownQuads.swap(sceneQuads);
    redrawNeeded = false;
    ++framesShown;
}

// Scaling with linear filtering spreads a quad's edge over a pixel at most.
constexpr float kPartMargin = 2;

// The whole-pixel rectangle around what changed, when the buffer still holds the
// rest and it is at most half the screen (beyond that a full redraw costs no more).
bool SdlEngine::PartToRedraw(const ChangedBounds& changed, SDL_Rect* part) const {
    if (!keepsPicture || changed.empty) return false;
    const float left = std::max(std::floor(changed.left - kPartMargin), 0.0f);
    const float top = std::max(std::floor(changed.top - kPartMargin), 0.0f);
    const float right = std::min(std::ceil(changed.right + kPartMargin), static_cast<float>(width));
    const float bottom = std::min(std::ceil(changed.bottom + kPartMargin), static_cast<float>(height));
    if (!(right > left && bottom > top)) return false;  // off screen, or not finite
    if ((right - left) * (bottom - top) > 0.5f * static_cast<float>(width) * static_cast<float>(height)) return false;
    *part = SDL_Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
    return true;
}

// Paints the part black, then every quad that reaches into it, in order and cut to
// it: its pixels come out as a full redraw would make them.
void SdlEngine::DrawScenePart(const SDL_Rect& part) {
    SDL_RenderSetClipRect(renderer.get(), &part);
    SDL_SetRenderDrawBlendMode(renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    SDL_RenderFillRect(renderer.get(), &part);
    for (const Quad& quad : sceneQuads) {
        if (QuadTouches(quad, part, kPartMargin)) DrawSceneQuad(quad);
    }
    SDL_RenderSetClipRect(renderer.get(), nullptr);
}

void SdlEngine::Gfx_RenderQuad(const Quad* quad) {
    if (!inScene || quad == nullptr) return;
    sceneQuads.push_back(*quad);
}

void SdlEngine::DrawSceneQuad(const Quad& quad) {
    if (!QuadIsFinite(quad)) return;
    const SDL_BlendMode blend = BlendModeFor(quad.blend);
    if (quad.tex == 0) {
        SDL_SetRenderDrawBlendMode(renderer.get(), blend);
        DrawQuad(nullptr, quad);
        return;
    }
    TextureEntry* entry = textures.Find(quad.tex);
    if (entry == nullptr) return;  // freed or unknown texture: nothing to draw with
    SDL_SetTextureBlendMode(Drawn(**entry), blend);
    DrawQuad(entry->get(), quad);
}

// The output scale in full screen on the window's display.
double SdlEngine::FullScreenScale() const {
    SDL_DisplayMode desktop{};
    const int display = SDL_GetWindowDisplayIndex(window.get());
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &desktop) != 0) return textureScale;
    return OutputScale(desktop.w, desktop.h, width, height);
}

// Chooses the textures' companions for the output's scale, when it has changed.
void SdlEngine::MatchTexturesToOutput() {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    const double scale = OutputScale(outputWidth, outputHeight, width, height);
    if (scale == textureScale && !companionsPending) return;
    textureScale = scale;
    bool pending = false;
    for (const auto& image : images) pending |= !MatchCompanions(*image, false);
    companionsPending = pending;
}

// Without wait, false while the companion chosen is still decoding.
bool SdlEngine::MatchCompanions(LoadedImage& image, bool wait) {
    return image.companions.Match(textureScale, renderer.get(), CompanionBytes(&image), log, wait,
                                  SDL_GetWindowID(window.get()));
}

// Draws as a rectangle copy where the quad allows it, else as two triangles.
void SdlEngine::DrawQuad(LoadedImage* image, const Quad& quad) {
    SDL_Texture* texture = image ? Drawn(*image) : nullptr;
    QuadRect rect{};
    if (QuadAsRect(quad, image ? image->image.width : 0, image ? image->image.height : 0, Area(), &rect)) {
        const SDL_Color& c = rect.color;
        if (texture == nullptr) {
            SDL_SetRenderDrawColor(renderer.get(), c.r, c.g, c.b, c.a);
            SDL_RenderFillRectF(renderer.get(), &rect.destination);
            return;
        }
        // The game's rectangle is in the image's pixels; a companion has factor times as many.
        const int f = image->companions.Factor();
        const SDL_Rect source{rect.source.x * f, rect.source.y * f, rect.source.w * f, rect.source.h * f};
        SDL_Texture* piece = ShrunkPiece(*image, rect);
        if (piece != nullptr) SDL_SetTextureBlendMode(piece, BlendModeFor(quad.blend));
        texture = piece != nullptr ? piece : texture;
        // An opaque texture at full alpha blends to a plain copy, which the
        // software renderer does far faster.
        if (DrawnOpaque(*image) && c.a == 255 && BlendModeFor(quad.blend) == SDL_BLENDMODE_BLEND) {
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        }
        SDL_SetTextureColorMod(texture, c.r, c.g, c.b);
        SDL_SetTextureAlphaMod(texture, c.a);
        SDL_RenderCopyF(renderer.get(), texture, piece != nullptr ? nullptr : &source, &rect.destination);
        return;
    }
    if (texture != nullptr) {
        SDL_SetTextureColorMod(texture, 255, 255, 255);  // the vertex colours alone tint
        SDL_SetTextureAlphaMod(texture, 255);
    }
    SDL_Vertex vertices[4];
    QuadToVertices(quad, Area(), vertices);
    SDL_RenderGeometry(renderer.get(), texture, vertices, 4, kQuadIndices, 6);
}

// Where a companion is larger than the output pixels its part covers, that part
// shrunk by area to exactly those pixels (as many as the renderer makes of the
// destination), to be copied one to one: a bilinear shrink would blur its edges.
SDL_Texture* SdlEngine::ShrunkPiece(LoadedImage& image, const QuadRect& rect) {
    if (image.companions.Texture() == nullptr) return nullptr;
    float scaleX = 1.0f, scaleY = 1.0f;
    SDL_RenderGetScale(renderer.get(), &scaleX, &scaleY);
    const int pixelsWide = static_cast<int>(rect.destination.w * scaleX);
    const int pixelsHigh = static_cast<int>(rect.destination.h * scaleY);
    return image.companions.Piece(renderer.get(), rect.source, pixelsWide, pixelsHigh);
}

// Reads the finished frame back before it is presented (afterwards the back
// buffer's contents are undefined). The whole output is read, bars included;
// frameArea keeps where the game's pixels lie in it.
void SdlEngine::CaptureFrame() {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) != 0) return;
    if (outputWidth <= 0 || outputHeight <= 0) return;
    SdlSurfacePtr frame(
        SDL_CreateRGBSurfaceWithFormat(0, outputWidth, outputHeight, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!frame) return;
    // SDL reads the part of this rectangle that the game's viewport covers, at its
    // place in the buffer, so a buffer of the whole output is always large enough.
    const SDL_Rect whole{0, 0, outputWidth, outputHeight};
    if (SDL_RenderReadPixels(renderer.get(), &whole, SDL_PIXELFORMAT_ARGB8888, frame->pixels, frame->pitch) !=
        0) {
        return;
    }
    const ScaledArea scaled = LetterboxArea(outputWidth, outputHeight, width, height);
    const SDL_Rect area{scaled.x, scaled.y, scaled.w, scaled.h};
    SDL_Rect clipped{};
    if (!SDL_IntersectRect(&area, &whole, &clipped)) clipped = whole;
    frameArea = clipped;
    lastFrame = std::move(frame);
}

SdlEngine* Engine() {
    return TheEngine().get();
}

}  // namespace

GK* gkCreate(int version) {
    if (version != GK_VERSION) return nullptr;
    std::unique_ptr<SdlEngine>& engine = TheEngine();
    if (!engine) engine = std::make_unique<SdlEngine>();
    engine->AddReference();
    return engine.get();
}

bool gkSdlSetFrameCapture(bool enabled) {
    SdlEngine* engine = Engine();
    if (engine == nullptr) return false;
    engine->SetFrameCapture(enabled);
    return true;
}

bool gkSdlSaveScreenshot(const char* pngPath) {
    const SdlEngine* engine = Engine();
    if (engine == nullptr || engine->LastFrame() == nullptr || pngPath == nullptr) return false;
    return IMG_SavePNG(const_cast<SDL_Surface*>(engine->LastFrame()), pngPath) == 0;
}

bool gkSdlReadPixel(int x, int y, std::uint32_t* argb) {
    const SdlEngine* engine = Engine();
    if (engine == nullptr || argb == nullptr) return false;
    const SDL_Surface* frame = engine->LastFrame();
    if (frame == nullptr || x < 0 || y < 0 || x >= engine->LogicalWidth() || y >= engine->LogicalHeight()) {
        return false;
    }
    // Game pixels to captured pixels (they differ when the window is scaled).
    const SDL_Rect& area = engine->LastFrameArea();
    const long long column = area.x + static_cast<long long>(x) * area.w / engine->LogicalWidth();
    const long long row = area.y + static_cast<long long>(y) * area.h / engine->LogicalHeight();
    if (column < 0 || row < 0 || column >= frame->w || row >= frame->h) return false;
    const auto* line = static_cast<const unsigned char*>(frame->pixels) + row * frame->pitch;
    std::memcpy(argb, line + column * 4, sizeof *argb);
    return true;
}

bool gkSdlVsyncActive() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->VsyncActive();
}

bool gkSdlCompanionsPending() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->CompanionsPending();
}

std::size_t gkSdlCompanionBytes() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->CompanionBytes() : 0;
}

void gkSdlUseCompanions(bool enabled) {
    CompanionsWanted() = enabled;
}

int gkSdlFramesShown() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->FramesShown() : 0;
}

double gkSdlLastPresentSeconds() {
    const SdlEngine* engine = Engine();
    return engine != nullptr ? engine->LastPresentSeconds() : 0.0;
}

bool gkSdlAudioActive() {
    const SdlEngine* engine = Engine();
    return engine != nullptr && engine->AudioActive();
}
