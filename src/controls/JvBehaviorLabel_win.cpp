#include "controls/JvBehaviorLabel_win.h"

#include <string>

#include "platform/Controls_win.h"
#include "platform/Gdi_win.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x4A56424C;  // one per label window

SIZE TextSize(HWND window, HFONT font, const std::string& text) {
    TWindowDC dc(window);
    TSelection selection(dc, font);
    return TextExtent(dc, text);
}

// What a left-aligned static text without prefix processing draws its text with.
constexpr UINT kStaticTextFormat = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

TJvBehaviorLabelWindow::TJvBehaviorLabelWindow(TJvBehaviorLabel& label, HWND parent,
                                               const TRect& designed, HFONT font)
    : label_(label), font_(font), designed_(designed) {
    handle_ = CreateWindowExA(0, "STATIC", label.Caption().c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, designed.left,
                              designed.top, designed.Width(), designed.Height(), parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowSubclass(handle_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    label_.SetOnRepaint([this](TJvBehaviorLabel&) { Repaint(); });
    Repaint();
}

TJvBehaviorLabelWindow::~TJvBehaviorLabelWindow() {
    label_.SetOnRepaint(nullptr);
    if (IsWindow(handle_)) {
        RemoveWindowSubclass(handle_, SubclassProc, kSubclassId);
        DestroyWindow(handle_);
    }
}

void TJvBehaviorLabelWindow::Repaint() {
    // Sized to the caption, so the typed-out text never needs more room than the final one.
    const std::string& caption = label_.Caption();
    TRect bounds = designed_;
    if (!caption.empty()) {
        const SIZE size = TextSize(handle_, font_, caption);
        bounds = Bounds(designed_.left, designed_.top, size.cx, size.cy);
    }
    SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetText(handle_) != caption) {
        SetWindowTextA(handle_, caption.c_str());
    }
    InvalidateRect(handle_, nullptr, FALSE);
    UpdateWindow(handle_);
}

void TJvBehaviorLabelWindow::Paint(HDC dc) {
    // As the static text paints: the background with the brush its parent hands out for static
    // texts, then the text in the window's font and the colour the parent chose.
    RECT client;
    GetClientRect(handle_, &client);
    HWND parent = GetParent(handle_);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(handle_)));
    if (brush == nullptr) {
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(handle_)));
    }
    FillRect(dc, &client, brush);
    if (!IsWindowEnabled(handle_)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    TSelection selectedFont(dc, font_);
    const std::string& text = label_.DisplayText();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, kStaticTextFormat);
}

LRESULT CALLBACK TJvBehaviorLabelWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TJvBehaviorLabelWindow*>(data);
    switch (message) {
    case WM_SETTEXT:
        // Stored only: the static text would paint the caption at once, over the shown text.
        DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return TRUE;
    case WM_ERASEBKGND:
        return 1;  // all painting happens in Paint
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        self->Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        self->Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SubclassProc, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
