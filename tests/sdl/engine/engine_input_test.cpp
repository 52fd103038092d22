// Input through the real engine: SDL keys, buttons and text translated into the
// game's key and character codes, and SDL events pushed into the frame loop as
// the game sees them frame by frame.
#include <SDL.h>

#include <functional>
#include <vector>

#include "engine/sdl/input/input_state.h"
#include "engine/sdl/input/key_map.h"
#include "pushed_events.h"
#include "sdl/engine_test_fixture.h"

TEST(KeyMap, TheGamesKeysGetTheirCodes) {
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_RETURN), 13);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_KP_ENTER), 13);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_ESCAPE), 27);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_SPACE), 32);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_LEFT), 37);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_UP), 38);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_RIGHT), 39);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_DOWN), 40);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_0), 48);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_9), 57);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_KP_0), 48);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_KP_7), 55);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_a), 65);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_g), 71);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_z), 90);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_BACKSPACE), 8);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_DELETE), 46);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_F1), 112);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_F11), 122);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_F13), 0);
    EXPECT_EQ(GkKeyFromSdlKey(SDLK_LSHIFT), 0) << "modifiers are held states, not presses";
    int side = -1;
    EXPECT_EQ(GkModifierFromSdlKey(SDLK_RCTRL, &side), 17);
    EXPECT_EQ(side, 1);
    EXPECT_EQ(GkModifierFromSdlKey(SDLK_LALT, &side), 18);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(GkModifierFromSdlKey(SDLK_LGUI, &side), 0);
    EXPECT_EQ(GkKeyFromMouseButton(SDL_BUTTON_LEFT), 1);
    EXPECT_EQ(GkKeyFromMouseButton(SDL_BUTTON_RIGHT), 2);
    EXPECT_EQ(GkKeyFromMouseButton(SDL_BUTTON_MIDDLE), 4);
    EXPECT_EQ(GkKeyFromMouseButton(SDL_BUTTON_X1), 0);
}

TEST(KeyMap, CharactersFromKeysAndFromText) {
    EXPECT_EQ(GkCharFromKey(SDLK_RETURN, KMOD_NONE, true), 13);
    EXPECT_EQ(GkCharFromKey(SDLK_ESCAPE, KMOD_NONE, true), 27);
    EXPECT_EQ(GkCharFromKey(SDLK_a, KMOD_NONE, true), 0) << "text input carries printable characters";
    EXPECT_EQ(GkCharFromKey(SDLK_a, KMOD_NONE, false), 'a');
    EXPECT_EQ(GkCharFromKey(SDLK_a, KMOD_LSHIFT, false), 'A');
    EXPECT_EQ(GkCharFromKey(SDLK_a, KMOD_CAPS, false), 'A');
    EXPECT_EQ(GkCharFromKey(SDLK_a, KMOD_CAPS | KMOD_RSHIFT, false), 'a');
    EXPECT_EQ(GkCharFromKey(SDLK_7, KMOD_NONE, false), '7');
    EXPECT_EQ(GkCharFromKey(SDLK_LEFT, KMOD_NONE, false), 0);

    EXPECT_EQ(GkCharFromText("G"), 'G');
    EXPECT_EQ(GkCharFromText("\xC3\xA9t\xC3\xA9"), 0xE9);    // é
    EXPECT_EQ(GkCharFromText("\xE2\x82\xAC"), 0x20AC);       // €
    EXPECT_EQ(GkCharFromText("\xF0\x9F\x98\x80"), 0x1F600);  // 4-byte sequence
    EXPECT_EQ(GkCharFromText(""), 0);
    EXPECT_EQ(GkCharFromText(nullptr), 0);
    EXPECT_EQ(GkCharFromText("\xE2\x82"), 0) << "sequence cut by the end of the text";
    EXPECT_EQ(GkCharFromText("\x82x"), 0) << "continuation byte cannot start a character";
    EXPECT_EQ(GkCharFromText("\xFF"), 0);
}

