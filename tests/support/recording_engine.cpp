// The recording engine: loads files from disk like the real engine, records what the game
// draws, logs and plays, and feeds it scripted input frame by frame.
#include "support/recording_engine.h"

#include <utility>

#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "engine/sdl/image/image_decode.h"

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The executable's folder with a trailing slash, or empty text when it cannot be read.
std::string ExecutableFolder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    const std::string exe(path, static_cast<std::size_t>(length));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

// Resource lookup: an absolute path as given; a relative one in the data folder when a test set
// one, else in the executable's folder first, then in the current folder. Empty text when the
// file is not found.
std::string FindFile(const char* name, const std::string& dataFolder) {
    if (name == nullptr || name[0] == '\0') return {};
    const std::string given(name);
    if (given[0] == '/') return IsRegularFile(given) ? given : std::string();
    if (!dataFolder.empty()) return IsRegularFile(dataFolder + given) ? dataFolder + given : std::string();
    static const std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty() && IsRegularFile(exeFolder + given)) return exeFolder + given;
    return IsRegularFile(given) ? given : std::string();
}

bool ReadWholeFile(const std::string& path, std::vector<char>& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Image size in pixels; false when the data does not decode. Decoded as the real engine
// decodes them: PNG, JPEG and BMP only, and only when their header claims a size it holds.
bool ImageSize(const void* bytes, std::size_t size, int& width, int& height) {
    const DecodedImage image = DecodeImage(static_cast<const unsigned char*>(bytes), size);
    if (image.result != ImageDecodeResult::Decoded) return false;
    width = image.surface->w;
    height = image.surface->h;
    return true;
}

bool DecodesAsWav(SDL_RWops* source) {
    if (source == nullptr) return false;
    SDL_AudioSpec format{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(source, 1, &format, &buffer, &length) == nullptr) return false;
    SDL_FreeWAV(buffer);
    return true;
}

}  // namespace

RecordingEngine& RecordingEngine::Instance() {
    // Lives for the whole process; references are only counted so tests can check their balance.
    static RecordingEngine engine;
    return engine;
}

GK* gkCreate(int version) {
    if (version != GK_VERSION) return nullptr;
    RecordingEngine& engine = RecordingEngine::Instance();
    ++engine.references;
    return &engine;
}

void RecordingEngine::ResetRecording() {
    initiateResult = true;
    maxFrames = 100000;
    script.clear();
    driver = nullptr;
    afterFrame = nullptr;
    probe = nullptr;
    states.clear();
    frameFunc = nullptr;
    renderFunc = nullptr;
    title.clear();
    logFile.clear();
    initiateCalls = startCalls = shutdownCalls = 0;
    framesRun = 0;
    onDemand = false;
    stopAt = 1e9;
    frameTimes.clear();
    wakeCalls = 0;
    quads.clear();
    scenes = 0;
    logLines.clear();
    soundsPlayed.clear();
    invalidFrees = 0;
    clipboard.clear();
    current = InputFrame{};
}

int RecordingEngine::LiveTextures() const {
    int live = 0;
    for (const auto& entry : textures) live += entry.second.freed ? 0 : 1;
    return live;
}

bool RecordingEngine::RunFrame(const InputFrame& input) {
    current = input;
    ++framesRun;
    const bool done = frameFunc != nullptr && frameFunc();
    if (renderFunc != nullptr) renderFunc();
    // Key, character and wheel belong to the frame they were given for.
    current.key = 0;
    current.character = 0;
    current.wheel = 0;
    current.presses.clear();
    if (afterFrame) afterFrame(*this);
    return done;
}

bool RecordingEngine::NextScriptedFrame(InputFrame& input) {
    if (!script.empty()) {
        input = script.front();
        script.pop_front();
        return true;
    }
    if (!driver) return false;
    input = InputFrame{};
    return driver(*this, input);
}

// ---- GK: system ---------------------------------------------------------------

void RecordingEngine::Release() {
    --references;
}

void RecordingEngine::System_SetState(gkFuncState state, gkCallback value) {
    states.emplace_back(state, value != nullptr ? "callback" : "null");
    if (state == GK_FRAMEFUNC) frameFunc = value;
    if (state == GK_RENDERFUNC) renderFunc = value;
}

