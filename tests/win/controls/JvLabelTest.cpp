#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "controls/JvLabel_win.h"
#include "platform/Platform_win.h"
#include "support/RecordingShell.h"
#include "win/ui/BoxWatcher.h"

namespace {

HWND CreateParent() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LabelTestParent";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, "LabelTestParent", "", WS_POPUP | WS_VISIBLE, 60, 60, 300, 100,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(JvLabelWin, ClickRaisesOnClickThenOpensTheUrlOnce) {
    InstallWin32Platform();
    RecordingShell shell;  // installed after the platform: records instead of launching
    HWND parent = CreateParent();
    TJvLabelWin link(parent, 10, 10, 65, 17);
    link.Label().SetCaption("Support forum");
    link.Label().SetURL("https://forum.example.org/corvane");
    link.Label().Loaded();
    std::vector<std::string> events;
    link.Label().OnClick = [&] {
        events.push_back("click, opens so far: " + std::to_string(shell.Requests().size()));
    };

    // Auto-sized to its text: wider than a few pixels, one line high.
    RECT bounds{};
    GetClientRect(link.Handle(), &bounds);
    EXPECT_GT(bounds.right, 20);
    EXPECT_GT(bounds.bottom, 5);
    EXPECT_LT(bounds.bottom, 40);

    SendMessageA(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(events, std::vector<std::string>{"click, opens so far: 0"});
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].verb, "open");
    EXPECT_EQ(shell.Requests()[0].file, "https://forum.example.org/corvane");
    EXPECT_EQ(shell.Requests()[0].showCommand, SW_SHOWNORMAL);

    // A release outside the label is no click.
    SendMessageA(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 3));
    EXPECT_EQ(shell.Requests().size(), 1u);
    DestroyWindow(parent);
}

TEST(JvLabelWin, AnExceptionFromOnClickNeverLeavesTheWindowProcedure) {
    InstallWin32Platform();
    RecordingShell shell;
    HWND parent = CreateParent();
    TJvLabelWin link(parent, 10, 10, 65, 17);
    link.Label().SetCaption("Forum");
    link.Label().SetURL("https://forum.example.org/corvane");
    link.Label().Loaded();
    link.Label().OnClick = [] { throw Exception("no forum today"); };
    auto click = [&] {
        SendMessageA(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    };

    {
        BoxWatcher boxes(nullptr);  // by default the dispatcher shows it in the error box
        click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_NE(boxes.Boxes()[0].text.find("no forum today"), std::string::npos);
        EXPECT_TRUE(boxes.Boxes()[0].stopIcon);
    }
    EXPECT_TRUE(shell.Requests().empty());  // the URL is not opened after a failed OnClick

    std::vector<std::string> shown;  // stands in for the error box of the program's dispatcher
    link.runEvent = [&](const std::function<void()>& event) {
        try {
            event();
        } catch (const Exception& e) {
            shown.push_back(e.Message());
        }
    };
    click();
    EXPECT_EQ(shown, std::vector<std::string>{"no forum today"});
    EXPECT_TRUE(shell.Requests().empty());
    DestroyWindow(parent);
}

TEST(JvLabelWin, AFailingShellOpenIsIgnored) {
    InstallWin32Platform();  // the real shell: a missing file makes ShellExecuteA fail
    HWND parent = CreateParent();
    TJvLabelWin link(parent, 10, 10, 65, 17);
    link.Label().SetCaption("Help");
    link.Label().SetURL("C:\\corvane-no-such-folder\\missing.html");
    link.Label().Loaded();
    int clicks = 0;
    link.Label().OnClick = [&] { ++clicks; };
    for (int i = 0; i < 2; ++i) {
        SendMessageA(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    EXPECT_EQ(clicks, 2);  // no box in between, nothing changed
    EXPECT_EQ(link.Label().URL(), "C:\\corvane-no-such-folder\\missing.html");
    DestroyWindow(parent);
}

TEST(JvLabelWin, PaintsItsTextInTheFontColour) {
    InstallWin32Platform();
    HWND parent = CreateParent();
    TJvLabelWin label(parent, 10, 10, 65, 17);
    label.Label().SetCaption("WWWW");
    label.Label().SetColor(RgbColor(255, 255, 255));
    TJvFont font;
    font.color = RgbColor(0, 0, 255);
    font.height = -20;
    label.Label().SetFont(font);
    label.Label().Loaded();
    UpdateWindow(label.Handle());

    HDC dc = GetDC(label.Handle());
    RECT client{};
    GetClientRect(label.Handle(), &client);
    int blue = 0;
    int white = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            blue += pixel == RGB(0, 0, 255) ? 1 : 0;
            white += pixel == RGB(255, 255, 255) ? 1 : 0;
        }
    }
    ReleaseDC(label.Handle(), dc);
    EXPECT_GT(blue, 10);
    EXPECT_GT(white, 10);
    DestroyWindow(parent);
}

}  // namespace
