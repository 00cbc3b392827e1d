#include "platform/Platform.h"

#include <chrono>

namespace {

// The usual Windows defaults, for logic run without a windowing system.
TColor DefaultSystemColor(int32_t index) {
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

class TInertTimer : public TPlatformTimer {
public:
    void Start(uint32_t) override {}
    void Stop() override {}
};

class TSystemClock : public TClock {
public:
    int64_t NowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    int64_t UtcTimeOfDayMs() override {
        using namespace std::chrono;
        const int64_t ms =
            duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
        return ms % (24 * 60 * 60 * 1000);
    }
};

TSystemColorFunction& SystemColorFunction() {
    static TSystemColorFunction function;
    return function;
}

TTimerFactory& TimerFactory() {
    static TTimerFactory factory;
    return factory;
}

TClock*& InstalledClock() {
    static TClock* clock = nullptr;
    return clock;
}

TShellOpenFunction& ShellFunction() {
    static TShellOpenFunction function;
    return function;
}

}  // namespace

TColor ColorToRgb(TColor color) {
    if (!IsSystemColor(color)) {
        return color & 0x00FFFFFF;
    }
    const int32_t index = color & 0xFF;
    const auto& function = SystemColorFunction();
    return (function ? function(index) : DefaultSystemColor(index)) & 0x00FFFFFF;
}

void SetSystemColorFunction(TSystemColorFunction function) {
    SystemColorFunction() = std::move(function);
}

void SetTimerFactory(TTimerFactory factory) {
    TimerFactory() = std::move(factory);
}

std::unique_ptr<TPlatformTimer> CreatePlatformTimer() {
    const auto& factory = TimerFactory();
    return factory ? factory() : std::make_unique<TInertTimer>();
}

void SetClock(TClock* clock) {
    InstalledClock() = clock;
}

TClock& Clock() {
    static TSystemClock systemClock;
    TClock* clock = InstalledClock();
    return clock != nullptr ? *clock : systemClock;
}

TShellOpenFunction SetShellOpenFunction(TShellOpenFunction function) {
    TShellOpenFunction previous = std::move(ShellFunction());
    ShellFunction() = std::move(function);
    return previous;
}

void ShellOpen(const TShellOpenRequest& request) {
    const auto& function = ShellFunction();
    if (function) {
        function(request);
    }
}
