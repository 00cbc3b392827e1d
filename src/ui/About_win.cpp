#include "ui/About_win.h"

// Panel1 is a child window of its own class: it paints its two bevels and Bevel1, colours its
// static texts, shows the hand pointer over itself and its children (the memo keeps its own),
// and passes commands on to the window. Image1 draws the decoded banner unscaled from its
// top-left corner over the panel's colour, so what does not fit is cut off and what the picture
// does not cover shows the panel.

#include <algorithm>
#include <vector>

#include "controls/JvLabel_win.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/Dispatch_win.h"
#include "platform/JpegImage.h"

namespace {

constexpr char kPanelClass[] = "TAboutPanel";
constexpr char kImageClass[] = "TAboutImage";

constexpr char kTitle[] = "Corvane 1.0a ";
constexpr char kTagLine[] = "...cause your PC doesn't deserve to sleep";
constexpr char kVersion[] = "Version 1.0a - build 05251";
constexpr char kAuthor[] = "Written by the Corvane developers and contributors";
constexpr char kForumName[] = "Corvane Forum";
constexpr char kForumUrl[] = "https://corvane.example.org/";
constexpr char kTopicUrl[] = "https://corvane.example.org/issues";
constexpr char kNotice[] =
    "Corvane is free software: you may use it, copy it and pass it on free of charge, "
    "unchanged and with this notice. It comes without any warranty.";

COLORREF ToColorRef(TColor color) {
    return static_cast<COLORREF>(ColorToRgb(color));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void RegisterClassOnce(const char* name, WNDPROC windowProc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing)) {
        return;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

struct TPanelState {
    HWND title = nullptr;
    HWND memo = nullptr;
    HBRUSH background = nullptr;
    HBRUSH memoBackground = nullptr;
};

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<TPanelState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillSolid(reinterpret_cast<HDC>(wParam), client, ToColorRef(clBtnFace));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT r;
        GetClientRect(window, &r);
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        Frame(dc, r, shadow, highlight);  // lowered outer bevel
        InflateRect(&r, -1, -1);
        Frame(dc, r, highlight, shadow);  // raised inner bevel
        // Bevel1 (8, 48, 425 x 9): a lowered line along its top edge.
        FillSolid(dc, {8, 48, 8 + 425, 49}, shadow);
        FillSolid(dc, {8, 49, 8 + 425, 50}, highlight);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        if (state != nullptr) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            HWND control = reinterpret_cast<HWND>(lParam);
            if (control == state->memo) {
                SetTextColor(dc, ToColorRef(clWindowText));
                SetBkColor(dc, ToColorRef(clWindow));
                return reinterpret_cast<LRESULT>(state->memoBackground);
            }
            SetTextColor(dc, ToColorRef(control == state->title ? clBlue : clBlack));
            SetBkColor(dc, ToColorRef(clBtnFace));
            return reinterpret_cast<LRESULT>(state->background);
        }
        break;
    case WM_SETCURSOR: {
        // The children have no pointer of their own: the hand shows over all but the memo.
        HWND under = reinterpret_cast<HWND>(wParam);
        if (LOWORD(lParam) == HTCLIENT && state != nullptr && under != state->memo) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        return SendMessageA(GetParent(window), message, wParam, lParam);
    case WM_NCDESTROY:
        if (state != nullptr) {
            DeleteObject(state->background);
            DeleteObject(state->memoBackground);
            delete state;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// The banner as a top-down 24-bit device-independent bitmap, rows padded to 4 bytes.
struct TAboutBox::TBanner {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rows;

    explicit TBanner(const TJpegImage& image) : width(image.Width()), height(image.Height()) {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        rows.assign(stride * height, 0);
        const std::vector<uint8_t>& rgb = image.Pixels();
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const size_t from = (static_cast<size_t>(y) * width + x) * 3;
                uint8_t* to = rows.data() + stride * y + static_cast<size_t>(x) * 3;
                to[0] = rgb[from + 2];
                to[1] = rgb[from + 1];
                to[2] = rgb[from];
            }
        }
    }

    void Draw(HDC dc) const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, rows.data(), &info,
                          DIB_RGB_COLORS);
    }

    static LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND) {
            return 1;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillSolid(dc, client, ToColorRef(clBtnFace));
            auto* banner =
                reinterpret_cast<const TBanner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (banner != nullptr) {
                banner->Draw(dc);
            }
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

namespace {

TFormParams AboutBoxParams() {
    TFormParams params;
    params.className = "TAboutBox";
    params.caption = "About";
    params.border = TBorderStyle::kDialog;
    params.centerOnScreen = true;
    params.clientWidth = 451;
    params.clientHeight = 350;
    params.color = clBtnFace;
    params.owner = Application().MainWindowHandle();
    return params;
}

// A hyperlink label in the panel: blue underlined, centred vertically, sized to its text; while
// the pointer is over it the plain hot-track font is used. Its click runs in the dispatcher like
// every other handler of the window.
std::unique_ptr<TJvLabelWin> CreateLink(HWND panel, const TRect& bounds, const std::string& caption,
                                        const std::string& url) {
    auto link = std::make_unique<TJvLabelWin>(panel, bounds.left, bounds.top, bounds.Width(),
                                              bounds.Height());
    TJvLabel& label = link->Label();
    TJvFont font;
    font.name = "MS Sans Serif";
    font.height = -11;
    font.color = clBlue;
    font.style = fsUnderline;
    label.SetFont(font);
    TJvFont hotTrackFont;
    hotTrackFont.name = "Proxy 1";
    hotTrackFont.height = -11;
    hotTrackFont.color = clWindowText;
    hotTrackFont.charset = 0;  // ANSI
    hotTrackFont.style = 0;
    label.SetHotTrackFont(hotTrackFont);
    label.ParentColorChanged(clBtnFace);
    label.SetLayout(tlCenter);
    label.SetCaption(caption);
    label.SetURL(url);
    label.Loaded();
    link->runEvent = Dispatch;
    return link;
}

}  // namespace

TAboutBox::TAboutBox(const std::string& bannerJpeg) : TForm(AboutBoxParams()) {
    RegisterClassOnce(kPanelClass, PanelProc);
    RegisterClassOnce(kImageClass, TBanner::ImageProc);

    // WS_EX_CONTROLPARENT: Tab moves into the panel's memo.
    panel1_ = CreateChild(Handle(), kPanelClass, "", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                          {8, 8, 8 + 441, 8 + 289}, kPanel1);
    auto* state = new TPanelState;
    state->background = CreateSolidBrush(ToColorRef(clBtnFace));
    state->memoBackground = CreateSolidBrush(ToColorRef(clWindow));
    SetWindowLongPtrA(panel1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));

    auto centred = [this](const TRect& bounds, const char* text, HFONT font) {
        return CreateChild(panel1_, "STATIC", text, SS_CENTER, 0, bounds, -1, font);
    };
    state->title =
        centred({5, 10, 5 + 431, 10 + 15}, kTitle, UiFont("BankGothic Lt BT", 16, FW_BOLD));
    centred({5, 28, 5 + 431, 28 + 15}, kTagLine, UiFont("Arial", 13, FW_NORMAL, true));
    centred({5, 51, 5 + 431, 51 + 15}, kVersion, UiFont("Arial", 11));
    centred({5, 65, 5 + 431, 65 + 15}, kAuthor, UiFont("Arial", 11));
    CreateAutoSizeLabel(panel1_, 16, 104, "Support-Forum:");
    jvLabel1_ = CreateLink(panel1_, {152, 104, 152 + 70, 104 + 13}, kForumName, kForumUrl);
    CreateAutoSizeLabel(panel1_, 16, 120, "Topic:");
    jvLabel2_ = CreateLink(panel1_, {152, 120, 152 + 267, 120 + 13}, kTopicUrl, kTopicUrl);

    TJpegImage picture;
    if (picture.LoadFromBytes(bannerJpeg)) {
        banner_ = std::make_unique<TBanner>(picture);
    }
    image1_ = CreateChild(panel1_, kImageClass, "", 0, 0, {8, 147, 8 + 425, 147 + 65}, kImage1);
    SetWindowLongPtrA(image1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(banner_.get()));

    memo1_ = CreateMemo(panel1_, {96, 224, 96 + 265, 224 + 57}, kMemo1, true, true);
    SetText(memo1_, kNotice);
    state->memo = memo1_;

    okButton_ = CreateButton(Handle(), {151, 308, 151 + 154, 308 + 25}, kOKButton, "OK", true);
    OnCommand(kOKButton, [this] { OKButtonClick(); });
    SetFocusControl(memo1_);
}

TAboutBox::~TAboutBox() {
    // The labels' windows go before the panel that holds them; the image stops drawing first.
    if (image1_ != nullptr) {
        SetWindowLongPtrA(image1_, GWLP_USERDATA, 0);
    }
    jvLabel1_.reset();
    jvLabel2_.reset();
}

bool TAboutBox::BannerLoaded() const {
    return banner_ != nullptr;
}

void TAboutBox::OKButtonClick() {
    Close();
}