TEST(InputState, FocusLossReleasesWhatWasHeld) {
    InputState input;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_a;
    input.Handle(event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    input.Handle(event);
    event = SDL_Event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_LCTRL;
    input.Handle(event);
    input.BeginFrame();
    EXPECT_TRUE(input.Held(65));
    EXPECT_TRUE(input.Held(2));
    EXPECT_TRUE(input.Held(17));
    event = SDL_Event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_TRUE(input.HasFocus());
    input.Handle(event);
    EXPECT_FALSE(input.HasFocus());
    EXPECT_FALSE(input.Held(65));
    EXPECT_FALSE(input.Held(2));
    EXPECT_FALSE(input.Held(17));
    EXPECT_FALSE(input.Held(0));
    EXPECT_FALSE(input.Held(-5));
    EXPECT_FALSE(input.Held(1000));
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    input.Handle(event);
    EXPECT_TRUE(input.HasFocus());
}

namespace {

// What the game saw in one frame.
struct Seen {
    int key = 0, character = 0, wheel = 0;
    bool left = false, right = false, middle = false, keyA = false, over = false;
    bool shift = false, control = false, alt = false;
    float x = 0, y = 0;
};

struct InputScript {
    GK* gk = nullptr;
    std::vector<Seen> frames;
    std::vector<std::function<void()>> pushBefore;  // pushBefore[i] runs in frame i, seen in frame i + 1
};
InputScript inputScript;

bool RecordingFrame() {
    GK* gk = inputScript.gk;
    gk->System_NextFrameWithin(0);  // a frame for each step of the script
    Seen seen;
    seen.key = gk->Input_GetKey();
    seen.character = gk->Input_GetChar();
    seen.wheel = gk->Input_GetMouseWheel();
    seen.left = gk->Input_GetKeyState(GKK_LBUTTON);
    seen.right = gk->Input_GetKeyState(GKK_RBUTTON);
    seen.middle = gk->Input_GetKeyState(GKK_MBUTTON);
    seen.keyA = gk->Input_GetKeyState(GKK_A);
    seen.shift = gk->Input_GetKeyState(GKK_SHIFT);
    seen.control = gk->Input_GetKeyState(GKK_CONTROL);
    seen.alt = gk->Input_GetKeyState(GKK_ALT);
    seen.over = gk->Input_IsMouseOver();
    gk->Input_GetMousePos(&seen.x, &seen.y);
    const std::size_t frame = inputScript.frames.size();
    inputScript.frames.push_back(seen);
    if (frame < inputScript.pushBefore.size()) inputScript.pushBefore[frame]();
    return inputScript.frames.size() > inputScript.pushBefore.size();
}

}  // namespace

TEST_F(EngineTest, PushedEventsReachTheGameFrameByFrame) {
    inputScript = InputScript();
    inputScript.gk = gk;
    inputScript.pushBefore = {
        [] {  // seen in frame 1
            PushWindowEvent(SDL_WINDOWEVENT_ENTER);
            PushKeyChange(SDLK_UP, true);
            PushKeyChange(SDLK_LEFT, true);  // the last key of the frame counts
            PushMouse(123, 456);
            PushButton(SDL_BUTTON_LEFT, true, 125, 458);
            PushWheel(1);
            PushWheel(2);
            PushKeyChange(SDLK_a, true);
        },
        [] {  // seen in frame 2
            PushButton(SDL_BUTTON_LEFT, false, 125, 458);
            PushText("\xC3\xA9");
            PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
        },
        [] {  // seen in frame 3
            PushKeyChange(SDLK_a, false);
            PushButton(SDL_BUTTON_RIGHT, true, 10, 20);
            PushWheel(-1);
            PushKeyChange(SDLK_KP_ENTER, true);
        },
        [] {},  // frame 4: nothing new
    };
    gk->System_SetState(GK_FRAMEFUNC, RecordingFrame);
    gk->System_Start();
    ASSERT_EQ(inputScript.frames.size(), 5u);

    const Seen& first = inputScript.frames[1];
    EXPECT_EQ(first.key, GKK_A);
    EXPECT_TRUE(first.left);
    EXPECT_TRUE(first.keyA);
    EXPECT_FLOAT_EQ(first.x, 125);
    EXPECT_FLOAT_EQ(first.y, 458);
    EXPECT_EQ(first.wheel, 3);
    EXPECT_TRUE(first.over);

    const Seen& second = inputScript.frames[2];
    EXPECT_EQ(second.key, 0) << "a release is not a press";
    EXPECT_EQ(second.character, 0xE9);
    EXPECT_FALSE(second.left);
    EXPECT_TRUE(second.keyA) << "still held";
    EXPECT_EQ(second.wheel, 0);
    EXPECT_FALSE(second.over);

    const Seen& third = inputScript.frames[3];
    EXPECT_EQ(third.key, GKK_ENTER);
    EXPECT_EQ(third.character, 13);
    EXPECT_TRUE(third.right);
    EXPECT_FALSE(third.keyA);
    EXPECT_EQ(third.wheel, -1);
    EXPECT_FLOAT_EQ(third.x, 10);
    EXPECT_FLOAT_EQ(third.y, 20);

    const Seen& fourth = inputScript.frames[4];
    EXPECT_EQ(fourth.key, 0);
    EXPECT_EQ(fourth.character, 0);
    EXPECT_TRUE(fourth.right);

    inputScript = InputScript();
}

TEST_F(EngineTest, AButtonPressedAfterAKeyIsTheFramesKey) {
    inputScript = InputScript();
    inputScript.gk = gk;
    inputScript.pushBefore = {[] {
                                  PushKeyChange(SDLK_ESCAPE, true);
                                  PushButton(SDL_BUTTON_LEFT, true, 1, 1);
                              },
                              [] {}};
    gk->System_SetState(GK_FRAMEFUNC, RecordingFrame);
    gk->System_Start();
    ASSERT_EQ(inputScript.frames.size(), 3u);
    EXPECT_EQ(inputScript.frames[1].key, GKK_LBUTTON);
    EXPECT_EQ(inputScript.frames[1].character, 27);
    inputScript = InputScript();
}

// A tap (press and release before the next frame) reads as held for one frame,
// then released: the GUI sees every press go down and up, in order.
TEST_F(EngineTest, QuickTapsAreSeenDownThenUpFrameByFrame) {
    inputScript = InputScript();
    inputScript.gk = gk;
    auto tap = [](Uint8 button) {
        PushButton(button, true, 30, 40);
        PushButton(button, false, 30, 40);
    };
    inputScript.pushBefore = {
        [&] { tap(SDL_BUTTON_LEFT); },  // frame 1
        [&] {                           // frame 2
            tap(SDL_BUTTON_RIGHT);
            tap(SDL_BUTTON_MIDDLE);
        },
        [&] {  // frame 3: a double tap within one frame
            tap(SDL_BUTTON_LEFT);
            tap(SDL_BUTTON_LEFT);
        },
        [] {}, [] {}, [] {},  // frames 4 to 6
    };
    gk->System_SetState(GK_FRAMEFUNC, RecordingFrame);
    gk->System_Start();
    ASSERT_EQ(inputScript.frames.size(), 7u);
    auto buttons = [](const Seen& s) { return std::vector<bool>{s.left, s.right, s.middle}; };
    const std::vector<std::vector<bool>> expected = {
        {false, false, false}, {true, false, false}, {false, true, true}, {true, false, false},
        {false, false, false}, {true, false, false}, {false, false, false}};
    const std::vector<int> keys = {0, GKK_LBUTTON, GKK_MBUTTON, GKK_LBUTTON, 0, GKK_LBUTTON, 0};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(buttons(inputScript.frames[i]), expected[i]) << "frame " << i;
        EXPECT_EQ(inputScript.frames[i].key, keys[i]) << "frame " << i;
    }
    inputScript = InputScript();
}

