#include "platform/Platform.h"

#include <chrono>
#include <stdexcept>

namespace {

// A service used before one is installed is a fault of the program (or of a test that forgot its
// fake): it must not pass unnoticed by doing nothing.
[[noreturn]] void NotInstalled(const char* what) {
    throw std::logic_error(std::string("platform: no ") + what + " installed");
}

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
    if (!function) {
        NotInstalled("system colour lookup");
    }
    return function(index) & 0x00FFFFFF;
}

void SetSystemColorFunction(TSystemColorFunction function) {
    SystemColorFunction() = std::move(function);
}

void SetTimerFactory(TTimerFactory factory) {
    TimerFactory() = std::move(factory);
}

std::unique_ptr<TPlatformTimer> CreatePlatformTimer() {
    const auto& factory = TimerFactory();
    if (!factory) {
        NotInstalled("timer factory");
    }
    return factory();
}

void SetClock(TClock* clock) {
    InstalledClock() = clock;
}

TClock& Clock() {
    TClock* clock = InstalledClock();
    if (clock == nullptr) {
        NotInstalled("clock");
    }
    return *clock;
}

TClock& SystemClock() {
    static TSystemClock clock;
    return clock;
}

TShellOpenFunction SetShellOpenFunction(TShellOpenFunction function) {
    TShellOpenFunction previous = std::move(ShellFunction());
    ShellFunction() = std::move(function);
    return previous;
}

void ShellOpen(const TShellOpenRequest& request) {
    const auto& function = ShellFunction();
    if (!function) {
        NotInstalled("shell");
    }
    function(request);
}
