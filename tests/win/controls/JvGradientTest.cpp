#include <gtest/gtest.h>

#include "controls/JvGradient_win.h"
#include "ui/Platform_win.h"

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

    // A repaint copies the cached picture; a property change rebuilds it.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_TRUE(gradient.Gradient().IsCached(213, 344));
    gradient.Gradient().SetStartColor(RgbColor(255, 0, 0));
    EXPECT_FALSE(gradient.Gradient().IsCached(213, 344));
    UpdateWindow(window);
    EXPECT_EQ(Rgb(PixelAt(window, 0, 0)), RgbColor(255, 0, 0));

    painted = nullptr;
    DestroyWindow(window);
}

}  // namespace
