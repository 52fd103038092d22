// Entry point: `--version` prints the version and ends; otherwise makes the frame
// lock, then runs the game. Every other argument is ignored.
#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "app/states.h"

namespace {

bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForVersion(argc, argv)) {
        std::printf("veltrane-sudoku %s\n", VELTRANE_VERSION);
        return 0;
    }
    try {
        CreateFrameLock();
    } catch (const CGenericException&) {
        std::fputs("Can't create mutex\n", stderr);
        return 1;
    }
    return RunGame();
}
