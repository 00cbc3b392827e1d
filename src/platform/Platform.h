#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the windows' logic needs from the windowing system, without naming it: colours, a canvas,
// a timer, a clock and the shell. The Win32 program installs the real ones (InstallWin32Platform
// in Platform_win.h, called by TApplication); native tests install fakes (tests/support/Fake*.h).
// A system colour, timer, clock or shell used while none is installed throws std::logic_error.

// ---- Colour values -------------------------------------------------------------------------
// A non-negative value is red in bits 0-7, green in 8-15, blue in 16-23. A value with the top
// bit set names a system colour by its low byte. clNone means no colour.
using TColor = int32_t;

constexpr TColor RgbColor(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}
constexpr TColor SystemColor(uint8_t index) {
    return static_cast<TColor>(0x80000000u | index);
}
constexpr bool IsSystemColor(TColor color) {
    return color < 0;
}
constexpr uint8_t RedOf(TColor rgb) {
    return static_cast<uint8_t>(rgb & 0xFF);
}
constexpr uint8_t GreenOf(TColor rgb) {
    return static_cast<uint8_t>((rgb >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(TColor rgb) {
    return static_cast<uint8_t>((rgb >> 16) & 0xFF);
}

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = RgbColor(0, 0, 0);
constexpr TColor clBlue = RgbColor(0, 0, 255);
constexpr TColor clSkyBlue = RgbColor(166, 202, 240);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clHotLight = SystemColor(26);

// The RGB value of a colour: system colours through the installed lookup, others with the top
// byte cleared.
TColor ColorToRgb(TColor color);
using TSystemColorFunction = std::function<TColor(int32_t index)>;
void SetSystemColorFunction(TSystemColorFunction function);  // empty: none

// ---- Geometry ------------------------------------------------------------------------------
struct TPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// A rectangle given as the layout tables give it: left, top, width, height.
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return TRect{left, top, left + width, top + height};
}

// Where a window of `length` pixels starts so that it is centred on a screen of `screen` pixels
// (left or top edge); never before the screen's own edge.
constexpr int32_t CenteredOnScreen(int32_t length, int32_t screen) {
    return screen > length ? (screen - length) / 2 : 0;
}

// ---- Canvas --------------------------------------------------------------------------------
// A drawing surface. Colours may be system colours; the canvas resolves them with ColorToRgb.
class TCanvas {
public:
    virtual ~TCanvas() = default;
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    virtual void FillEllipse(const TRect& bounds, TColor color) = 0;
    virtual void FillPolygon(const std::vector<TPoint>& points, TColor color) = 0;
    virtual void TextRect(const TRect& bounds, const std::string& text, TColor color) = 0;
};

// ---- Timer ---------------------------------------------------------------------------------
// Fires OnTimer on the user-interface thread every Interval milliseconds while enabled.
class TPlatformTimer {
public:
    virtual ~TPlatformTimer() = default;
    virtual void Start(uint32_t intervalMs) = 0;  // restarts the period when running
    virtual void Stop() = 0;
    std::function<void()> onTimer;
};
using TTimerFactory = std::function<std::unique_ptr<TPlatformTimer>()>;
void SetTimerFactory(TTimerFactory factory);  // empty: none
std::unique_ptr<TPlatformTimer> CreatePlatformTimer();

// ---- Clock ---------------------------------------------------------------------------------
class TClock {
public:
    virtual ~TClock() = default;
    virtual int64_t NowMs() = 0;           // monotonic milliseconds
    virtual int64_t UtcTimeOfDayMs() = 0;  // milliseconds since midnight, UTC
};
void SetClock(TClock* clock);  // nullptr: none
TClock& Clock();
// The steady and the UTC clock of the standard library (what the program installs).
TClock& SystemClock();

// ---- Shell ---------------------------------------------------------------------------------
// Opens a document or URL with its default handler; the result is not examined.
struct TShellOpenRequest {
    void* ownerWindow = nullptr;  // a window handle, or none
    std::string verb;             // "open"
    std::string file;
    std::string parameters;
    std::string directory;
    int32_t showCommand = 5;  // show normally
};
using TShellOpenFunction = std::function<void(const TShellOpenRequest&)>;
// Installs the shell (tests record instead of launching); returns the previous function.
TShellOpenFunction SetShellOpenFunction(TShellOpenFunction function);
void ShellOpen(const TShellOpenRequest& request);
