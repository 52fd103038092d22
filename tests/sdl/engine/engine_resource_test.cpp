// Files through the real engine: where relative names are looked up, whole-file
// loading with its size, textures and sound effects that fail cleanly, silent
// sounds without an audio device, the log file, and the engine's references.
#include <sys/stat.h>

#include <cstring>

#include "engine/sdl/files/resource_files.h"
#include "sdl/engine_test_fixture.h"

namespace {

// A valid PCM WAV file: 16-bit mono, 8000 Hz, the given number of silent samples.
std::string WavBytes(int samples) {
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    auto le16 = [](std::uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples) * 2;
    return "RIFF" + le32(36 + dataBytes) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1) + le32(8000) +
           le32(16000) + le16(2) + le16(16) + "data" + le32(dataBytes) + std::string(dataBytes, '\0');
}

std::string LogText(const std::string& path) {
    return ReadFile(path);
}

}  // namespace

TEST(ResourceLookup, RelativeNamesTryTheExecutableFolderThenTheInstalledDataThenTheCurrentFolder) {
    EXPECT_EQ(ResourceCandidates("bgp.jpg", "/opt/game/bin/"),
              (std::vector<std::string>{"/opt/game/bin/bgp.jpg",
                                        "/opt/game/bin/../share/veltrane-sudoku/bgp.jpg", "bgp.jpg"}));
    EXPECT_EQ(ResourceCandidates("bgp.jpg", "/opt/game/bin"),
              (std::vector<std::string>{"/opt/game/bin/bgp.jpg",
                                        "/opt/game/bin/../share/veltrane-sudoku/bgp.jpg", "bgp.jpg"}));
    EXPECT_EQ(ResourceCandidates("bgp.jpg", ""), (std::vector<std::string>{"bgp.jpg"}));
    EXPECT_EQ(ResourceCandidates("/data/bgp.jpg", "/opt/game/bin/"),
              (std::vector<std::string>{"/data/bgp.jpg"}));
    EXPECT_TRUE(ResourceCandidates("", "/opt/game/bin/").empty());
}

TEST(ResourceLookup, FindsTheFirstRegularFileInOrder) {
    TempFolder temp;
    const std::filesystem::path bin = std::filesystem::path(temp.Path()) / "bin";
    const std::filesystem::path share = std::filesystem::path(temp.Path()) / "share" / "veltrane-sudoku";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    const std::string binDir = bin.string() + "/";
    WriteFile((share / "menu.wav").string(), "installed");
    EXPECT_EQ(FindResource("menu.wav", binDir), binDir + "../share/veltrane-sudoku/menu.wav");
    WriteFile((bin / "menu.wav").string(), "beside");
    EXPECT_EQ(FindResource("menu.wav", binDir), binDir + "menu.wav");
    // A folder of that name is not a file.
    std::filesystem::create_directories(bin / "folder-only.png");
    EXPECT_EQ(FindResource("folder-only.png", binDir), "");
    EXPECT_EQ(FindResource("no-such-file.png", binDir), "");
}

