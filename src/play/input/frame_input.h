// The input of one frame, read from the engine once at the frame's start and handed to
// every screen and aid that acts on it: the frame's key (the last key or button
// pressed), every key press of the frame in order with its character and modifiers,
// and the pointer. Nothing else reads the frame's key presses from the engine, so all
// of them see the same frame. Owns nothing: the presses are the engine's, valid for
// the frame.
#pragma once

#include "engine/gk.h"

struct FrameInput {
    int key = 0;                          // Input_GetKey, mouse buttons included
    const gkKeyPress* presses = nullptr;  // in the order they came
    int count = 0;
    bool mouseOver = false;  // the pointer is in the window; (px, py) only then
    float px = 0, py = 0;
};

FrameInput ReadFrameInput(GK& gk);
