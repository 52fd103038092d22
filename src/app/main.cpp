// Entry point: makes the frame lock, then runs the game. The arguments are ignored.
#include <cstdio>

#include "app/startup.h"
#include "app/states.h"

int main() {
    try {
        CreateFrameLock();
    } catch (const CGenericException&) {
        std::fputs("Can't create mutex\n", stderr);
        return 1;
    }
    return RunGame();
}
