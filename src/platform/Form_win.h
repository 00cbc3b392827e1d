#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/WinApi.h"
#include "platform/Platform.h"
#include "platform/Window_win.h"

// A top-level window of the program. The object holds everything the window will be (frame,
// caption, colour, menu, icon) from its construction; the platform window itself is made when
// first needed: at the first Handle(), which Show and every control helper call. A window that
// starts hidden and is never reached costs nothing at start-up. Derived windows create their
// controls in their constructor, or when first needed (CreateControlsOnFirstNeed), with the
// helpers of Controls_win.h, and register handlers with OnCommand; every handler runs through
// Dispatch, so an escaping exception lands in the error box.
enum class TBorderStyle {
    kToolWindow,  // narrow caption with only a close box; not resizable
    kDialog,      // dialog frame with a close box; not resizable
};

struct TFormParams {
    const char* className = "TForm";  // window class, registered on first use
    std::string caption;
    TBorderStyle border = TBorderStyle::kToolWindow;
    int32_t left = 0;  // screen position of the outer frame
    int32_t top = 0;
    bool centerOnScreen = false;  // instead of left/top
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    TColor color = clBtnFace;
    HMENU menu = nullptr;  // the window takes it over
    HWND owner = nullptr;  // secondary windows: the main window
    int32_t iconId = 0;    // resource id of the window icon, 0: none
};

class TForm : public TWindow {
public:
    explicit TForm(const TFormParams& params);
    ~TForm() override;

    // The platform window, made now if it was not yet needed.
    HWND Handle();
    // True once the platform window exists (asking does not make it).
    bool HandleAllocated() const { return TWindow::Handle() != nullptr; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Makes the window visible without modality and brings it to the front. When it was hidden,
    // onShow runs first (through Dispatch), before the window appears; if that ended the
    // program, the window stays hidden.
    void Show();
    void Hide();
    bool Visible() const;
    // The close box and Close: the main window ends the program, any other window hides.
    void Close();

    // Runs on every change from hidden to shown, before the window appears.
    std::function<void()> onShow;
    // Paints the client background instead of the plain colour (the gradient uses it).
    std::function<void(HDC dc, const RECT& client)> onPaintBackground;

    // The handler for a menu item or a button (WM_COMMAND with this id, notification 0).
    void OnCommand(int32_t id, std::function<void()> handler);

    // The background behind a static text or read-only edit: clNone makes it transparent.
    // Without an entry, statics take the window's colour and read-only edits clWindow.
    void SetControlColor(HWND control, TColor color);
    // An arrow pointer over the control instead of its own (the log).
    void SetArrowCursor(HWND control);
    // A lowered (or raised) one-pixel rectangular frame painted on the window.
    void AddBevel(const TRect& bounds, bool lowered = true);
    // The control that gets the keyboard focus when the window is activated.
    void SetFocusControl(HWND control) { focus_ = control; }

protected:
    // Derived windows override this to see messages first; call TForm::WndProc for the rest.
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A window that starts hidden builds its controls when they are first needed instead of at
    // start-up, so the main window appears sooner: `create` runs once, when the window is first
    // shown (before it appears) or at the first EnsureControls, which the window's accessors
    // and handlers call before they reach a control.
    void CreateControlsOnFirstNeed(std::function<void()> create);
    void EnsureControls();
    // A control member after EnsureControls, for one-line accessors.
    template <class T>
    T& Built(T& control) {
        EnsureControls();
        return control;
    }

private:
    void CreateHandle();
    HBRUSH BrushFor(TColor color);
    LRESULT ControlColor(HDC dc, HWND control);
    void PaintBevels(HDC dc);

    struct TBevel {
        TRect bounds;
        bool lowered;
    };

    TFormParams params_;
    bool handleMade_ = false;  // made once; never again after the window is gone
    TColor color_;
    HWND focus_ = nullptr;
    std::function<void()> createControls_;
    std::map<int32_t, std::function<void()>> commands_;
    std::map<HWND, TColor> controlColors_;
    std::vector<HWND> arrowCursorControls_;
    std::vector<TBevel> bevels_;
    std::map<TColor, HBRUSH> brushes_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};
