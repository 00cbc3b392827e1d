#pragma once

#include <cstdint>

#include "base/WinApi.h"
#include "controls/JvBehaviorLabel.h"
#include "platform/Platform.h"

// The Win32 part of a behaviour label: a static text whose window text is always the label's
// Caption, so reading it (WM_GETTEXT, as a script or a screen reader does) never gives the partly
// typed text, and which paints DisplayText() itself, the way a static text paints its own text.
// A running behaviour therefore changes the picture only. The window is sized to the caption
// (auto size); with an empty caption there is no text to measure and it keeps its designed size.
class TJvBehaviorLabelWindow {
public:
    TJvBehaviorLabelWindow(TJvBehaviorLabel& label, HWND parent, const TRect& designed, HFONT font);
    ~TJvBehaviorLabelWindow();
    TJvBehaviorLabelWindow(const TJvBehaviorLabelWindow&) = delete;
    TJvBehaviorLabelWindow& operator=(const TJvBehaviorLabelWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    void Repaint();
    void Paint(HDC dc);

    TJvBehaviorLabel& label_;
    HWND handle_ = nullptr;
    HFONT font_;
    TRect designed_;
};
