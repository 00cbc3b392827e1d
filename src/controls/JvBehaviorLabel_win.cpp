#include "controls/JvBehaviorLabel_win.h"

#include <string>

#include "platform/Gdi_win.h"

namespace {

SIZE TextSize(HWND window, HFONT font, const std::string& text) {
    TWindowDC dc(window);
    TSelection selection(dc, font);
    return TextExtent(dc, text);
}

}  // namespace

TJvBehaviorLabelWindow::TJvBehaviorLabelWindow(TJvBehaviorLabel& label, HWND parent, int32_t left,
                                               int32_t top, HFONT font)
    : label_(label), font_(font), left_(left), top_(top) {
    handle_ = CreateWindowExA(0, "STATIC", label.DisplayText().c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, left, top, 0, 0,
                              parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    label_.SetOnRepaint([this](TJvBehaviorLabel&) { Repaint(); });
    Repaint();
}

TJvBehaviorLabelWindow::~TJvBehaviorLabelWindow() {
    label_.SetOnRepaint(nullptr);
    if (IsWindow(handle_)) {
        DestroyWindow(handle_);
    }
}

void TJvBehaviorLabelWindow::Repaint() {
    // Sized to the caption, so the typed-out text never needs more room than the final one.
    const SIZE size = TextSize(handle_, font_, label_.Caption());
    SetWindowPos(handle_, nullptr, left_, top_, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(handle_, label_.DisplayText().c_str());
    UpdateWindow(handle_);
}
