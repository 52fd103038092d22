// Test fixture base for tests that run game code against the recording engine: starts each
// test with a clean recording and checks at the end that every engine reference, resource
// block, texture and sound effect taken during the test was given back. The data folder a
// test points the engine at is forgotten at the end, even when the test stopped half-way.
#pragma once

#include <gtest/gtest.h>

#include "support/recording_engine.h"

class RecorderTest : public ::testing::Test {
protected:
    RecorderTest()
        : engine(RecordingEngine::Instance()),
          referencesAtStart(engine.references),
          resourcesAtStart(engine.liveResources),
          texturesAtStart(engine.LiveTextures()),
          effectsAtStart(engine.effects.size()) {
        engine.ResetRecording();
    }
    // Runs after the derived fixture's members are gone, so they are counted too.
    ~RecorderTest() override {
        EXPECT_EQ(engine.references, referencesAtStart) << "engine references not released";
        EXPECT_EQ(engine.liveResources, resourcesAtStart) << "Resource_Load blocks not freed";
        EXPECT_EQ(engine.LiveTextures(), texturesAtStart) << "textures not freed";
        EXPECT_EQ(engine.effects.size(), effectsAtStart) << "sound effects not freed";
        EXPECT_EQ(engine.invalidFrees, 0) << "something freed twice or never loaded";
        engine.dataFolder.clear();
    }

    RecordingEngine& engine;

private:
    int referencesAtStart;
    int resourcesAtStart;
    int texturesAtStart;
    std::size_t effectsAtStart;
};
