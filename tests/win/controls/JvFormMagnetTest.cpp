#include <gtest/gtest.h>

#include <vector>

#include "controls/JvFormMagnet_win.h"
#include "platform/Application_win.h"
#include "platform/Platform_win.h"
#include "ui/Unit1_win.h"

namespace {

std::vector<RECT> movingSeenByWindow;

LRESULT CALLBACK TestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOVING) {
        movingSeenByWindow.push_back(*reinterpret_cast<RECT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTestWindow(int left, int top, int width, int height) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TestWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MagnetTestWindow";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, "MagnetTestWindow", "", WS_POPUP, left, top, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

RECT Bounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

TEST(JvFormMagnetWin, SnapsAMovingWindowToTheWorkAreaAndDragsGluedWindows) {
    InstallWin32Platform();  // the clock that stamps the moves
    HWND form = CreateTestWindow(300, 300, 219, 380);
    HWND glued = CreateTestWindow(519, 400, 100, 100);  // hidden, left on the form's right
    ASSERT_NE(form, nullptr);
    TJvFormMagnetWin magnet(form, [&] { return std::vector<HWND>{form, glued}; });
    magnet.Magnet().SetActive(true);

    RECT workArea{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT proposed{workArea.left + 10, 290, workArea.left + 10 + 219, 290 + 380};
    SendMessageA(form, WM_MOVING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.left, workArea.left);
    EXPECT_EQ(proposed.right, workArea.left + 219);
    EXPECT_EQ(proposed.top, 290);

    // The window's own procedure still saw the notification, with the snapped rectangle.
    ASSERT_EQ(movingSeenByWindow.size(), 1u);
    EXPECT_EQ(movingSeenByWindow[0].left, workArea.left);

    // The hidden window that touched the form moved by the same distance.
    const RECT g = Bounds(glued);
    EXPECT_EQ(g.left, 519 + (workArea.left - 300));
    EXPECT_EQ(g.top, 390);
    EXPECT_FALSE(IsWindowVisible(glued));

    magnet.Magnet().SetActive(false);
    RECT untouched{workArea.left + 10, 290, workArea.left + 229, 670};
    SendMessageA(form, WM_MOVING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&untouched));
    EXPECT_EQ(untouched.left, workArea.left + 10);
    EXPECT_EQ(movingSeenByWindow.size(), 2u);

    DestroyWindow(glued);
    DestroyWindow(form);
}

TEST(JvFormMagnetWin, MainWindowSnapsToTheWorkAreaLeftEdge) {
    TApplication application;
    application.SetCommandLine("corvane.exe");
    TForm1& form = application.CreateForm<TForm1>();
    form.Show();
    application.ProcessMessages();
    EXPECT_TRUE(form.JvFormMagnet1().Magnet().Active());

    RECT workArea{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const RECT current = Bounds(form.Handle());
    const int width = current.right - current.left;
    const int height = current.bottom - current.top;
    RECT proposed{workArea.left + 7, current.top, workArea.left + 7 + width, current.top + height};
    SendMessageA(form.Handle(), WM_MOVING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.left, workArea.left);
    EXPECT_EQ(proposed.right, workArea.left + width);
    EXPECT_EQ(proposed.top, current.top);
}

}  // namespace
