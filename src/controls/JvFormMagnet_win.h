#pragma once

#include <functional>
#include <vector>

#include "base/WinApi.h"
#include "controls/JvFormMagnet.h"

// The magnet on a window: it sees the window's moving notification (WM_MOVING) before the
// window's own procedure, adjusts the proposed rectangle and passes the message on.
class TJvFormMagnetWin : public TJvFormMagnetHost {
public:
    using TWindowList = std::function<std::vector<HWND>()>;
    using TMainWindow = std::function<HWND()>;

    // forms: the application's windows, visible or hidden (default: the top-level windows of
    // this thread); mainForm: the application's main window (default: none).
    explicit TJvFormMagnetWin(HWND form, TWindowList forms = {}, TMainWindow mainForm = {});
    ~TJvFormMagnetWin() override;
    TJvFormMagnetWin(const TJvFormMagnetWin&) = delete;
    TJvFormMagnetWin& operator=(const TJvFormMagnetWin&) = delete;

    TJvFormMagnet& Magnet() { return magnet_; }

    // TJvFormMagnetHost
    TRect WorkArea() override;
    int32_t FormCount() override;
    TRect FormBounds(int32_t index) override;
    void SetFormLeft(int32_t index, int32_t left) override;
    void SetFormTop(int32_t index, int32_t top) override;
    std::optional<TRect> MainFormBounds() override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);

    HWND form_;
    TWindowList forms_;
    TMainWindow mainForm_;
    std::vector<HWND> snapshot_;  // the forms during one notification
    TJvFormMagnet magnet_;
};
