// The SDL engine's life: gkCreate and Release (one engine, counted references),
// the states the game sets, and System_Initiate / System_Shutdown, which open and
// close SDL, the window, the renderer, audio and the watchers in their order. The
// other concerns of SdlEngine have files of their own (sdl_engine_state.h lists them).
// Owns the one engine (TheEngine) and the companions switch (CompanionsWanted).
#include <SDL.h>
#include <SDL_mixer.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/sdl/sdl_engine_state.h"
#include "engine/sdl/video/video_driver.h"
#include "engine/sdl/video/window_fit.h"

std::unique_ptr<SdlEngine>& TheEngine() {
    static std::unique_ptr<SdlEngine> engine;
    return engine;
}

bool& CompanionsWanted() {
    static bool wanted = true;
    return wanted;
}

namespace {

void EngineLostDisplay() {
    if (TheEngine()) TheEngine()->DisplayLost();
}

}  // namespace

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

GK* gkCreate(int version) {
    if (version != GK_VERSION) return nullptr;
    std::unique_ptr<SdlEngine>& engine = TheEngine();
    if (!engine) engine = std::make_unique<SdlEngine>();
    engine->AddReference();
    return engine.get();
}
