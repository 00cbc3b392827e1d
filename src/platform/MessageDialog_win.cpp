#include "platform/MessageDialog_win.h"

#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/Dispatch_win.h"
#include "platform/Gdi_win.h"
#include "platform/MessageLayout.h"

namespace {

// DT_EDITCONTROL breaks a word that is wider than the line on its own, as the text control does
// with SS_EDITCONTROL; without it one long word (a pasted port text) makes the box wider than
// the screen.
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

struct DialogData {
    const std::string* text;
    std::string caption;
};

RECT MeasureText(HFONT font, const std::string& text, int maxWidth) {
    TWindowDC screen;
    TSelection selection(screen, font);
    return DrawTextBounds(screen, text, {0, 0, maxWidth, 0}, kTextFormat);
}

void Layout(HWND dialog, const DialogData& data) {
    HFONT font = DefaultFormFont();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT measured = MeasureText(font, *data.text, MessageTextMaxWidth(screenWidth));
    const TMessageLayout layout =
        MessageBoxLayout(measured.right - measured.left, measured.bottom - measured.top);

    CreateChild(dialog, "STATIC", *data.text, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0,
                layout.text, kMessageTextId, font);
    HWND ok = CreateChild(dialog, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, layout.button,
                          IDOK, font);

    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, CenteredOnScreen(width, screenWidth),
                 CenteredOnScreen(height, screenHeight), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(dialog, data.caption.c_str());
    SetFocus(ok);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Layout(dialog, *reinterpret_cast<const DialogData*>(lParam));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

// An empty dialog template: the controls are made in WM_INITDIALOG, sized in pixels.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};

}  // namespace

void ShowMessage(const std::string& text) {
    TApplication* application = CurrentApplication();
    DialogData data{&text, application != nullptr ? application->Title() : std::string()};
    HWND owner = application != nullptr ? application->MainWindowHandle() : nullptr;

    EmptyTemplate dialogTemplate{};
    dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialogTemplate.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    dialogTemplate.header.cdit = 0;
    dialogTemplate.header.cx = 100;
    dialogTemplate.header.cy = 50;

    TWindowDisabler disabler;
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &dialogTemplate.header, owner, DialogProc,
                            reinterpret_cast<LPARAM>(&data));
}
