#include "play/input/frame_input.h"

FrameInput ReadFrameInput(GK& gk) {
    FrameInput input;
    input.key = gk.Input_GetKey();
    input.presses = gk.Input_GetKeyPresses(&input.count);
    if (input.presses == nullptr || input.count < 0) input.count = 0;
    input.mouseOver = gk.Input_IsMouseOver();
    if (input.mouseOver) gk.Input_GetMousePos(&input.px, &input.py);
    return input;
}
