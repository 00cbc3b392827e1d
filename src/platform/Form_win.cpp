#include "platform/Form_win.h"

#include <algorithm>
#include <set>

#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/Dispatch_win.h"

namespace {

void RegisterFormClass(const char* className, WNDPROC windowProc) {
    static std::set<std::string> registered;
    if (registered.count(className) != 0) {
        return;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
    registered.insert(className);
}

COLORREF ToColorRef(TColor color) {
    return static_cast<COLORREF>(ColorToRgb(color));
}

}  // namespace

TForm::TForm(const TFormParams& params) : color_(params.color) {
    RegisterFormClass(params.className, StaticWndProc);
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (params.border == TBorderStyle::kToolWindow) {
        exStyle = WS_EX_TOOLWINDOW;
    } else {
        style |= WS_POPUP;
        exStyle = WS_EX_DLGMODALFRAME;
    }
    RECT frame{0, 0, params.clientWidth, params.clientHeight};
    AdjustWindowRectEx(&frame, style, params.menu != nullptr, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int left = params.left;
    int top = params.top;
    if (params.centerOnScreen) {
        left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    }
    // WM_NCCREATE stores `this` and switches to StaticWndProc.
    SetLastError(0);
    handle_ =
        CreateWindowExA(exStyle, params.className, params.caption.c_str(), style, left, top, width,
                        height, params.owner, params.menu, GetModuleHandleA(nullptr), this);
    if (params.iconId != 0) {
        bigIcon_ = LoadResourceIcon(params.iconId, GetSystemMetrics(SM_CXICON));
        smallIcon_ = LoadResourceIcon(params.iconId, 16);
        SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFormFont()), FALSE);
}

TForm::~TForm() {
    if (handle_ != nullptr) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    for (auto& entry : brushes_) {
        DeleteObject(entry.second);
    }
    if (bigIcon_ != nullptr) {
        DestroyIcon(bigIcon_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
}

void TForm::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void TForm::Show() {
    if (!IsWindowVisible(handle_)) {
        if (onShow) {
            Dispatch(onShow);
        }
        TApplication* application = CurrentApplication();
        if (application != nullptr && application->MainForm() == this &&
            application->Terminated()) {
            return;
        }
        ShowWindow(handle_, SW_SHOW);
    }
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(handle_);
    SetActiveWindow(handle_);
}

void TForm::Hide() {
    ShowWindow(handle_, SW_HIDE);
}

bool TForm::Visible() const {
    return IsWindowVisible(handle_) != FALSE;
}

void TForm::Close() {
    TApplication* application = CurrentApplication();
    if (application != nullptr && application->MainForm() == this) {
        application->Terminate();
    } else {
        Hide();
    }
}

void TForm::OnCommand(int32_t id, std::function<void()> handler) {
    commands_[id] = std::move(handler);
}

void TForm::SetControlColor(HWND control, TColor color) {
    controlColors_[control] = color;
    InvalidateRect(control, nullptr, TRUE);
}

void TForm::SetArrowCursor(HWND control) {
    arrowCursorControls_.push_back(control);
}

void TForm::AddBevel(const TRect& bounds, bool lowered) {
    bevels_.push_back({bounds, lowered});
    const RECT rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
    InvalidateRect(handle_, &rect, TRUE);
}

LRESULT CALLBACK TForm::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* form = static_cast<TForm*>(create->lpCreateParams);
        form->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return form->WndProc(message, wParam, lParam);
}

HBRUSH TForm::BrushFor(TColor color) {
    const TColor rgb = ColorToRgb(color);
    auto it = brushes_.find(rgb);
    if (it != brushes_.end()) {
        return it->second;
    }
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rgb));
    brushes_.emplace(rgb, brush);
    return brush;
}

LRESULT TForm::ControlColor(HDC dc, HWND control) {
    TColor color = color_;
    auto it = controlColors_.find(control);
    if (it != controlColors_.end()) {
        color = it->second;
    } else {
        char className[16] = {};
        GetClassNameA(control, className, sizeof(className));
        if (lstrcmpiA(className, "Edit") == 0) {
            color = clWindow;
        }
    }
    SetTextColor(dc, ToColorRef(clWindowText));
    if (color == clNone) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    SetBkColor(dc, ToColorRef(color));
    return reinterpret_cast<LRESULT>(BrushFor(color));
}

void TForm::PaintBevels(HDC dc) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (const TBevel& bevel : bevels_) {
        const COLORREF topLeft = bevel.lowered ? shadow : highlight;
        const COLORREF bottomRight = bevel.lowered ? highlight : shadow;
        const TRect& r = bevel.bounds;
        auto line = [dc](int left, int top, int right, int bottom, COLORREF color) {
            SetBkColor(dc, color);
            const RECT rect{left, top, right, bottom};
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        };
        line(r.left, r.top, r.right, r.top + 1, topLeft);
        line(r.left, r.top, r.left + 1, r.bottom, topLeft);
        line(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
        line(r.right - 1, r.top, r.right, r.bottom, bottomRight);
    }
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int32_t id = LOWORD(wParam);
        auto it = commands_.find(id);
        if (HIWORD(wParam) == 0 && it != commands_.end()) {
            const std::function<void()> handler = it->second;  // the handler may re-register
            Dispatch(handler);
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(handle_, &client);
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (onPaintBackground) {
            onPaintBackground(dc, client);
        } else {
            FillRect(dc, &client, BrushFor(color_));
        }
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(handle_, &paint);
        PaintBevels(dc);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
        HWND under = reinterpret_cast<HWND>(wParam);
        if (LOWORD(lParam) == HTCLIENT &&
            std::find(arrowCursorControls_.begin(), arrowCursorControls_.end(), under) !=
                arrowCursorControls_.end()) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused != nullptr && IsChild(handle_, focused)) {
                focus_ = focused;
            }
        } else {
            if (focus_ == nullptr || !IsWindow(focus_)) {
                focus_ = GetNextDlgTabItem(handle_, nullptr, FALSE);
            }
            if (focus_ != nullptr) {
                SetFocus(focus_);
            }
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}
