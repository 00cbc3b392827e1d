#pragma once

#include <cstdint>

#include "platform/Platform.h"

// Installs a system colour lookup with the usual Windows defaults for its lifetime.
class FakeSystemColors {
public:
    FakeSystemColors() { SetSystemColorFunction(Default); }
    ~FakeSystemColors() { SetSystemColorFunction(nullptr); }
    FakeSystemColors(const FakeSystemColors&) = delete;
    FakeSystemColors& operator=(const FakeSystemColors&) = delete;

    static TColor Default(int32_t index) {
        switch (index) {
        case 5:  // window
            return RgbColor(255, 255, 255);
        case 8:  // window text
            return RgbColor(0, 0, 0);
        case 15:  // button face
            return RgbColor(240, 240, 240);
        case 17:  // grey text
            return RgbColor(109, 109, 109);
        case 20:  // button highlight
            return RgbColor(255, 255, 255);
        case 26:  // hot light
            return RgbColor(0, 102, 204);
        default:
            return RgbColor(0, 0, 0);
        }
    }
};
