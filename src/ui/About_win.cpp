#include "ui/About_win.h"

// Panel1 is a child window of its own class: it paints its two bevels and Bevel1, colours its
// static texts, shows the hand pointer over itself and its children (the memo keeps its own),
// and passes commands on to the window. Image1 draws the decoded banner unscaled from its
// top-left corner over the panel's colour, so what does not fit is cut off and what the picture
// does not cover shows the panel.

#include <vector>

#include "controls/JvLabel_win.h"
#include "platform/Application_win.h"
#include "platform/BitmapRows.h"
#include "platform/Controls_win.h"
#include "platform/Gdi_win.h"
#include "platform/JpegImage.h"
#include "platform/Window_win.h"

namespace {

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

// The pointer is the hand over the panel, the banner and the panel's texts.
const TWindowClass kPanelClass{"TAboutPanel", 0, reinterpret_cast<LPCSTR>(IDC_HAND)};
const TWindowClass kImageClass{"TAboutImage", 0, reinterpret_cast<LPCSTR>(IDC_HAND)};

}  // namespace

class TAboutBox::TPanel : public TWindow {
public:
    TPanel(HWND parent, const TRect& bounds, int32_t id)
        : background_(CreateSolidBrush(ToColorRef(clBtnFace))),
          memoBackground_(CreateSolidBrush(ToColorRef(clWindow))) {
        // WS_EX_CONTROLPARENT: Tab moves into the panel's memo.
        Create(kPanelClass, WS_EX_CONTROLPARENT, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
               bounds, parent, ChildId(id));
    }
    ~TPanel() override {
        DestroyHandle();
        DeleteObject(background_);
        DeleteObject(memoBackground_);
    }

    HWND title = nullptr;
    HWND memo = nullptr;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(Handle(), &client);
            FillSolid(reinterpret_cast<HDC>(wParam), client, ToColorRef(clBtnFace));
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT r;
            GetClientRect(Handle(), &r);
            const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
            const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
            DrawFrame(dc, r, shadow, highlight);  // lowered outer bevel
            InflateRect(&r, -1, -1);
            DrawFrame(dc, r, highlight, shadow);  // raised inner bevel
            // Bevel1 (8, 48, 425 x 9): a lowered line along its top edge.
            FillSolid(dc, {8, 48, 8 + 425, 49}, shadow);
            FillSolid(dc, {8, 49, 8 + 425, 50}, highlight);
            EndPaint(Handle(), &paint);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            HWND control = reinterpret_cast<HWND>(lParam);
            if (control == memo) {
                SetTextColor(dc, ToColorRef(clWindowText));
                SetBkColor(dc, ToColorRef(clWindow));
                return reinterpret_cast<LRESULT>(memoBackground_);
            }
            SetTextColor(dc, ToColorRef(control == title ? clBlue : clBlack));
            SetBkColor(dc, ToColorRef(clBtnFace));
            return reinterpret_cast<LRESULT>(background_);
        }
        case WM_SETCURSOR: {
            // The children have no pointer of their own: the hand shows over all but the memo.
            HWND under = reinterpret_cast<HWND>(wParam);
            if (LOWORD(lParam) == HTCLIENT && under != memo) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
            return SendMessageA(GetParent(Handle()), message, wParam, lParam);
        default:
            break;
        }
        return TWindow::WndProc(message, wParam, lParam);
    }

private:
    HBRUSH background_;
    HBRUSH memoBackground_;
};

// The banner as a top-down 24-bit device-independent bitmap.
class TAboutBox::TImage : public TWindow {
public:
    TImage(HWND parent, const TRect& bounds, int32_t id, const TJpegImage& picture)
        : width_(picture.Width()),
          height_(picture.Height()),
          rows_(BitmapRowsFromRgb(picture.Pixels(), width_, height_)) {
        Create(kImageClass, 0, "", WS_CHILD | WS_VISIBLE, bounds, parent, ChildId(id));
    }

    bool Loaded() const { return !rows_.empty(); }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) {
            return 1;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT client;
            GetClientRect(Handle(), &client);
            FillSolid(dc, client, ToColorRef(clBtnFace));
            if (Loaded()) {
                Draw(dc);
            }
            EndPaint(Handle(), &paint);
            return 0;
        }
        return TWindow::WndProc(message, wParam, lParam);
    }

private:
    void Draw(HDC dc) const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, width_, height_, 0, 0, 0, height_, rows_.data(), &info,
                          DIB_RGB_COLORS);
    }

    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> rows_;
};

namespace {

TFormParams AboutBoxParams() {
    return {.className = "TAboutBox",
            .caption = "About",
            .border = TBorderStyle::kDialog,
            .centerOnScreen = true,
            .clientWidth = 451,
            .clientHeight = 350,
            .color = clBtnFace,
            .owner = Application().MainWindowHandle()};
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
    return link;
}

}  // namespace

TAboutBox::TAboutBox(const std::string& bannerJpeg)
    : TForm(AboutBoxParams()), bannerJpeg_(bannerJpeg) {
    CreateControlsOnFirstNeed([this] { CreateControls(); });
    OnCommand(kOKButton, [this] { OKButtonClick(); });
}

void TAboutBox::CreateControls() {
    panel_ = std::make_unique<TPanel>(Handle(), TRect{8, 8, 8 + 441, 8 + 289}, kPanel1);
    panel1_ = panel_->Handle();

    auto centred = [this](const TRect& bounds, const char* text, HFONT font) {
        return CreateChild(panel1_, "STATIC", text, SS_CENTER, 0, bounds, -1, font);
    };
    panel_->title =
        centred({5, 10, 5 + 431, 10 + 15}, kTitle, UiFont("BankGothic Lt BT", 16, FW_BOLD));
    centred({5, 28, 5 + 431, 28 + 15}, kTagLine, UiFont("Arial", 13, FW_NORMAL, true));
    centred({5, 51, 5 + 431, 51 + 15}, kVersion, UiFont("Arial", 11));
    centred({5, 65, 5 + 431, 65 + 15}, kAuthor, UiFont("Arial", 11));
    CreateAutoSizeLabel(panel1_, 16, 104, "Support-Forum:");
    jvLabel1_ = CreateLink(panel1_, {152, 104, 152 + 70, 104 + 13}, kForumName, kForumUrl);
    CreateAutoSizeLabel(panel1_, 16, 120, "Topic:");
    jvLabel2_ = CreateLink(panel1_, {152, 120, 152 + 267, 120 + 13}, kTopicUrl, kTopicUrl);

    TJpegImage picture;
    picture.LoadFromBytes(bannerJpeg_);  // left empty when the bytes are no picture
    bannerJpeg_ = std::string();         // decoded: the bytes are not needed again
    image_ = std::make_unique<TImage>(panel1_, TRect{8, 147, 8 + 425, 147 + 65}, kImage1, picture);
    image1_ = image_->Handle();

    memo1_ = CreateMemo(panel1_, {96, 224, 96 + 265, 224 + 57}, kMemo1, true, true);
    SetText(memo1_, kNotice);
    panel_->memo = memo1_;

    okButton_ = CreateButton(Handle(), {151, 308, 151 + 154, 308 + 25}, kOKButton, "OK", true);
    SetFocusControl(memo1_);
}

TAboutBox::~TAboutBox() {
    // The children's windows go before the panel that holds them.
    jvLabel1_.reset();
    jvLabel2_.reset();
    image_.reset();
    panel_.reset();
}

bool TAboutBox::BannerLoaded() {
    return Built(image_)->Loaded();
}

void TAboutBox::OKButtonClick() {
    Close();
}
