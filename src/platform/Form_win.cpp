#include "platform/Form_win.h"

#include <algorithm>
#include <optional>

#include "platform/Application_win.h"
#include "platform/ControlBackground.h"
#include "platform/Controls_win.h"
#include "platform/Dispatch_win.h"
#include "platform/Gdi_win.h"

TForm::TForm(const TFormParams& params) : params_(params), color_(params.color) {}

HWND TForm::Handle() {
    if (!handleMade_) {
        handleMade_ = true;
        CreateHandle();
    }
    return TWindow::Handle();
}

void TForm::CreateHandle() {
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (params_.border == TBorderStyle::kToolWindow) {
        exStyle = WS_EX_TOOLWINDOW;
    } else {
        style |= WS_POPUP;
        exStyle = WS_EX_DLGMODALFRAME;
    }
    RECT frame{0, 0, params_.clientWidth, params_.clientHeight};
    AdjustWindowRectEx(&frame, style, params_.menu != nullptr, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int left = params_.left;
    int top = params_.top;
    if (params_.centerOnScreen) {
        left = CenteredOnScreen(width, GetSystemMetrics(SM_CXSCREEN));
        top = CenteredOnScreen(height, GetSystemMetrics(SM_CYSCREEN));
    }
    SetLastError(0);
    Create({params_.className, CS_DBLCLKS}, exStyle, params_.caption.c_str(), style,
           Bounds(left, top, width, height), params_.owner, params_.menu);
    params_.menu = nullptr;  // the window owns it now
    if (params_.iconId != 0) {
        bigIcon_ = LoadResourceIcon(params_.iconId, GetSystemMetrics(SM_CXICON));
        smallIcon_ = LoadResourceIcon(params_.iconId, 16);
        SendMessageA(TWindow::Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
        SendMessageA(TWindow::Handle(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(smallIcon_));
    }
    SendMessageA(TWindow::Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFormFont()), FALSE);
}

TForm::~TForm() {
    DestroyHandle();
    if (params_.menu != nullptr) {
        DestroyMenu(params_.menu);  // the window that would have taken it over was never made
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
        if (HandleAllocated()) {
            InvalidateRect(Handle(), nullptr, TRUE);
        }
    }
}

void TForm::Show() {
    if (!IsWindowVisible(Handle())) {
        EnsureControls();
        if (onShow) {
            Dispatch(onShow);
        }
        TApplication* application = CurrentApplication();
        if (application != nullptr && application->MainForm() == this &&
            application->Terminated()) {
            return;
        }
        ShowWindow(Handle(), SW_SHOW);
    }
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(Handle());
    SetActiveWindow(Handle());
}

void TForm::Hide() {
    if (HandleAllocated()) {  // a window not yet made is hidden already
        ShowWindow(Handle(), SW_HIDE);
    }
}

bool TForm::Visible() const {
    return HandleAllocated() && IsWindowVisible(TWindow::Handle()) != FALSE;
}

void TForm::Close() {
    TApplication* application = CurrentApplication();
    if (application != nullptr && application->MainForm() == this) {
        application->Terminate();
    } else {
        Hide();
    }
}

void TForm::CreateControlsOnFirstNeed(std::function<void()> create) {
    createControls_ = std::move(create);
}

void TForm::EnsureControls() {
    if (createControls_) {
        const std::function<void()> create = std::move(createControls_);
        createControls_ = nullptr;
        create();
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
    const RECT rect = ToRECT(bounds);
    InvalidateRect(Handle(), &rect, TRUE);
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
    auto it = controlColors_.find(control);
    char className[16] = {};
    GetClassNameA(control, className, sizeof(className));
    const TColor color = ControlBackground(
        it != controlColors_.end() ? std::optional<TColor>(it->second) : std::nullopt, className,
        color_);
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
        DrawFrame(dc, ToRECT(bevel.bounds), bevel.lowered ? shadow : highlight,
                  bevel.lowered ? highlight : shadow);
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
        GetClientRect(Handle(), &client);
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
        HDC dc = BeginPaint(Handle(), &paint);
        PaintBevels(dc);
        EndPaint(Handle(), &paint);
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
    case WM_SHOWWINDOW:
        // Shown by ShowWindow rather than Show: the controls still come before it appears.
        if (wParam != FALSE && createControls_) {
            Dispatch([this] { EnsureControls(); });
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused != nullptr && IsChild(Handle(), focused)) {
                focus_ = focused;
            }
        } else {
            if (focus_ == nullptr || !IsWindow(focus_)) {
                focus_ = GetNextDlgTabItem(Handle(), nullptr, FALSE);
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
    return TWindow::WndProc(message, wParam, lParam);
}
