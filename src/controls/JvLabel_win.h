#pragma once

#include <functional>

#include "base/WinApi.h"
#include "controls/JvLabel.h"
#include "platform/Dispatch_win.h"
#include "platform/Window_win.h"

// The label as a child window: it paints through TJvLabel, reports pointer enter and leave
// (TrackMouseEvent), and turns a left press and release over it into a click. The label starts
// loading: set its stored values, then call Label().Loaded() to size it.
class TJvLabelWin : public TWindow, public TJvLabelHost, public TJvTextMeasurer {
public:
    TJvLabelWin(HWND parent, int32_t left, int32_t top, int32_t width, int32_t height);
    ~TJvLabelWin() override;

    TJvLabel& Label() { return label_; }
    // Runs the label's events (click with its URL open, pointer enter and leave, enable, show).
    // By default (and when emptied) the dispatcher: an escaping exception is shown in the error
    // box and never leaves the window procedure. A test may run them itself.
    std::function<void(const std::function<void()>&)> runEvent = Dispatch;

    // TJvLabelHost
    void Invalidate() override;
    void BoundsChanged() override;
    bool PointerOverLabel() override;
    bool ApplicationActive() override;
    TJvTextMeasurer& Measurer() override { return *this; }
    // TJvTextMeasurer
    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RunEvent(const std::function<void()>& event);

    TJvLabel label_;
    bool created_ = false;  // messages sent while CreateWindowExA runs go to DefWindowProcA
    bool tracking_ = false;
    bool pressed_ = false;
};

// Creates the platform font for a label font (the caller deletes it).
HFONT CreateLabelFont(const TJvFont& font);
