#pragma once

#include <string>

#include "base/WinApi.h"
#include "platform/Platform.h"

// Installs the Win32 implementations of the seams in Platform.h: system colours (GetSysColor),
// timers (SetTimer on this thread, callbacks through Dispatch), the system clock and the shell
// (ShellExecuteA).
// TApplication does it when it is created; a test that records shell opens installs its
// recorder afterwards.
void InstallWin32Platform();

// The full path of the running executable (any length).
std::string ExecutablePath();

// The canvas of a device context.
class TGdiCanvas : public TCanvas {
public:
    explicit TGdiCanvas(HDC dc) : dc_(dc) {}

    void FillRect(const TRect& rect, TColor color) override;
    void FillEllipse(const TRect& bounds, TColor color) override;
    void FillPolygon(const std::vector<TPoint>& points, TColor color) override;
    void TextRect(const TRect& bounds, const std::string& text, TColor color) override;

    HDC Dc() const { return dc_; }

private:
    HDC dc_;
};
