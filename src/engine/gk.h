// The GK engine interface: everything the game asks of the engine (window, frame
// loop, input, textures, sound effects, frame timer, file loading, log) stands
// behind this one abstract class. Two implementations exist: the SDL2 backend
// (src/engine/sdl) linked into the game, and a recording engine linked into the
// tests. Which one gkCreate returns is decided at link time.
//
// Reference counting: every gkCreate(GK_VERSION) call returns the one engine
// instance and takes a reference; every holder calls Release once; the last
// Release destroys the engine. Any other version gives null.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int GK_VERSION = 0x160;

using HTEXTURE = std::uint32_t;  // 0 = no texture / failure
using HEFFECT = std::uint32_t;   // 0 = no sound / failure
using HCHANNEL = std::uint32_t;
using HTARGET = std::uint32_t;   // 0 = the screen

using gkCallback = bool (*)();

// Engine states, set with System_SetState before System_Initiate.
// GK_DISPLAYLOSTFUNC is called when the connection to the display breaks, just before
// the engine ends the process (no frame runs again; its result is ignored). It runs on
// the frame thread, perhaps inside a frame callback, and is for saving what must not
// be lost.
enum gkFuncState { GK_FRAMEFUNC = 1, GK_RENDERFUNC = 2, GK_DISPLAYLOSTFUNC = 3 };
enum gkIntState { GK_ICON = 6, GK_SCREENWIDTH = 8, GK_SCREENHEIGHT = 9, GK_SCREENBPP = 10 };
enum gkStringState { GK_TITLE = 7, GK_LOGFILE = 16 };
// GK_WINDOWED set after System_Initiate switches between the window (true) and a
// borderless full-screen window at the desktop resolution (false).
enum gkBoolState { GK_WINDOWED = 11 };

// Window icon resource compiled into the executable (a 32 x 32 and a 16 x 16 image).
constexpr int GK_ICON_RESOURCE = 103;

// Key codes returned by Input_GetKey and taken by Input_GetKeyState.
enum gkKey {
    GKK_LBUTTON = 1,
    GKK_RBUTTON = 2,
    GKK_MBUTTON = 4,
    GKK_BACKSPACE = 8,
    GKK_ENTER = 13,
    GKK_SHIFT = 16,    // Input_GetKeyState only: either Shift key held
    GKK_CONTROL = 17,  // Input_GetKeyState only: either Control key held
    GKK_ALT = 18,      // Input_GetKeyState only: either Alt key held
    GKK_ESCAPE = 27,
    GKK_SPACE = 32,
    GKK_LEFT = 37,
    GKK_UP = 38,
    GKK_RIGHT = 39,
    GKK_DOWN = 40,
    GKK_DELETE = 46,
    GKK_0 = 48,  // digits 48..57 (keypad digits too)
    GKK_A = 65,  // letters 65..90
    GKK_F1 = 112,
    GKK_F11 = 122,
};

// One key press of a frame, as it was pressed: the keys of a chord pressed and
// released within one frame keep their modifiers here, where Input_GetKeyState
// (read at frame time) no longer shows them.
struct gkKeyPress {
    int key = 0;        // key code as Input_GetKey gives it; 0 for a key without one that typed a character
    int character = 0;  // the character it typed (as Input_GetChar), 0 for none
    bool shift = false, control = false, alt = false;  // held when it was pressed
};

// Blend mode 2: alpha blending, vertex colour multiplied into the texture.
constexpr int GK_BLEND_DEFAULT = 2;

// One corner of a quad, fields in this order.
struct Vertex {
    float x, y;         // screen pixels
    float z;            // depth, 0..1
    std::uint32_t col;  // ARGB, alpha in the top byte
    float tx, ty;       // texture coordinates, 0..1 across the texture
};

// A textured, vertex-coloured quad: corners top-left, top-right, bottom-right,
// bottom-left. tex 0 draws untextured.
struct Quad {
    Vertex v[4];
    HTEXTURE tex;
    int blend;
};

class GK {
public:
    virtual void Release() = 0;

