// The floor for corvane.exe's start-up: corvane.exe's main window made the plainest way, with
// CreateWindowExA and nothing else of the program. The same tool-window frame, menu and icon;
// the same controls in the same places with the same fonts, texts and button picture; the log
// holding the banner a start without arguments writes; the vertical gradient rendered once into
// a bitmap that every erase copies; the common controls and Windows Sockets 2 (loaded at run
// time, version 2.2) started as corvane.exe starts them. Shown alone, it looks like
// corvane.exe's main window pixel for pixel (the caret aside).
// bench/gui-start.sh times both programs from launch to their window being mapped.
#include <cmath>
#include <cstring>

#include "base/WinApi.h"

namespace {

constexpr char kFormClass[] = "TGuiFloorForm";
constexpr char kButtonClass[] = "TGuiFloorButton";
constexpr char kCaption[] = "Corvane 1.0a";  // the same title bar as the main window
constexpr int kClientWidth = 213;
constexpr int kClientHeight = 344;
constexpr int kIconId = 1;      // the window icon in the resources (GuiFloor.rc)
constexpr int kPowerId = 101;   // the button picture
constexpr int kGlyphSize = 16;  // the picture is 16 x 16; its bottom-left pixel is transparent
constexpr int kGlyphSpacing = 4;
constexpr int kLabelGap = 3;  // a caption label sits 3 pixels above its edit
constexpr COLORREF kSkyBlue = RGB(166, 202, 240);
constexpr int kGradientSteps = 100;
constexpr DWORD kNoLimit = 0x7FFFFFFE;

HFONT formFont = nullptr;
HFONT logFont = nullptr;
HBITMAP powerGlyph = nullptr;
HDC gradientDc = nullptr;  // the gradient, rendered once
HBRUSH logBackground = nullptr;
HWND firstEdit = nullptr;

HFONT Font(const char* face, int height, BYTE charset) {
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

SIZE TextSize(HFONT font, const char* text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{0, 0};
    GetTextExtentPoint32A(screen, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// One channel of band `band` of the gradient, rounded to nearest, halves to even.
BYTE Channel(BYTE start, BYTE end, int band) {
    const double increment = (static_cast<double>(end) - start) / kGradientSteps;
    return static_cast<BYTE>(static_cast<int>(std::nearbyint(start + band * increment)) & 0xFF);
}

// Sky blue at the top to the hot-light colour at the bottom, in 100 horizontal bands (band i
// covers rows round(i * 3.44) up to round((i + 1) * 3.44)).
void RenderGradient() {
    HDC screen = GetDC(nullptr);
    gradientDc = CreateCompatibleDC(nullptr);
    SelectObject(gradientDc, CreateCompatibleBitmap(screen, kClientWidth, kClientHeight));
    ReleaseDC(nullptr, screen);
    const COLORREF end = GetSysColor(COLOR_HOTLIGHT);
    const double size = static_cast<double>(kClientHeight) / kGradientSteps;
    for (int i = 0; i <= kGradientSteps; ++i) {
        const RECT band{0, static_cast<int>(std::nearbyint(i * size)), kClientWidth,
                        static_cast<int>(std::nearbyint((i + 1) * size))};
        Fill(gradientDc, band,
             RGB(Channel(GetRValue(kSkyBlue), GetRValue(end), i),
                 Channel(GetGValue(kSkyBlue), GetGValue(end), i),
                 Channel(GetBValue(kSkyBlue), GetBValue(end), i)));
    }
}

// The flat "Power on" button: the window's background behind it, the picture and the caption
// centred side by side.
void PaintButton(HWND button, HDC dc) {
    RECT client;
    GetClientRect(button, &client);
    HWND parent = GetParent(button);
    POINT origin{0, 0};
    MapWindowPoints(button, parent, &origin, 1);
    POINT previous;
    SetWindowOrgEx(dc, origin.x, origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);

    char caption[32] = {};
    const int length = GetWindowTextA(button, caption, sizeof(caption));
    HGDIOBJ oldFont = SelectObject(dc, formFont);
    SIZE textSize{0, 0};
    GetTextExtentPoint32A(dc, caption, length, &textSize);
    int left = (client.right - (kGlyphSize + kGlyphSpacing) - textSize.cx + 1) / 2;
    HDC glyphDc = CreateCompatibleDC(dc);
    HGDIOBJ oldGlyph = SelectObject(glyphDc, powerGlyph);
    GdiTransparentBlt(dc, left, (client.bottom - kGlyphSize) / 2, kGlyphSize, kGlyphSize, glyphDc,
                      0, 0, kGlyphSize, kGlyphSize, GetPixel(glyphDc, 0, kGlyphSize - 1));
    SelectObject(glyphDc, oldGlyph);
    DeleteDC(glyphDc);
    left += kGlyphSize + kGlyphSpacing;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT textRect{left, 0, left + textSize.cx, client.bottom};
    DrawTextA(dc, caption, length, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintButton(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, kClientWidth, kClientHeight, gradientDc, 0, 0,
               SRCCOPY);
        return 1;
    case WM_PAINT: {
        // Bevel1: a lowered one-pixel frame around the input area.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        const RECT r{6, 7, 6 + 201, 7 + 197};
        Fill(dc, {r.left, r.top, r.right, r.top + 1}, shadow);
        Fill(dc, {r.left, r.top, r.left + 1, r.bottom}, shadow);
        Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, highlight);
        Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, highlight);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // The labels are transparent over the gradient; the read-only log is window-coloured.
        HDC dc = reinterpret_cast<HDC>(wParam);
        char className[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(lParam), className, sizeof(className));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        if (lstrcmpiA(className, "Edit") == 0) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(logBackground);
        }
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(firstEdit);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == 205) {  // E&xit
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Child(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle,
           int left, int top, int width, int height, int id, HFONT font) {
    HWND child = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

HWND Edit(HWND parent, int left, int top, int width, int id, DWORD limit, bool password) {
    HWND edit = Child(parent, "EDIT", "",
                      WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT | (password ? ES_PASSWORD : 0),
                      WS_EX_CLIENTEDGE, left, top, width, 21, id, formFont);
    SendMessageA(edit, EM_LIMITTEXT, limit, 0);
    if (password) {
        SendMessageA(edit, EM_SETPASSWORDCHAR, '*', 0);
    }
    return edit;
}

HWND LabeledEdit(HWND parent, int left, int top, int width, int id, const char* label,
                 DWORD limit) {
    const SIZE size = TextSize(formFont, label);
    Child(parent, "STATIC", label, SS_LEFT, 0, left, top - size.cy - kLabelGap, size.cx, size.cy,
          -1, formFont);
    return Edit(parent, left, top, width, id, limit, false);
}

HMENU MainMenu() {
    HMENU bar = CreateMenu();
    HMENU tools = CreatePopupMenu();
    AppendMenuA(tools, MF_STRING | MF_GRAYED, 201, "Addressbook");
    AppendMenuA(tools, MF_STRING, 202, "Calculate Broadcast Address");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Tools");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, 203, "Help");
    AppendMenuA(help, MF_STRING, 204, "About");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    AppendMenuA(bar, MF_STRING, 205, "E&xit");
    return bar;
}

void RegisterWindowClass(const char* name, WNDPROC proc, HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();

    HMODULE sockets = LoadLibraryA("WS2_32.DLL");
    using StartupFn = int(WSAAPI*)(WORD, WSADATA*);
    using CleanupFn = int(WSAAPI*)();
    auto startup = reinterpret_cast<StartupFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(sockets, "WSAStartup")));
    auto cleanup = reinterpret_cast<CleanupFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(sockets, "WSACleanup")));
    WSADATA data;
    if (startup == nullptr || cleanup == nullptr || startup(0x0202, &data) != 0) {
        return 1;
    }

    formFont = Font("MS Sans Serif", 11, DEFAULT_CHARSET);
    logFont = Font("Arial Narrow", 11, ANSI_CHARSET);
    logBackground = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    powerGlyph = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(kPowerId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    RenderGradient();
    RegisterWindowClass(kFormClass, FormProc, instance);
    RegisterWindowClass(kButtonClass, ButtonProc, instance);

    // The main window's frame: a tool window with a menu, client area 213 x 344 at 548, 328.
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_TOOLWINDOW);
    HWND form = CreateWindowExA(WS_EX_TOOLWINDOW, kFormClass, kCaption, style, 548, 328,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                MainMenu(), instance, nullptr);
    SendMessageA(form, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageA(instance, MAKEINTRESOURCEA(kIconId),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                     GetSystemMetrics(SM_CXICON), 0)));
    SendMessageA(form, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(
                     LoadImageA(instance, MAKEINTRESOURCEA(kIconId), IMAGE_ICON, 16, 16, 0)));

