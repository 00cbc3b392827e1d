#pragma once

#include <cstdint>

#include "base/WinApi.h"
#include "controls/JvBehaviorLabel.h"

// The Win32 part of a behaviour label: a static text that shows what the label paints
// (DisplayText) and sizes itself to the caption.
class TJvBehaviorLabelWindow {
public:
    TJvBehaviorLabelWindow(TJvBehaviorLabel& label, HWND parent, int32_t left, int32_t top,
                           HFONT font);
    ~TJvBehaviorLabelWindow();
    TJvBehaviorLabelWindow(const TJvBehaviorLabelWindow&) = delete;
    TJvBehaviorLabelWindow& operator=(const TJvBehaviorLabelWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    void Repaint();

    TJvBehaviorLabel& label_;
    HWND handle_ = nullptr;
    HFONT font_;
    int32_t left_;
    int32_t top_;
};
