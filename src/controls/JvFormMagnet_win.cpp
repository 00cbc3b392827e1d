#include "controls/JvFormMagnet_win.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x4D41474E;  // one magnet per window

TRect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

TRect WindowBounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return ToRect(r);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void MoveWindowTo(HWND window, int32_t left, int32_t top) {
    SetWindowPos(window, nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

}  // namespace

TJvFormMagnetWin::TJvFormMagnetWin(HWND form, TWindowList forms, TMainWindow mainForm)
    : form_(form), forms_(std::move(forms)), mainForm_(std::move(mainForm)) {
    if (!forms_) {
        forms_ = ThreadWindows;
    }
    if (form_ != nullptr) {
        SetWindowSubclass(form_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

TJvFormMagnetWin::~TJvFormMagnetWin() {
    if (form_ != nullptr && IsWindow(form_)) {
        RemoveWindowSubclass(form_, SubclassProc, kSubclassId);
    }
}

LRESULT CALLBACK TJvFormMagnetWin::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TJvFormMagnetWin*>(data);
    if (message == WM_MOVING && lParam != 0) {
        RECT* proposed = reinterpret_cast<RECT*>(lParam);
        TRect p = ToRect(*proposed);
        self->snapshot_ = self->forms_();
        self->magnet_.Moving(WindowBounds(window), p, *self);
        self->snapshot_.clear();
        *proposed = RECT{p.left, p.top, p.right, p.bottom};
        // Never consumed: the window's own handling runs as usual.
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, id);
        self->form_ = nullptr;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TRect TJvFormMagnetWin::WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

int32_t TJvFormMagnetWin::FormCount() {
    return static_cast<int32_t>(snapshot_.size());
}

TRect TJvFormMagnetWin::FormBounds(int32_t index) {
    return WindowBounds(snapshot_[static_cast<size_t>(index)]);
}

void TJvFormMagnetWin::SetFormLeft(int32_t index, int32_t left) {
    HWND window = snapshot_[static_cast<size_t>(index)];
    MoveWindowTo(window, left, WindowBounds(window).top);
}

void TJvFormMagnetWin::SetFormTop(int32_t index, int32_t top) {
    HWND window = snapshot_[static_cast<size_t>(index)];
    MoveWindowTo(window, WindowBounds(window).left, top);
}

std::optional<TRect> TJvFormMagnetWin::MainFormBounds() {
    HWND main = mainForm_ ? mainForm_() : nullptr;
    if (main == nullptr) {
        return std::nullopt;
    }
    return WindowBounds(main);
}