    // The controls in the main window's creation (and tab) order.
    Child(form, kButtonClass, "Power on", 0, 0, 112, 175, 79, 25, 106, formFont);
    Child(form, "STATIC", "WOL-Password (optional)", SS_LEFT, 0, 16, 115, 120, 13, -1, formFont);
    HWND log = Child(form, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT | ES_READONLY,
                     WS_EX_CLIENTEDGE, 14, 236, 177, 97, 105, logFont);
    SendMessageA(log, EM_LIMITTEXT, kNoLimit, 0);
    firstEdit = LabeledEdit(form, 14, 31, 177, 101, "MAC-Address (xx-xx-xx-xx-xx-xx)", 17);
    LabeledEdit(form, 14, 79, 177, 102, "IP-Address (192.168.0.255)", 15);
    Edit(form, 16, 131, 177, 103, kNoLimit, true);
    HWND port = LabeledEdit(form, 16, 176, 65, 104, "UDP-Port ", kNoLimit);
    SetWindowTextA(port, "26354");
    // What a start without arguments writes into the log.
    SetWindowTextA(log, "CorVane 1.0a\r\n------------------------\r\n");

    ShowWindow(form, SW_SHOW);
    UpdateWindow(form);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(form, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    cleanup();
    FreeLibrary(sockets);
    return 0;
}