void RecordingEngine::System_SetState(gkIntState state, int value) {
    states.emplace_back(state, std::to_string(value));
}

void RecordingEngine::System_SetState(gkStringState state, const char* value) {
    const std::string text = value != nullptr ? value : "";
    states.emplace_back(state, text);
    if (state == GK_TITLE) title = text;
    if (state == GK_LOGFILE) logFile = text;
}

void RecordingEngine::System_SetState(gkBoolState state, bool value) {
    states.emplace_back(state, value ? "true" : "false");
}

bool RecordingEngine::System_Initiate() {
    ++initiateCalls;
    return initiateResult;
}

void RecordingEngine::System_Start() {
    ++startCalls;
    if (onDemand) return RunOnDemand();
    InputFrame input;
    for (int frame = 0; frame < maxFrames && NextScriptedFrame(input); ++frame) {
        if (RunFrame(input)) break;
    }
}

void RecordingEngine::RunOnDemand() {
    constexpr double kPeriod = 1.0 / 60;
    demand = FrameDemand();
    std::vector<Quad> shown;
    for (int frame = 0; frame < maxFrames; ++frame) {
        const double last = now;
        const bool waiting = demand.Waiting();
        const double due = frame == 0 ? 0 : waiting ? demand.Deadline() : last + kPeriod;
        const bool input = !script.empty() && script.front().at <= due;
        if (!input && (due == FrameDemand::kNoDeadline || due > stopAt)) break;
        InputFrame next = current;  // without input, what is held and where the pointer is stay
        if (input) {
            next = script.front();
            script.pop_front();
        }
        now = input && waiting ? std::max(next.at, last) : due;
        next.dt = static_cast<float>(now - last);
        frameTimes.push_back(now);
        const bool done = RunFrame(next);
        const bool drewNew = quads.size() != shown.size() ||
                             std::memcmp(quads.data(), shown.data(), quads.size() * sizeof(Quad)) != 0;
        shown = quads;
        demand.FrameEnded(now, drewNew, input, kPeriod);
        if (done) break;
    }
    now = 0;
}

void RecordingEngine::System_Shutdown() {
    ++shutdownCalls;
    // SDL keeps per-thread state (its error text) that only SDL's own threads free at their end;
    // the game may run on a thread of the test's, so free it here as SDL_Quit would.
    SDL_TLSCleanup();
}

void RecordingEngine::System_LogV(const char* format, va_list args) {
    if (format == nullptr) return;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        logLines.emplace_back();
        return;
    }
    std::vector<char> line(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(line.data(), line.size(), format, args);
    logLines.emplace_back(line.data(), static_cast<std::size_t>(length));
}

// ---- GK: resources, textures, effects -------------------------------------------

void* RecordingEngine::Resource_Load(const char* filename, std::uint32_t* size) {
    if (size != nullptr) *size = 0;
    std::vector<char> contents;
    if (!ReadWholeFile(FindFile(filename, dataFolder), contents)) return nullptr;
    if (size != nullptr) *size = static_cast<std::uint32_t>(contents.size());
    if (contents.empty()) contents.push_back('\0');  // a valid block even for an empty file
    void* block = contents.data();
    resources.emplace(block, std::move(contents));
    ++liveResources;
    return block;
}

void RecordingEngine::Resource_Free(void* block) {
    if (resources.erase(block) == 0) {
        ++invalidFrees;
        return;
    }
    --liveResources;
}

HTEXTURE RecordingEngine::Texture_Load(const char* filename, std::uint32_t size, bool /*mipmap*/) {
    int width = 0, height = 0;
    std::string name;
    if (size != 0 && filename != nullptr) {
        // The file's bytes handed over in memory.
        name = "<memory>";
        if (!ImageSize(filename, size, width, height)) return 0;
    } else {
        std::vector<char> contents;
        if (!ReadWholeFile(FindFile(filename, dataFolder), contents) ||
            !ImageSize(contents.data(), contents.size(), width, height))
            return 0;
        name = filename;
    }
    const HTEXTURE handle = nextTexture++;
    textures[handle] = RecordedTexture{name, width, height, false};
    return handle;
}