TEST(ResourceLookup, ReadWholeFileRefusesFilesAboveTheLimit) {
    TempFolder temp;
    const std::string path = temp.File("blob");
    WriteFile(path, std::string(100000, 'x'));
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes, 100000));
    EXPECT_EQ(bytes.size(), 100000u);
    EXPECT_FALSE(ReadWholeFile(path, bytes, 99999));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadWholeFile(temp.File("missing"), bytes));
    EXPECT_FALSE(ReadWholeFile(temp.Path(), bytes)) << "a folder cannot be read as a file";
    WriteFile(temp.File("empty"), "");
    EXPECT_TRUE(ReadWholeFile(temp.File("empty"), bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(EngineTest, ResourceLoadGivesTheWholeFileAndItsSize) {
    const std::string path = temp.File("text.fnt");
    WriteFile(path, std::string("abc\0def", 7));
    std::uint32_t size = 99;
    void* block = gk->Resource_Load(path.c_str(), &size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::memcmp(block, "abc\0def", 7), 0);
    EXPECT_EQ(static_cast<const char*>(block)[7], '\0') << "a zero byte follows the contents";
    gk->Resource_Free(block);
    gk->Resource_Free(nullptr);

    size = 99;
    EXPECT_EQ(gk->Resource_Load(temp.File("missing.fnt").c_str(), &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(gk->Resource_Load(nullptr, &size), nullptr);
    // The data files are found beside the executable, whatever the current folder.
    void* data = gk->Resource_Load("font1.fnt", &size);
    EXPECT_NE(data, nullptr);
    EXPECT_GT(size, 8u);
    gk->Resource_Free(data);
}

TEST_F(EngineTest, TexturesThatCannotBeDecodedGiveZeroAndALogLine) {
    WriteFile(temp.File("broken.png"), "\x89PNG but not really");
    EXPECT_EQ(gk->Texture_Load(temp.File("broken.png").c_str(), 0, false), 0u);
    EXPECT_EQ(gk->Texture_Load(temp.File("missing.png").c_str(), 0, false), 0u);
    // Only PNG, JPEG and BMP data are decoded, whatever the name says.
    WriteFile(temp.File("vector.png"), "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>");
    EXPECT_EQ(gk->Texture_Load(temp.File("vector.png").c_str(), 0, false), 0u);
    EXPECT_EQ(gk->Texture_GetWidth(0, false), 0);
    EXPECT_EQ(gk->Texture_GetHeight(12345, false), 0);
    gk->Texture_Free(0);
    const std::string log = LogText(logFile);
    EXPECT_NE(log.find("broken.png"), std::string::npos) << log;
    EXPECT_NE(log.find("vector.png: not a PNG, JPEG or BMP image"), std::string::npos) << log;
    EXPECT_NE(log.find("Can't load " + temp.File("missing.png")), std::string::npos) << log;
}

// With SDL_AUDIODRIVER=dummy the device opens; the test also holds where no
// device can be opened (then sounds play silently, as tested below).
TEST_F(EngineTest, SoundEffectsLoadAndPlayOnTheAudioDevice) {
    WriteFile(temp.File("beep.wav"), WavBytes(800));
    const HEFFECT effect = gk->Effect_Load(temp.File("beep.wav").c_str(), 0);
    ASSERT_NE(effect, 0u);
    EXPECT_EQ(gk->Effect_Play(effect) != 0, gkSdlAudioActive());
    const HEFFECT menu = gk->Effect_Load("menu.wav", 0);
    EXPECT_NE(menu, 0u);
    gk->Effect_Free(effect);
    EXPECT_EQ(gk->Effect_Play(effect), 0u) << "a freed sound does not play";
    WriteFile(temp.File("noise.wav"), "RIFF....WAVEnot a wave");
    EXPECT_EQ(gk->Effect_Load(temp.File("noise.wav").c_str(), 0), 0u);
    EXPECT_EQ(gk->Effect_Load(temp.File("missing.wav").c_str(), 0), 0u);
}

// Without an audio device a sound that decodes still loads and plays silently;
// a broken one still fails. Runs in a child process with no audio driver; returns
// what failed as bits, after its folder is gone (the child ends with exit).
namespace {
int SoundFailuresWithoutAudio() {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    TempFolder temp;
    WriteFile(temp.File("beep.wav"), WavBytes(800));
    WriteFile(temp.File("noise.wav"), "RIFF....WAVEnot a wave");
    GK* gk = gkCreate(GK_VERSION);
    int failures = 0;
    if (!gk->System_Initiate()) failures |= 1;
    const HEFFECT effect = gk->Effect_Load(temp.File("beep.wav").c_str(), 0);
    if (effect == 0) failures |= 2;
    if (gk->Effect_Play(effect) != 0 || gkSdlAudioActive()) failures |= 4;
    if (gk->Effect_Load(temp.File("noise.wav").c_str(), 0) != 0) failures |= 8;
    gk->System_Shutdown();
    gk->Release();
    return failures;
}
}  // namespace

TEST(EngineWithoutAudio, SoundsLoadAndPlaySilently) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(SoundFailuresWithoutAudio()), ::testing::ExitedWithCode(0), "");
}

TEST_F(EngineTest, LogAppendsOneLinePerCall) {
    const std::string before = LogText(logFile);
    EXPECT_NE(before.find("Engine started"), std::string::npos);
    gk->System_Log("Font %s has incorrect format.", "font1.fnt");
    gk->System_Log("second");
    EXPECT_EQ(LogText(logFile), before + "Font font1.fnt has incorrect format.\nsecond\n");
    // An existing log is appended to, not replaced.
    gk->System_SetState(GK_LOGFILE, logFile.c_str());
    gk->System_Log("third");
    EXPECT_EQ(LogText(logFile), before + "Font font1.fnt has incorrect format.\nsecond\nthird\n");
}

TEST(EngineReferences, OneInstancePerVersionUntilTheLastRelease) {
    TempFolder temp;
    EXPECT_EQ(gkCreate(0x150), nullptr);
    GK* first = gkCreate(GK_VERSION);
    GK* second = gkCreate(GK_VERSION);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    first->System_SetState(GK_LOGFILE, temp.File("refs.log").c_str());
    first->Release();
    second->System_Log("still alive");  // one reference left
    EXPECT_EQ(ReadFile(temp.File("refs.log")), "still alive\n");
    second->Release();
    // The last release destroyed the engine: a new one has no log file set.
    GK* fresh = gkCreate(GK_VERSION);
    ASSERT_NE(fresh, nullptr);
    fresh->System_Log("nowhere");
    EXPECT_EQ(ReadFile(temp.File("refs.log")), "still alive\n");
    fresh->Release();
}
