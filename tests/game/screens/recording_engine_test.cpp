// The recording engine itself: references, file loading like the real engine, what it
// records, and how scripted input is played frame by frame.
#include "support/recording_engine.h"

#include <gtest/gtest.h>

#include "support/recorder_fixture.h"
#include "support/test_files.h"

namespace {

using RecordingEngineTest = RecorderTest;

TEST_F(RecordingEngineTest, CountsReferencesOnlyForTheSupportedVersion) {
    EXPECT_EQ(gkCreate(0x150), nullptr);
    const int before = engine.references;
    GK* first = gkCreate(GK_VERSION);
    GK* second = gkCreate(GK_VERSION);
    EXPECT_EQ(first, &engine);
    EXPECT_EQ(second, first);
    EXPECT_EQ(engine.references, before + 2);
    first->Release();
    second->Release();
    EXPECT_EQ(engine.references, before);
}

TEST_F(RecordingEngineTest, LoadsFilesByAbsolutePathOrFromTheCurrentFolder) {
    TempFolder folder;
    WriteTextFile(folder.File("notes.txt"), "abc");
    WriteImage(folder.File("picture.png"), 7, 5);
    WriteImage(folder.File("picture.bmp"), 3, 2);
    WriteTextFile(folder.File("not_an_image.png"), "plain text");

    std::uint32_t size = 99;
    void* block = engine.Resource_Load(folder.File("notes.txt").c_str(), &size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(static_cast<const char*>(block), size), "abc");
    EXPECT_EQ(engine.liveResources, 1);
    engine.Resource_Free(block);

    CurrentFolder inside(folder.Path());
    EXPECT_EQ(engine.Resource_Load("missing.txt", &size), nullptr);
    EXPECT_EQ(size, 0u);
    const HTEXTURE png = engine.Texture_Load("picture.png", 0, false);
    const HTEXTURE bmp = engine.Texture_Load("picture.bmp", 0, false);
    ASSERT_NE(png, 0u);
    ASSERT_NE(bmp, 0u);
    EXPECT_EQ(engine.Texture_GetWidth(png, false), 7);
    EXPECT_EQ(engine.Texture_GetHeight(png, false), 5);
    EXPECT_EQ(engine.Texture_GetWidth(bmp, false), 3);
    EXPECT_EQ(engine.textures.at(png).name, "picture.png");
    EXPECT_EQ(engine.Texture_Load("not_an_image.png", 0, false), 0u);
    EXPECT_EQ(engine.Texture_Load("missing.png", 0, false), 0u);
    EXPECT_EQ(engine.Texture_GetWidth(9999, false), 0);
    engine.Texture_Free(png);
    engine.Texture_Free(bmp);
}

TEST_F(RecordingEngineTest, LoadsOnlyNonEmptyWavFilesAsSoundEffects) {
    TempFolder folder;
    WriteWav(folder.File("click.wav"));
    WriteTextFile(folder.File("empty.wav"), "");
    WriteTextFile(folder.File("text.wav"), "not a sound");

    const HEFFECT click = engine.Effect_Load(folder.File("click.wav").c_str(), 0);
    EXPECT_NE(click, 0u);
    EXPECT_EQ(engine.Effect_Load(folder.File("empty.wav").c_str(), 0), 0u);
    EXPECT_EQ(engine.Effect_Load(folder.File("text.wav").c_str(), 0), 0u);
    EXPECT_EQ(engine.Effect_Load(folder.File("missing.wav").c_str(), 0), 0u);

    engine.Effect_Play(click);
    EXPECT_EQ(engine.soundsPlayed, std::vector<HEFFECT>{click});
    engine.Effect_Free(click);
}

TEST_F(RecordingEngineTest, CountsFreesOfThingsNeverLoaded) {
    engine.Texture_Free(4242);
    engine.Effect_Free(4242);
    int local = 0;
    engine.Resource_Free(&local);
    EXPECT_EQ(engine.invalidFrees, 3);
    engine.invalidFrees = 0;
}

TEST_F(RecordingEngineTest, RecordsStatesLogLinesAndTheQuadsOfTheCurrentScene) {
    engine.System_SetState(GK_TITLE, "Quorvel");
    engine.System_SetState(GK_SCREENWIDTH, 800);
    engine.System_SetState(GK_WINDOWED, true);
    const std::vector<std::pair<int, std::string>> expected = {{7, "Quorvel"}, {8, "800"}, {11, "true"}};
    EXPECT_EQ(engine.states, expected);
    EXPECT_EQ(engine.title, "Quorvel");

    engine.System_Log("Font %s has incorrect format.", "a.fnt");
    EXPECT_EQ(engine.logLines, std::vector<std::string>{"Font a.fnt has incorrect format."});

    Quad quad{};
    engine.Gfx_BeginScene(0);
    engine.Gfx_RenderQuad(&quad);
    engine.Gfx_RenderQuad(&quad);
    engine.Gfx_EndScene();
    EXPECT_EQ(engine.quads.size(), 2u);
    EXPECT_EQ(engine.scenes, 1);
    engine.Gfx_BeginScene(0);
    EXPECT_TRUE(engine.quads.empty());
}

// Frame callbacks for the frame-loop tests: they note what the engine reported.
int framesSeen = 0;
std::vector<int> keysSeen;
bool NoteFrame() {
    ++framesSeen;
    keysSeen.push_back(RecordingEngine::Instance().Input_GetKey());
    return RecordingEngine::Instance().Input_GetChar() == 'q';
}
bool DrawNothing() {
    return false;
}

class FrameLoopTest : public RecorderTest {
protected:
    FrameLoopTest() {
        framesSeen = 0;
        keysSeen.clear();
        engine.System_SetState(GK_FRAMEFUNC, &NoteFrame);
        engine.System_SetState(GK_RENDERFUNC, &DrawNothing);
    }
};

TEST_F(FrameLoopTest, KeysAndWheelCountOnlyInTheFrameTheyAreGivenFor) {
    InputFrame press;
    press.key = GKK_ENTER;
    press.wheel = 2;
    press.left = true;
    engine.RunFrame(press);
    EXPECT_EQ(engine.Input_GetKey(), 0);
    EXPECT_EQ(engine.Input_GetMouseWheel(), 0);
    EXPECT_TRUE(engine.Input_GetKeyState(GKK_LBUTTON));  // a held button stays held
    EXPECT_EQ(keysSeen, std::vector<int>{GKK_ENTER});
}

TEST_F(FrameLoopTest, StartPlaysTheScriptThenTheDriverUntilTheFrameCallbackEnds) {
    InputFrame frame;
    frame.key = GKK_SPACE;
    engine.script.push_back(frame);
    engine.script.push_back(InputFrame{});
    int driven = 0;
    engine.driver = [&](RecordingEngine&, InputFrame& input) {
        if (++driven == 3) input.character = 'q';
        return true;
    };
    int after = 0;
    engine.afterFrame = [&](RecordingEngine&) { ++after; };
    engine.System_Start();
    EXPECT_EQ(framesSeen, 5);
    EXPECT_EQ(after, 5);
    EXPECT_EQ(keysSeen, (std::vector<int>{GKK_SPACE, 0, 0, 0, 0}));
}

TEST_F(FrameLoopTest, StartEndsWhenTheScriptRunsOutOrAtTheFrameLimit) {
    engine.script.resize(3);
    engine.System_Start();
    EXPECT_EQ(framesSeen, 3);

    engine.maxFrames = 4;
    engine.driver = [](RecordingEngine&, InputFrame&) { return true; };
    engine.System_Start();
    EXPECT_EQ(framesSeen, 7);
    EXPECT_EQ(engine.startCalls, 2);
}

}  // namespace
