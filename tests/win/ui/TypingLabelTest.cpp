// The calculator's typing label lblBCast under Wine, read from outside the way a script or a
// screen reader reads it: its window text is the whole caption at every step of the typing, while
// the screen shows the partly typed text exactly as a static text showing that text would.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/StartUp_win.h"
#include "ui/Unit1_win.h"
#include "win/WindowGeometry.h"

namespace {

struct Program {
    Program() {
        application.SetTitle("CorVane");
        form1 = &application.CreateForm<TForm1>();
        form2 = &application.CreateForm<TForm2>();
        ConnectCalculatorToMainWindow(*form2, *form1);
        form2->Show();
        application.ProcessMessages();
    }
    void Calculate(const std::string& address, const std::string& mask) {
        form2->JvIPAddress1().SetText(address);
        form2->JvIPAddress2().SetText(mask);
        SendMessageA(form2->SpeedButton1(), BM_CLICK, 0, 0);
    }

    TApplication application;
    TForm1* form1 = nullptr;
    TForm2* form2 = nullptr;
};

// WM_GETTEXT, as another program sends it.
std::string ReadText(HWND window) {
    char buffer[64] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::vector<COLORREF> Pixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(window, dc);
    return pixels;
}

TEST(TypingLabel, ReadingItWhileItTypesGivesTheWholeCaption) {
    Program program;
    TForm2& form = *program.form2;
    const HWND label = form.LblBCastHandle();
    const HWND self = form.Handle();
    // The same static text the label was before, in an empty corner of the same window (so it
    // gets the same colours), showing what the label shows at each step.
    HWND reference =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 16, 120, 0,
                        0, self, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(reference, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFormFont()), FALSE);

    program.Calculate("192.168.0.10", "255.255.255.0");
    ASSERT_TRUE(form.LblBCast().UseShownText());
    const RECT bounds = ChildBounds(self, label);
    SetWindowPos(reference, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::set<std::string> shown;
    int compared = 0;
    for (int i = 0; i < 1000 && form.LblBCast().UseShownText(); ++i) {
        EXPECT_EQ(ReadText(label), "192.168.0.255");
        EXPECT_EQ(GetText(label), "192.168.0.255");
        const std::string now = form.LblBCast().ShownText();
        if (shown.insert(now).second) {
            SetText(reference, now);
            UpdateWindow(reference);
            UpdateWindow(label);
            EXPECT_EQ(Pixels(label), Pixels(reference)) << "showing '" << now << "'";
            ++compared;
        }
        program.application.ProcessMessages();
        Sleep(5);
    }
    EXPECT_FALSE(form.LblBCast().UseShownText());
    // Every step was seen: the empty start, then one more letter each (a wrong letter is one step
    // more), so at least the 13 prefixes.
    EXPECT_GE(compared, 13);
    EXPECT_TRUE(shown.count("") == 1 && shown.count("1") == 1 && shown.count("192.168.0.25") == 1);
    EXPECT_EQ(ReadText(label), "192.168.0.255");
    // Done: the plain caption, painted as the static text paints it.
    SetText(reference, "192.168.0.255");
    UpdateWindow(reference);
    UpdateWindow(label);
    EXPECT_EQ(Pixels(label), Pixels(reference));
    DestroyWindow(reference);
}

// With nothing to type the label keeps its designed 9 x 13; with a caption it is exactly as wide
// and high as the caption's text, so the typed text always fits.
TEST(TypingLabel, DesignedSizeWhenEmptySizedToTheCaptionOtherwise) {
    Program program;
    TForm2& form = *program.form2;
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, 9, 13);
    program.Calculate("8.8.8.8", "255.0.0.0");
    const SIZE text = TextExtent(DefaultFormFont(), "8.255.255.255");
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, text.cx, text.cy);
    form.LblBCast().SetCaption("");
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, 9, 13);
    EXPECT_EQ(ReadText(form.LblBCastHandle()), "");
}

}  // namespace
