#pragma once

#include <functional>

#include "base/WinApi.h"
#include "controls/JvLabel.h"

// The label as a child window: it paints through TJvLabel, reports pointer enter and leave
// (TrackMouseEvent), and turns a left press and release over it into a click. The label starts
// loading: set its stored values, then call Label().Loaded() to size it.
class TJvLabelWin : public TJvLabelHost, public TJvTextMeasurer {
public:
    TJvLabelWin(HWND parent, int32_t left, int32_t top, int32_t width, int32_t height);
    ~TJvLabelWin() override;
    TJvLabelWin(const TJvLabelWin&) = delete;
    TJvLabelWin& operator=(const TJvLabelWin&) = delete;

    HWND Handle() const { return handle_; }
    TJvLabel& Label() { return label_; }
    // Runs the label's events (click with its URL open, pointer enter and leave, enable, show).
    // A window sets its dispatcher here so that an exception is shown in the error box; when
    // empty, an escaping exception is dropped. Either way none leaves the window procedure.
    std::function<void(const std::function<void()>&)> runEvent;

    // TJvLabelHost
    void Invalidate() override;
    void BoundsChanged() override;
    bool PointerOverLabel() override;
    bool ApplicationActive() override;
    TJvTextMeasurer& Measurer() override { return *this; }
    // TJvTextMeasurer
    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override;

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void RunEvent(const std::function<void()>& event);

    HWND handle_ = nullptr;
    TJvLabel label_;
    bool tracking_ = false;
    bool pressed_ = false;
};

// Creates the platform font for a label font (the caller deletes it).
HFONT CreateLabelFont(const TJvFont& font);
