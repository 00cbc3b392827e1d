#pragma once

#include <cstdint>

#include "platform/Platform.h"

// Where the message box puts its text and its OK button: the text wraps at half the screen
// width; margins of 12 pixels around, 12 between the text and the button below it; the button,
// 75 x 25, centred; the box at least as wide as the button.
struct TMessageLayout {
    TRect text;
    TRect button;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
};

// The widest the text may be before it wraps.
int32_t MessageTextMaxWidth(int32_t screenWidth);
// The layout for a text that measured textWidth x textHeight at that width.
TMessageLayout MessageBoxLayout(int32_t textWidth, int32_t textHeight);
