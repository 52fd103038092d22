#include "engine/sdl/frame/frame_demand.h"

#include <algorithm>

void FrameDemand::Ask(double now, double seconds) {
    asked = std::min(asked, now + std::max(seconds, 0.0));
}

void FrameDemand::FrameEnded(double now, bool drewNew, bool input, double period) {
    deadline = asked;
    asked = kNoDeadline;
    const bool ranOutOfWait = Waiting();
    if (input || deadline <= now + period || (drewNew && !ranOutOfWait)) {
        still = 0;
    } else if (still < kStillFrames) {
        ++still;
    }
}