void RecordingEngine::Texture_Free(HTEXTURE texture) {
    auto found = textures.find(texture);
    if (found == textures.end() || found->second.freed) {
        ++invalidFrees;
        return;
    }
    found->second.freed = true;
}

int RecordingEngine::Texture_GetWidth(HTEXTURE texture, bool /*original*/) {
    auto found = textures.find(texture);
    return found == textures.end() || found->second.freed ? 0 : found->second.width;
}

int RecordingEngine::Texture_GetHeight(HTEXTURE texture, bool /*original*/) {
    auto found = textures.find(texture);
    return found == textures.end() || found->second.freed ? 0 : found->second.height;
}

HEFFECT RecordingEngine::Effect_Load(const char* filename, std::uint32_t size) {
    std::string name;
    if (size != 0 && filename != nullptr) {
        name = "<memory>";
        if (!DecodesAsWav(SDL_RWFromConstMem(filename, static_cast<int>(size)))) return 0;
    } else {
        const std::string path = FindFile(filename, dataFolder);
        std::vector<char> contents;
        if (!ReadWholeFile(path, contents) || contents.empty()) return 0;
        if (!DecodesAsWav(SDL_RWFromConstMem(contents.data(), static_cast<int>(contents.size())))) return 0;
        name = filename;
    }
    const HEFFECT handle = nextEffect++;
    effects[handle] = name;
    return handle;
}

void RecordingEngine::Effect_Free(HEFFECT effect) {
    if (effects.erase(effect) == 0) ++invalidFrees;
}

HCHANNEL RecordingEngine::Effect_Play(HEFFECT effect) {
    soundsPlayed.push_back(effect);
    return static_cast<HCHANNEL>(soundsPlayed.size());
}

// ---- GK: timer, input, graphics ---------------------------------------------------

float RecordingEngine::Timer_GetDelta() {
    if (probe) probe();
    return current.dt;
}
int RecordingEngine::Input_GetKey() {
    return current.key;
}
int RecordingEngine::Input_GetChar() {
    return current.character;
}

const gkKeyPress* RecordingEngine::Input_GetKeyPresses(int* count) {
    framePresses = current.presses;
    const int key = current.key == GKK_LBUTTON || current.key == GKK_RBUTTON || current.key == GKK_MBUTTON ? 0
                                                                                                        : current.key;
    if (framePresses.empty() && (key != 0 || current.character != 0))
        framePresses.push_back({key, current.character, current.shift, current.control, current.alt});
    if (count != nullptr) *count = static_cast<int>(framePresses.size());
    return framePresses.data();
}

bool RecordingEngine::Input_GetKeyState(int key) {
    const std::pair<int, bool> held[] = {{GKK_LBUTTON, current.left},  {GKK_RBUTTON, current.right},
                                         {GKK_MBUTTON, current.middle}, {GKK_SHIFT, current.shift},
                                         {GKK_CONTROL, current.control}, {GKK_ALT, current.alt}};
    for (const auto& [code, down] : held)
        if (code == key) return down;
    return false;
}

void RecordingEngine::Input_GetMousePos(float* x, float* y) {
    if (x != nullptr) *x = current.mouseX;
    if (y != nullptr) *y = current.mouseY;
}

int RecordingEngine::Input_GetMouseWheel() {
    return current.wheel;
}
bool RecordingEngine::Input_IsMouseOver() {
    return current.mouseOver;
}

bool RecordingEngine::Input_HasFocus() {
    return current.focus;
}

bool RecordingEngine::System_SetClipboard(const char* text) {
    if (text != nullptr) clipboard = text;
    return text != nullptr;
}

bool RecordingEngine::System_GetClipboard(std::string& text, std::size_t maxBytes) {
    text = clipboard.substr(0, maxBytes);
    return !clipboard.empty();
}

bool RecordingEngine::Gfx_BeginScene(HTARGET /*target*/) {
    if (probe) probe();
    quads.clear();
    return true;
}

void RecordingEngine::Gfx_EndScene() {
    ++scenes;
}

void RecordingEngine::Gfx_RenderQuad(const Quad* quad) {
    if (quad != nullptr) quads.push_back(*quad);
}
