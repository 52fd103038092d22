// The recording engine: a second implementation of the GK interface for tests.
// It loads files from disk like the real engine (texture sizes from the real
// images), records every quad drawn, every log line, every sound played and every
// state set, and plays scripted input frame by frame. gkCreate, linked from this
// library into the test executables, returns it.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/gk.h"
#include "engine/sdl/frame/frame_demand.h"

// Input for one frame.
struct InputFrame {
    int key = 0;        // Input_GetKey: 0 none, 1/2 mouse buttons, 13, 27, 32, 37-40, ...
    int character = 0;  // Input_GetChar
    float mouseX = 0, mouseY = 0;
    bool left = false;   // Input_GetKeyState(1)
    bool right = false;  // Input_GetKeyState(2)
    bool middle = false;   // Input_GetKeyState(4)
    bool shift = false;    // Input_GetKeyState(16)
    bool control = false;  // Input_GetKeyState(17)
    bool alt = false;      // Input_GetKeyState(18)
    int wheel = 0;
    bool mouseOver = true;  // Input_IsMouseOver
    bool focus = true;      // Input_HasFocus
    float dt = 1.0f / 60;   // Timer_GetDelta
    // Input_GetKeyPresses. Left empty, a keyboard key (or a character) above makes the
    // frame's one press, with the modifiers above.
    std::vector<gkKeyPress> presses;
    double at = 0;  // frames on demand: the second the input arrives
};

struct RecordedTexture {
    std::string name;
    int width = 0, height = 0;
    bool freed = false;
};

class RecordingEngine : public GK {
public:
    // The one instance (created on first use; gkCreate returns it with a reference).
    static RecordingEngine& Instance();
    // Forgets everything recorded and scripted, and the states set; keeps loaded resources.
    void ResetRecording();

    // ---- what tests set up -------------------------------------------------
    bool initiateResult = true;  // what System_Initiate returns
    // When set (with a trailing '/'), relative file names are looked up only in this folder.
    // Kept by ResetRecording.
    std::string dataFolder;
    int maxFrames = 100000;      // System_Start stops after this many frames
    // Frames played by System_Start, one per frame, in order. When the queue runs out and no
    // driver is set, System_Start ends as if the window had been closed.
    std::deque<InputFrame> script;
    // Called before each frame when set: fills the frame's input; returning false closes the window.
    // (When both are set, a queued frame is taken first and the driver is called when the queue is empty.)
    std::function<bool(RecordingEngine&, InputFrame&)> driver;
    // Called from inside the game's callbacks when set (from Timer_GetDelta, which every frame
    // handler asks first, and from Gfx_BeginScene); for checks that must run under the frame lock.
    std::function<void()> probe;
    // Called after each frame (after the render callback) when set; for assertions mid-run.
    std::function<void(RecordingEngine&)> afterFrame;
    // Frames on demand, on a clock of virtual seconds, decided as the real engine decides
    // them: each frame of the script is input arriving at its `at`; without input, frames
    // run 1/60 s apart while the game needs them, else at the deadline it asked for. The
    // run ends at stopAt, or when the script is over and no deadline is left. (The driver
    // is not used.) Off, System_Start runs one frame per scripted input.
    bool onDemand = false;
    double stopAt = 1e9;
    // The clipboard's text (System_GetClipboard gives none while it is empty); emptied by
    // ResetRecording.
    std::string clipboard;

    // Plays one frame directly: applies the input, calls the frame callback and then the render
    // callback. Returns the frame callback's result. Tests that drive the game by hand use this.
    bool RunFrame(const InputFrame& input);
    // Sets the input the next Input_* queries return (without running a frame).
    void SetInput(const InputFrame& input) { current = input; }

    // ---- what tests read ---------------------------------------------------
    std::vector<std::pair<int, std::string>> states;  // every System_SetState, in order (value as text)
    gkCallback frameFunc = nullptr, renderFunc = nullptr;
    std::string title, logFile;
    int initiateCalls = 0, startCalls = 0, shutdownCalls = 0;
    int framesRun = 0;
    std::vector<double> frameTimes;  // on demand: the second each frame ran at
    std::atomic<int> wakeCalls{0};   // System_WakeFrameLoop calls
    std::vector<Quad> quads;  // quads of the current (or last) scene
    int scenes = 0;           // completed Gfx_EndScene calls
    std::vector<std::string> logLines;
    std::vector<HEFFECT> soundsPlayed;
    std::map<HTEXTURE, RecordedTexture> textures;  // every texture ever loaded
    std::map<HEFFECT, std::string> effects;        // live sound effects
    int liveResources = 0;                         // Resource_Load blocks not yet freed
    int references = 0;                            // engine references held
    int invalidFrees = 0;  // frees of unknown or already freed blocks, textures and effects

    int LiveTextures() const;

    // ---- GK ----------------------------------------------------------------
    void Release() override;
    void System_SetState(gkFuncState state, gkCallback value) override;
    void System_SetState(gkIntState state, int value) override;
    void System_SetState(gkStringState state, const char* value) override;
    void System_SetState(gkBoolState state, bool value) override;
    bool System_Initiate() override;
    void System_Start() override;
    void System_Shutdown() override;
    void System_NextFrameWithin(float seconds) override { demand.Ask(now, seconds); }
    void System_WakeFrameLoop() override { ++wakeCalls; }
    void System_LogV(const char* format, va_list args) override;
    void* Resource_Load(const char* filename, std::uint32_t* size) override;
    void Resource_Free(void* block) override;
    HTEXTURE Texture_Load(const char* filename, std::uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE texture) override;
    int Texture_GetWidth(HTEXTURE texture, bool original) override;
    int Texture_GetHeight(HTEXTURE texture, bool original) override;
    HEFFECT Effect_Load(const char* filename, std::uint32_t size) override;
    void Effect_Free(HEFFECT effect) override;
    HCHANNEL Effect_Play(HEFFECT effect) override;
    float Timer_GetDelta() override;
    int Input_GetKey() override;
    int Input_GetChar() override;
    const gkKeyPress* Input_GetKeyPresses(int* count) override;
    bool Input_GetKeyState(int key) override;
    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override;
    bool Input_IsMouseOver() override;
    bool Input_HasFocus() override;
    bool System_SetClipboard(const char* text) override;
    bool System_GetClipboard(std::string& text, std::size_t maxBytes) override;
    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_RenderQuad(const Quad* quad) override;

private:
    RecordingEngine() = default;
    ~RecordingEngine() override = default;
    friend GK* gkCreate(int version);

    // The next frame of System_Start from the script or the driver; false ends the loop.
    bool NextScriptedFrame(InputFrame& input);
    void RunOnDemand();

    FrameDemand demand;
    double now = 0;  // the virtual second of the running frame

    InputFrame current;
    std::vector<gkKeyPress> framePresses;  // what Input_GetKeyPresses returned last
    std::map<void*, std::vector<char>> resources;  // Resource_Load blocks not yet freed
    HTEXTURE nextTexture = 1;
    HEFFECT nextEffect = 1;
};