    virtual void System_SetState(gkFuncState state, gkCallback value) = 0;
    virtual void System_SetState(gkIntState state, int value) = 0;
    virtual void System_SetState(gkStringState state, const char* value) = 0;
    virtual void System_SetState(gkBoolState state, bool value) = 0;

    virtual bool System_Initiate() = 0;
    virtual void System_Start() = 0;
    virtual void System_Shutdown() = 0;
    // Frames run on demand: while what is drawn changes or input comes, at the display's
    // rate; once frames draw nothing new, only when input comes, when the loop is woken,
    // or by the deadline asked for here. A frame callback asks for the frame its own
    // timers need: within seconds from now (0: at once, even when the frame would draw
    // nothing new). The earliest request of a frame holds, for the next frame only.
    virtual void System_NextFrameWithin(float seconds) = 0;
    // Runs a frame soon although nothing else happened (a worker's result is ready).
    // Safe to call from any thread while the engine lives.
    virtual void System_WakeFrameLoop() = 0;
    // Appends one line to the log file; printf rules.
    void System_Log(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
    {
        va_list args;
        va_start(args, format);
        System_LogV(format, args);
        va_end(args);
    }
    virtual void System_LogV(const char* format, va_list args) = 0;

    // Whole file in memory (null on failure); *size receives its length when size is not null.
    virtual void* Resource_Load(const char* filename, std::uint32_t* size = nullptr) = 0;
    virtual void Resource_Free(void* block) = 0;

    virtual HTEXTURE Texture_Load(const char* filename, std::uint32_t size = 0, bool mipmap = false) = 0;
    virtual void Texture_Free(HTEXTURE texture) = 0;
    virtual int Texture_GetWidth(HTEXTURE texture, bool original = false) = 0;
    virtual int Texture_GetHeight(HTEXTURE texture, bool original = false) = 0;

    virtual HEFFECT Effect_Load(const char* filename, std::uint32_t size = 0) = 0;
    virtual void Effect_Free(HEFFECT effect) = 0;
    virtual HCHANNEL Effect_Play(HEFFECT effect) = 0;

    virtual float Timer_GetDelta() = 0;

    virtual int Input_GetKey() = 0;
    virtual int Input_GetChar() = 0;
    // Every key press of this frame, oldest first, key repeats included (mouse buttons
    // are not among them); *count receives how many. Valid until the frame ends.
    virtual const gkKeyPress* Input_GetKeyPresses(int* count) = 0;
    virtual bool Input_GetKeyState(int key) = 0;
    virtual void Input_GetMousePos(float* x, float* y) = 0;
    virtual int Input_GetMouseWheel() = 0;
    virtual bool Input_IsMouseOver() = 0;
    // The window has the keyboard focus (true until the window system says otherwise).
    virtual bool Input_HasFocus() = 0;

    // The system clipboard's text, after System_Initiate. Set: false when the text
    // could not be placed there. Get: false when the clipboard holds no text or cannot
    // be read; text receives at most maxBytes bytes of it (a longer text is cut there).
    virtual bool System_SetClipboard(const char* text) = 0;
    virtual bool System_GetClipboard(std::string& text, std::size_t maxBytes) = 0;

    virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
    virtual void Gfx_EndScene() = 0;
    virtual void Gfx_RenderQuad(const Quad* quad) = 0;

protected:
    GK() = default;
    virtual ~GK() = default;
    GK(const GK&) = delete;
    GK& operator=(const GK&) = delete;
};

// Returns the engine with a new reference, or null for another interface version.
GK* gkCreate(int version);

// One engine reference held for an object's lifetime: taken at construction,
// released at destruction. Sprites, fonts, the GUI and its controls each hold one.
class gkEngineRef {
public:
    gkEngineRef() : gk_(gkCreate(GK_VERSION)) {}
    ~gkEngineRef() {
        if (gk_) gk_->Release();
    }
    gkEngineRef(const gkEngineRef&) = delete;
    gkEngineRef& operator=(const gkEngineRef&) = delete;

    GK* get() const { return gk_; }
    GK* operator->() const { return gk_; }
    explicit operator bool() const { return gk_ != nullptr; }

private:
    GK* gk_;
};
