// The tests of the real engine run on SDL's dummy video and audio drivers unless
// the environment names others, also when a test executable is started by hand:
// without a display the engine refuses an invisible driver that nobody named.
#include <stdlib.h>

namespace {

const bool driversNamed = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

}  // namespace