TEST_F(EngineTest, ModifiersEditingAndFunctionKeysReachTheGame) {
    inputScript = InputScript();
    inputScript.gk = gk;
    inputScript.pushBefore = {
        [] {  // frame 1
            PushKeyChange(SDLK_LSHIFT, true);
            PushKeyChange(SDLK_RCTRL, true);
            PushKeyChange(SDLK_LALT, true);
            PushKeyChange(SDLK_BACKSPACE, true);
        },
        [] {  // frame 2: the other Shift goes down, then the first comes up
            PushKeyChange(SDLK_RSHIFT, true);
            PushKeyChange(SDLK_LSHIFT, false);
            PushKeyChange(SDLK_DELETE, true);
        },
        [] {  // frame 3
            PushKeyChange(SDLK_RSHIFT, false);
            PushKeyChange(SDLK_RCTRL, false);
            PushKeyChange(SDLK_F1, true);
        },
        [] {  // frame 4
            PushKeyChange(SDLK_LALT, false);
            PushKeyChange(SDLK_F11, true);
        },
    };
    gk->System_SetState(GK_FRAMEFUNC, RecordingFrame);
    gk->System_Start();
    ASSERT_EQ(inputScript.frames.size(), 5u);
    const auto& f = inputScript.frames;
    auto modifiers = [](const Seen& s) { return std::vector<bool>{s.shift, s.control, s.alt}; };
    EXPECT_EQ(f[1].key, GKK_BACKSPACE);
    EXPECT_EQ(f[1].character, 8);
    EXPECT_EQ(modifiers(f[1]), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(f[2].key, GKK_DELETE);
    EXPECT_EQ(modifiers(f[2]), (std::vector<bool>{true, true, true})) << "the right Shift is still down";
    EXPECT_EQ(f[3].key, GKK_F1);
    EXPECT_EQ(modifiers(f[3]), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(f[4].key, GKK_F11);
    EXPECT_EQ(modifiers(f[4]), (std::vector<bool>{false, false, false}));
    inputScript = InputScript();
}
