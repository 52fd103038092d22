// What every test of this program starts from: a private runtime folder for the frame
// lock (support/runtime_folder.h).
#include "support/runtime_folder.h"

namespace {
[[maybe_unused]] ::testing::Environment* const runtimeFolder =
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);
}  // namespace
