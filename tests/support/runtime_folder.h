// A runtime folder of the test program's own: for the program's run, $XDG_RUNTIME_DIR
// names a fresh private folder, so the frame lock taken by tests and by the games they
// start never meets a game the user is playing or another test run, and is removed at
// the end. Processes the tests start (death tests, copies of the game) inherit it.
// The session bus is left out too, so no desktop's theme reaches the games the tests run
// (the portal's own tests start a bus of their own).
// Each test program registers one with AddGlobalTestEnvironment.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

class PrivateRuntimeFolder : public ::testing::Environment {
public:
    void SetUp() override {
        // A death test's child runs the program again: it keeps its parent's folder.
        if (getenv(OwnerVariable) != nullptr) return;
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-test-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot create a runtime folder";
        folder = pattern;
        const char* old = getenv("XDG_RUNTIME_DIR");
        hadOld = old != nullptr;
        if (hadOld) oldValue = old;
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        setenv(OwnerVariable, folder.c_str(), 1);
    }
    void TearDown() override {
        if (folder.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        folder.clear();
        if (hadOld) {
            setenv("XDG_RUNTIME_DIR", oldValue.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        unsetenv(OwnerVariable);
    }

private:
    static constexpr const char* OwnerVariable = "VELTRANE_TEST_RUNTIME_FOLDER";
    std::string folder, oldValue;
    bool hadOld = false;
};
