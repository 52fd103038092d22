// What every test of this program starts from, wherever it was started: the build
// folder as the current folder (the tests read the game's data files by name, as the
// game does from its own folder) and a private runtime folder (support/runtime_folder.h).
#include <unistd.h>

#include "platform/module_directory.h"
#include "support/runtime_folder.h"

namespace {

class BuildFolderAsCurrent : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(chdir(GetModuleDirectory().c_str()), 0); }
};

[[maybe_unused]] ::testing::Environment* const buildFolder =
    ::testing::AddGlobalTestEnvironment(new BuildFolderAsCurrent);
[[maybe_unused]] ::testing::Environment* const runtimeFolder =
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

}  // namespace
