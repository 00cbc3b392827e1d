// The About box under Wine: built by the real code, opened from the main window's menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "base/WinApi.h"
#include "controls/JvLabel_win.h"
#include "support/RecordingShell.h"
#include "ui/AboutBanner.h"
#include "ui/About_win.h"
#include "ui/Application_win.h"
#include "ui/Controls_win.h"
#include "ui/JpegImage.h"
#include "ui/Unit1_win.h"

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

RECT Bounds(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectBounds(HWND parent, HWND child, int left, int top, int width, int height) {
    const RECT r = Bounds(parent, child);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

RECT WindowRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

std::set<std::string> ChildTexts(HWND parent) {
    std::set<std::string> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        texts.insert(GetText(child));
    }
    return texts;
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
    EXPECT_NE(GetText(box.Memo1()), "");
    const std::set<std::string> texts = ChildTexts(box.Panel1());
    for (const char* text : {"Corvane 1.0a ", "...cause your PC doesn't deserve to sleep",
                             "Version 1.0a - build 05251", "Support-Forum:", "Topic:"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.count(text), 1u);
    }
    EXPECT_EQ(box.JvLabel1().Label().Left(), 152);
    EXPECT_EQ(box.JvLabel1().Label().Top(), 104);
    EXPECT_EQ(box.JvLabel2().Label().Left(), 152);
    EXPECT_EQ(box.JvLabel2().Label().Top(), 120);
    EXPECT_EQ(box.JvLabel2().Label().Caption(), box.JvLabel2().Label().URL());
    EXPECT_EQ(box.JvLabel1().Label().Font().color, clBlue);
    EXPECT_EQ(box.JvLabel1().Label().HotTrackFont().name, "Proxy 1");
    // Tab order: the memo inside the panel, then OK.
    EXPECT_EQ(GetNextDlgTabItem(box.Handle(), box.Memo1(), FALSE), box.OKButton());
    EXPECT_EQ(GetNextDlgTabItem(box.Handle(), box.OKButton(), FALSE), box.Memo1());
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
    program.About();
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(WindowRect(box.Handle()).left, 100);
}

TEST(AboutBox, ImageShowsTheBannerUnscaledOverThePanel) {
    Program program;
    TAboutBox& box = *program.aboutBox;
    ASSERT_TRUE(box.BannerLoaded());
    program.About();
    UpdateWindow(box.Handle());
    RedrawWindow(box.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    program.application.ProcessMessages();

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
        RedrawWindow(box.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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

}  // namespace
