#include <gtest/gtest.h>

#include "controls/JvGradient_win.h"
#include "platform/Application_win.h"
#include "platform/Platform_win.h"
#include "ui/Unit1_win.h"

namespace {

TJvGradientWin* painted = nullptr;

LRESULT CALLBACK TestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && painted != nullptr) {
        RECT client;
        GetClientRect(window, &client);
        painted->PaintBackground(reinterpret_cast<HDC>(wParam), client);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTestWindow(int width, int height) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TestWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "GradientTestWindow";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST, "GradientTestWindow", "", WS_POPUP, 40, 40, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

TColor Rgb(COLORREF c) {
    return RgbColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TEST(JvGradientWin, PaintsTheVerticalBandsOfTheMainWindow) {
    InstallWin32Platform();
    HWND window = CreateTestWindow(213, 344);
    ASSERT_NE(window, nullptr);
    TJvGradientWin gradient(window);
    painted = &gradient;
    gradient.Gradient().SetStyle(grVertical);
    gradient.Gradient().SetStartColor(clSkyBlue);
    gradient.Gradient().SetEndColor(clHotLight);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);

    const TColor hotLight = ColorToRgb(clHotLight);
    EXPECT_EQ(hotLight, RgbColor(0, 102, 204));  // as the test prefix sets it
    EXPECT_EQ(Rgb(PixelAt(window, 0, 0)), clSkyBlue);
    EXPECT_EQ(Rgb(PixelAt(window, 212, 2)), clSkyBlue);
    // Bands start at rows 0, 3, 7, 10, ...: rows 3..6 hold band 1, row 7 band 2.
    EXPECT_EQ(Rgb(PixelAt(window, 100, 3)), GradientBandColor(clSkyBlue, hotLight, 100, 1));
    EXPECT_EQ(Rgb(PixelAt(window, 100, 6)), GradientBandColor(clSkyBlue, hotLight, 100, 1));
    EXPECT_EQ(Rgb(PixelAt(window, 100, 7)), GradientBandColor(clSkyBlue, hotLight, 100, 2));
    EXPECT_EQ(Rgb(PixelAt(window, 5, 343)), GradientBandColor(clSkyBlue, hotLight, 100, 99));

    // Repaints (exposed, covered and uncovered) copy the cached picture; a property change
    // rebuilds it once.
    EXPECT_EQ(gradient.Gradient().RenderCount(), 1);
    for (int i = 0; i < 3; ++i) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    SetWindowPos(window, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(gradient.Gradient().RenderCount(), 1);
    EXPECT_EQ(Rgb(PixelAt(window, 100, 7)), GradientBandColor(clSkyBlue, hotLight, 100, 2));
    gradient.Gradient().SetStartColor(RgbColor(255, 0, 0));
    EXPECT_FALSE(gradient.Gradient().IsCached(213, 344));
    UpdateWindow(window);
    EXPECT_EQ(gradient.Gradient().RenderCount(), 2);
    EXPECT_EQ(Rgb(PixelAt(window, 0, 0)), RgbColor(255, 0, 0));

    painted = nullptr;
    DestroyWindow(window);
}

TEST(JvGradientWin, MainWindowShadesFromSkyBlueBehindItsControls) {
    TApplication application;
    application.SetCommandLine("corvane.exe");
    TForm1& form = application.CreateForm<TForm1>();
    form.Show();
    application.ProcessMessages();
    UpdateWindow(form.Handle());

    RECT client{};
    GetClientRect(form.Handle(), &client);
    ASSERT_EQ(client.bottom, 344);
    const TColor hotLight = ColorToRgb(clHotLight);
    auto band = [&](int i) { return GradientBandColor(clSkyBlue, hotLight, 100, i); };
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 2, 0)), clSkyBlue);
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 210, 2)), clSkyBlue);
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 2, 3)), band(1));
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 2, 6)), band(1));
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 2, 7)), band(2));
    EXPECT_EQ(Rgb(PixelAt(form.Handle(), 2, 341)), band(99));
    EXPECT_EQ(form.JvGradient1().Gradient().Style(), grVertical);
    EXPECT_EQ(form.JvGradient1().Gradient().Align(), alClient);

    // Covering and uncovering the window only copies the picture.
    const int32_t renders = form.JvGradient1().Gradient().RenderCount();
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(form.JvGradient1().Gradient().RenderCount(), renders);

    // The transparent Label1 (16, 115, 120 x 13) shows the bands through it: most of its
    // pixels have the colour of their row's band (the rest is text).
    auto bandOfRow = [](int y) {
        int i = 0;
        while (RoundHalfEven((i + 1) * 3.44) <= y) {
            ++i;
        }
        return i;
    };
    HDC dc = GetDC(form.Handle());
    int matching = 0;
    for (int y = 115; y < 128; ++y) {
        for (int x = 16; x < 136; ++x) {
            matching += Rgb(GetPixel(dc, x, y)) == band(bandOfRow(y)) ? 1 : 0;
        }
    }
    ReleaseDC(form.Handle(), dc);
    EXPECT_GT(matching, 120 * 13 / 2);
}

}  // namespace
