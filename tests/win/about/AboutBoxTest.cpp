// The About box under Wine: built by the real code, opened from the main window's menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/Exception.h"
#include "base/WinApi.h"
#include "controls/JvLabel_win.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/JpegImage.h"
#include "support/RecordingShell.h"
#include "ui/AboutBanner_win.h"
#include "ui/About_win.h"
#include "ui/Unit1_win.h"
#include "win/WindowGeometry.h"
#include "win/ui/BoxWatcher.h"

namespace {

struct Program {
    explicit Program(const std::string& bannerJpeg = AboutBannerJpeg()) {
        application.SetTitle("CorVane");
        application.SetCommandLine("corvane.exe");
        form1 = &application.CreateForm<TForm1>();
        aboutBox = &application.CreateForm<TAboutBox>(bannerJpeg);
        form1->Show();
        application.ProcessMessages();
    }
    void Command(HWND window, int32_t id) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        application.ProcessMessages();
    }
    void About() { Command(form1->Handle(), TForm1::kAbout1); }

    TApplication application;
    TForm1* form1 = nullptr;
    TAboutBox* aboutBox = nullptr;
};

RECT WindowRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetText(child) == text) {
            return child;
        }
    }
    return nullptr;
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

// The text colour the panel chooses for one of its static texts.
COLORREF TextColourOf(HWND panel, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// The pointer the window system shows over the client area of `control`.
HCURSOR PointerOver(HWND control) {
    SetCursor(nullptr);
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

HCURSOR SystemCursor(LPCSTR id) {
    return LoadCursorA(nullptr, id);
}

void Repaint(TApplication& application, HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    application.ProcessMessages();
}

TEST(AboutBox, WindowAndControlsAsDesigned) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(GetText(box.Handle()), "About");
    RECT client;
    GetClientRect(box.Handle(), &client);
    EXPECT_EQ(client.right, 451);
    EXPECT_EQ(client.bottom, 350);
    const LONG style = GetWindowLongA(box.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    ExpectBounds(box.Handle(), box.Panel1(), 8, 8, 441, 289);
    ExpectBounds(box.Panel1(), box.Image1(), 8, 147, 425, 65);
    ExpectBounds(box.Panel1(), box.Memo1(), 96, 224, 265, 57);
    ExpectBounds(box.Handle(), box.OKButton(), 151, 308, 154, 25);
    EXPECT_EQ(GetText(box.OKButton()), "OK");
    EXPECT_EQ(GetWindowLongA(box.OKButton(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_NE(GetWindowLongA(box.Memo1(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(GetWindowLongA(box.Memo1(), GWL_STYLE) & ES_MULTILINE, 0);
    EXPECT_EQ(GetParent(box.Memo1()), box.Panel1());
    EXPECT_NE(GetText(box.Memo1()), "");
    EXPECT_EQ(GetWindowLongA(box.Panel1(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, WS_EX_CONTROLPARENT);
    // Tab order: the memo inside the panel, then OK.
    EXPECT_EQ(GetNextDlgTabItem(box.Handle(), box.Memo1(), FALSE), box.OKButton());
    EXPECT_EQ(GetNextDlgTabItem(box.Handle(), box.OKButton(), FALSE), box.Memo1());
}

TEST(AboutBox, PanelTextsWithTheirPlacesFontsAndColours) {
    Program program;
    HWND panel = program.aboutBox->Panel1();
    constexpr COLORREF kBlack = RGB(0, 0, 0);
    constexpr COLORREF kBlue = RGB(0, 0, 255);
    const struct {
        const char* text;
        int left, top, width, height;  // width 0: sized to the text
        const char* face;
        int fontHeight;
        int weight;
        bool italic;
        COLORREF colour;
    } rows[] = {
        {"Corvane 1.0a ", 5, 10, 431, 15, "BankGothic Lt BT", 16, FW_BOLD, false, kBlue},
        {"...cause your PC doesn't deserve to sleep", 5, 28, 431, 15, "Arial", 13, FW_NORMAL, true,
         kBlack},
        {"Version 1.0a - build 05251", 5, 51, 431, 15, "Arial", 11, FW_NORMAL, false, kBlack},
        {"Written by the Corvane developers and contributors", 5, 65, 431, 15, "Arial", 11,
         FW_NORMAL, false, kBlack},
        {"Support-Forum:", 16, 104, 0, 0, "MS Sans Serif", 11, FW_NORMAL, false, kBlack},
        {"Topic:", 16, 120, 0, 0, "MS Sans Serif", 11, FW_NORMAL, false, kBlack},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        HWND label = ChildWithText(panel, row.text);
        ASSERT_NE(label, nullptr);
        const RECT r = ChildBounds(panel, label);
        EXPECT_EQ(r.left, row.left);
        EXPECT_EQ(r.top, row.top);
        const bool centred = (GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER;
        if (row.width != 0) {
            EXPECT_EQ(r.right - r.left, row.width);
            EXPECT_EQ(r.bottom - r.top, row.height);
            EXPECT_TRUE(centred);
        } else {
            EXPECT_FALSE(centred);
        }
        const LOGFONTA font = FontOf(label);
        EXPECT_STREQ(font.lfFaceName, row.face);
        EXPECT_EQ(font.lfHeight, -row.fontHeight);
        EXPECT_EQ(font.lfWeight, row.weight);
        EXPECT_EQ(font.lfItalic != 0, row.italic);
        EXPECT_EQ(font.lfUnderline, 0);
        EXPECT_EQ(TextColourOf(panel, label), row.colour);
    }
}

TEST(AboutBox, LinkLabelsAsDesigned) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    const struct {
        TJvLabelWin* link;
        int top;
        const char* caption;
        const char* url;
    } rows[] = {
        {&box.JvLabel1(), 104, "Corvane Forum", "https://corvane.example.org/"},
        {&box.JvLabel2(), 120, "https://corvane.example.org/issues",
         "https://corvane.example.org/issues"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        const TJvLabel& label = row.link->Label();
        EXPECT_EQ(GetParent(row.link->Handle()), box.Panel1());
        EXPECT_EQ(label.Caption(), row.caption);
        EXPECT_EQ(label.URL(), row.url);
        EXPECT_EQ(label.Font().name, "MS Sans Serif");
        EXPECT_EQ(label.Font().height, -11);
        EXPECT_EQ(label.Font().color, clBlue);
        EXPECT_EQ(label.Font().style, fsUnderline);
        EXPECT_EQ(label.Layout(), tlCenter);
        EXPECT_FALSE(label.HotTrack());
        EXPECT_TRUE(label.AutoOpenURL());
        EXPECT_TRUE(label.AutoSize());
        EXPECT_EQ(label.HotTrackFont().name, "Proxy 1");
        EXPECT_EQ(label.HotTrackFont().height, -11);
        EXPECT_EQ(label.HotTrackFont().color, clWindowText);
        EXPECT_EQ(label.HotTrackFont().charset, 0);  // ANSI
        EXPECT_EQ(label.HotTrackFont().style, 0);
        // Sized to its text: the window has the label's measured bounds.
        ExpectBounds(box.Panel1(), row.link->Handle(), 152, row.top, label.Width(), label.Height());
        EXPECT_GT(label.Width(), 2);
    }
}

TEST(AboutBox, HandPointerOverThePanelButNotOverTheMemo) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    program.About();
    const HCURSOR hand = SystemCursor(IDC_HAND);
    const struct {
        HWND window;
        HCURSOR pointer;
        const char* what;
    } rows[] = {
        {box.Panel1(), hand, "panel (and Bevel1 painted on it)"},
        {ChildWithText(box.Panel1(), "Corvane 1.0a "), hand, "title"},
        {ChildWithText(box.Panel1(), "Version 1.0a - build 05251"), hand, "Label2"},
        {ChildWithText(box.Panel1(), "Support-Forum:"), hand, "Label4"},
        {box.JvLabel1().Handle(), hand, "JvLabel1"},
        {box.JvLabel2().Handle(), hand, "JvLabel2"},
        {box.Image1(), hand, "Image1"},
        {box.Memo1(), SystemCursor(IDC_IBEAM), "Memo1 keeps the text pointer"},
        {box.OKButton(), SystemCursor(IDC_ARROW), "OKButton is outside the panel"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_NE(row.window, nullptr);
        EXPECT_EQ(PointerOver(row.window), row.pointer);
    }
}

TEST(AboutBox, PanelBevelsBevel1AndBackground) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    program.About();
    Repaint(program.application, box.Handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, highlight);
    const struct {
        int x, y;
        COLORREF colour;
        const char* what;
    } rows[] = {
        {0, 0, shadow, "outer bevel lowered: top left"},
        {220, 0, shadow, "outer bevel: top"},
        {0, 150, shadow, "outer bevel: left"},
        {440, 150, highlight, "outer bevel: right"},
        {220, 288, highlight, "outer bevel: bottom"},
        {1, 1, highlight, "inner bevel raised: top left"},
        {220, 1, highlight, "inner bevel: top"},
        {439, 150, shadow, "inner bevel: right"},
        {220, 287, shadow, "inner bevel: bottom"},
        {2, 2, face, "inside the bevels"},
        {8, 48, shadow, "Bevel1: left end of its line"},
        {432, 48, shadow, "Bevel1: right end of its line"},
        {220, 49, highlight, "Bevel1: the line's light half"},
        {7, 48, face, "left of Bevel1"},
        {433, 48, face, "right of Bevel1"},
        {7, 56, face, "no line at Bevel1's bottom edge"},
    };
    HDC dc = GetDC(box.Panel1());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(GetPixel(dc, row.x, row.y), row.colour);
    }
    ReleaseDC(box.Panel1(), dc);
    HDC formDc = GetDC(box.Handle());
    for (POINT p : {POINT{3, 3}, POINT{4, 300}, POINT{447, 345}}) {
        SCOPED_TRACE(testing::Message() << "window background " << p.x << "," << p.y);
        EXPECT_EQ(GetPixel(formDc, p.x, p.y), face);
    }
    ReleaseDC(box.Handle(), formDc);
}

TEST(AboutBox, OpensWithoutModalityAndComesBackWhereItWasLeft) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    program.About();
    ASSERT_TRUE(box.Visible());
    const RECT first = WindowRect(box.Handle());
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;
    EXPECT_EQ(first.left, std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2));
    EXPECT_EQ(first.top, std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2));

    // The main window stays usable: enabled, movable, its commands run.
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    SetWindowPos(program.form1->Handle(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    program.application.ProcessMessages();
    EXPECT_EQ(WindowRect(program.form1->Handle()).left, 20);
    SetText(program.form1->LabeledEdit1(), "00-11-22-33-44-55");
    EXPECT_EQ(GetText(program.form1->LabeledEdit1()), "00-11-22-33-44-55");

    SetWindowPos(box.Handle(), nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(box.OKButton(), BM_CLICK, 0, 0);
    program.application.ProcessMessages();
    EXPECT_FALSE(box.Visible());
    EXPECT_TRUE(program.form1->Visible());

    program.About();
    ASSERT_TRUE(box.Visible());
    EXPECT_EQ(WindowRect(box.Handle()).left, 100);
    EXPECT_EQ(WindowRect(box.Handle()).top, 50);

    // The close box hides it the same way; About again only brings it forward when open.
    SendMessageA(box.Handle(), WM_CLOSE, 0, 0);
    program.application.ProcessMessages();
    EXPECT_FALSE(box.Visible());
    program.About();
    SetActiveWindow(program.form1->Handle());
    program.application.ProcessMessages();
    ASSERT_EQ(GetActiveWindow(), program.form1->Handle());
    program.About();
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(GetActiveWindow(), box.Handle());
    EXPECT_EQ(WindowRect(box.Handle()).left, 100);
    EXPECT_EQ(WindowRect(box.Handle()).top, 50);
}

TEST(AboutBox, ImageShowsTheBannerUnscaledOverThePanel) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    ASSERT_TRUE(box.BannerLoaded());
    program.About();
    Repaint(program.application, box.Handle());

    TJpegImage banner;
    ASSERT_TRUE(banner.LoadFromBytes(AboutBannerJpeg()));
    HDC dc = GetDC(box.Image1());
    int mismatches = 0;
    // Exact pixels over the visible part of the picture: the first 425 of its 468 columns.
    for (int y = 0; y < 60; y += 3) {
        for (int x = 0; x < 425; x += 4) {
            const uint32_t expected = banner.PixelAt(x, y);
            const COLORREF actual = GetPixel(dc, x, y);
            if (actual != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": 0x" << actual
                              << " instead of 0x" << expected;
            }
        }
    }
    EXPECT_EQ(banner.PixelAt(424, 30), static_cast<uint32_t>(GetPixel(dc, 424, 30)));
    // Below the picture the panel shows through.
    const COLORREF panel = GetSysColor(COLOR_BTNFACE);
    for (int y = 60; y < 65; ++y) {
        for (int x : {0, 100, 424}) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(GetPixel(dc, x, y), panel);
        }
    }
    ReleaseDC(box.Image1(), dc);
}

TEST(AboutBox, OpensWithThePanelWhereTheBannerIsBroken) {
    const std::string banner = AboutBannerJpeg();
    const struct {
        std::string bytes;
        const char* what;
    } rows[] = {
        {"", "missing"},
        {banner.substr(0, banner.size() / 2), "truncated"},
        {"GIF89a", "not a JPEG"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Program program(row.bytes);
        TAboutBox& box = *program.aboutBox;
        EXPECT_FALSE(box.BannerLoaded());
        program.About();
        ASSERT_TRUE(box.Visible());
        Repaint(program.application, box.Handle());
        HDC dc = GetDC(box.Image1());
        for (POINT p : {POINT{0, 0}, POINT{6, 6}, POINT{200, 30}, POINT{424, 64}}) {
            EXPECT_EQ(GetPixel(dc, p.x, p.y), GetSysColor(COLOR_BTNFACE));
        }
        ReleaseDC(box.Image1(), dc);
    }
}

TEST(AboutBox, LinkClickOpensItsUrlOnceAndKeepsTheBoxOpen) {
    Program program;
    RecordingShell shell;
    TAboutBox& box = *program.aboutBox;
    program.About();
    struct Link {
        TJvLabelWin* label;
        const char* url;
    };
    const Link links[] = {
        {&box.JvLabel1(), "https://corvane.example.org/"},
        {&box.JvLabel2(), "https://corvane.example.org/issues"},
    };
    size_t expectedOpens = 0;
    for (const Link& link : links) {
        SCOPED_TRACE(link.url);
        EXPECT_EQ(link.label->Label().URL(), link.url);
        SendMessageA(link.label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(link.label->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        program.application.ProcessMessages();
        ++expectedOpens;
        ASSERT_EQ(shell.Requests().size(), expectedOpens);
        EXPECT_EQ(shell.Requests().back().verb, "open");
        EXPECT_EQ(shell.Requests().back().file, link.url);
        EXPECT_TRUE(box.Visible());
    }
}

TEST(AboutBox, ExceptionInALinkClickGoesToTheErrorBox) {
    Program program;
    RecordingShell shell;
    TAboutBox& box = *program.aboutBox;
    program.About();
    box.JvLabel1().Label().OnClick = [] { throw Exception("Link handler failed"); };
    BoxWatcher boxes(program.form1->Handle());
    HWND link = box.JvLabel1().Handle();
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    program.application.ProcessMessages();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Link handler failed.");
    EXPECT_EQ(boxes.Boxes()[0].caption, "CorVane");
    EXPECT_TRUE(boxes.Boxes()[0].stopIcon);
    EXPECT_TRUE(shell.Requests().empty());  // the click ended before opening its URL
    EXPECT_TRUE(box.Visible());
}

}  // namespace
