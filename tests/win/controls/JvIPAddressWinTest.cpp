#include <gtest/gtest.h>

#include <string>

#include "base/Exception.h"
#include "controls/JvIPAddress_win.h"
#include "platform/Platform_win.h"

namespace {

HFONT TestFont() {
    static HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    0, 0, 0, 0, "MS Sans Serif");
    return font;
}

// A top-level window with an edit before and after the address control, pumped the way the
// program pumps (dialog keys first).
struct Host {
    HWND window = nullptr;
    HWND before = nullptr;
    HWND after = nullptr;
    TJvIPAddress control;
    std::unique_ptr<TJvIPAddressWindow> ip;
    int changes = 0;

    Host() {
        InstallWin32Platform();  // the system colours the fields are painted in
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "IpAddressTestHost";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_CONTROLPARENT, "IpAddressTestHost", "host",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        before = Edit(10);
        ip = std::make_unique<TJvIPAddressWindow>(control, window, 10, 40, 150, 7, TestFont());
        after = Edit(70);
        control.SetOnChange([this](TJvIPAddress&) { ++changes; });
        SetForegroundWindow(window);
        Pump();
    }
    ~Host() {
        ip.reset();
        DestroyWindow(window);
    }
    HWND Edit(int top) {
        return CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10,
                               top, 150, 21, window, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    void PressTab(bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        Pump();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Type(HWND field, const std::string& text) {
        for (char c : text) {
            PostMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 0);
        }
        Pump();
    }
    std::string Text() { return control.Text(); }
};

TEST(JvIPAddressWin, HeightFollowsTheFontAndFieldsStartAtZero) {
    Host host;
    RECT r;
    GetWindowRect(host.ip->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 150);
    EXPECT_EQ(r.bottom - r.top, 21);
    EXPECT_EQ(host.Text(), "0.0.0.0");
}

TEST(JvIPAddressWin, AssignedTextIsNormalised) {
    Host host;
    for (const auto& [text, shown] : {std::pair{"192.168.1.300", "192.168.1.44"},
                                      {"1.2.3", "1.2.3.0"},
                                      {"abc", "0.0.0.0"},
                                      {"1.2.3.4.5", "1.2.3.0"}}) {
        SCOPED_TRACE(text);
        host.control.SetText(text);
        host.Pump();
        EXPECT_EQ(host.Text(), shown);
    }
}

TEST(JvIPAddressWin, TabMovesThroughTheFieldsAndOut) {
    Host host;
    SetFocus(host.ip->Field(0));
    for (int field = 1; field < 4; ++field) {
        host.PressTab(false);
        EXPECT_EQ(GetFocus(), host.ip->Field(field)) << "field " << field;
    }
    host.PressTab(false);
    EXPECT_EQ(GetFocus(), host.after);

    SetFocus(host.ip->Field(2));
    host.PressTab(true);
    EXPECT_EQ(GetFocus(), host.ip->Field(1));
    host.PressTab(true);
    EXPECT_EQ(GetFocus(), host.ip->Field(0));
    host.PressTab(true);
    EXPECT_EQ(GetFocus(), host.before);
}

TEST(JvIPAddressWin, BlankFieldsShowZeroAfterFocusLeavesWithoutOnChange) {
    Host host;
    SendMessageA(host.ip->Handle(), IPM_CLEARADDRESS, 0, 0);
    SetFocus(host.ip->Field(0));
    host.Type(host.ip->Field(0), "10");
    EXPECT_GT(host.changes, 0);
    EXPECT_EQ(host.control.Address(), 0x0A000000u);
    const int changesBefore = host.changes;
    SetFocus(host.after);
    host.Pump();
    EXPECT_EQ(host.Text(), "10.0.0.0");
    EXPECT_EQ(host.changes, changesBefore);

    // All fields blank: they stay blank.
    SetFocus(host.ip->Field(0));
    SendMessageA(host.ip->Handle(), IPM_CLEARADDRESS, 0, 0);
    SetFocus(host.after);
    host.Pump();
    EXPECT_NE(SendMessageA(host.ip->Handle(), IPM_ISBLANK, 0, 0), 0);
}

TEST(JvIPAddressWin, FieldRangeReachesTheControlAndFieldChangeIsReported) {
    Host host;
    host.control.Range().SetField1Max(223);
    int reportedField = -1;
    int reportedValue = -1;
    int reportedMax = -1;
    host.control.SetOnFieldChange(
        [&](TJvIPAddress&, int field, TJvIPAddressMinMax range, int& value) {
            if (reportedField < 0) {  // the first report carries the typed value
                reportedField = field;
                reportedValue = value;
                reportedMax = range.Max;
            }
        });
    SetFocus(host.ip->Field(0));
    SendMessageA(host.ip->Field(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    host.Type(host.ip->Field(0), "250");
    SetFocus(host.after);
    host.Pump();
    EXPECT_EQ(reportedField, 0);
    EXPECT_EQ(reportedValue, 250);
    EXPECT_EQ(reportedMax, 223);
    EXPECT_EQ(host.Text(), "223.0.0.0");
}

TEST(JvIPAddressWin, PaintsTheDotsBetweenTheFields) {
    Host host;
    InvalidateRect(host.ip->Handle(), nullptr, TRUE);
    UpdateWindow(host.ip->Handle());
    host.Pump();
    HDC dc = GetDC(host.ip->Handle());
    for (int gap = 0; gap < 3; ++gap) {
        RECT left;
        RECT right;
        GetWindowRect(host.ip->Field(gap), &left);
        GetWindowRect(host.ip->Field(gap + 1), &right);
        MapWindowPoints(nullptr, host.ip->Handle(), reinterpret_cast<POINT*>(&left), 2);
        MapWindowPoints(nullptr, host.ip->Handle(), reinterpret_cast<POINT*>(&right), 2);
        int dark = 0;
        for (int x = left.right; x < right.left; ++x) {
            for (int y = 0; y < 21; ++y) {
                const COLORREF pixel = GetPixel(dc, x, y);
                dark += pixel != CLR_INVALID && GetRValue(pixel) < 128 ? 1 : 0;
            }
        }
        EXPECT_GT(dark, 0) << "no dot between fields " << gap << " and " << gap + 1;
    }
    ReleaseDC(host.ip->Handle(), dc);
}

TEST(JvIPAddressWin, FieldsFollowTheControlsEnabling) {
    Host host;
    for (const BOOL enabled : {FALSE, TRUE}) {
        EnableWindow(host.ip->Handle(), enabled);
        host.Pump();
        for (int field = 0; field < 4; ++field) {
            EXPECT_EQ(IsWindowEnabled(host.ip->Field(field)), enabled) << field;
        }
    }
}

TEST(JvIPAddressWin, FieldsShowTheControlsColours) {
    Host host;
    host.ip->color = clSkyBlue;
    HDC dc = GetDC(host.ip->Field(1));
    const HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(host.ip->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(host.ip->Field(1))));
    LOGBRUSH info{};
    GetObjectA(brush, sizeof(info), &info);
    EXPECT_EQ(info.lbColor, RGB(166, 202, 240));
    EXPECT_EQ(GetBkColor(dc), RGB(166, 202, 240));
    ReleaseDC(host.ip->Field(1), dc);
}

TEST(JvIPAddressWin, ReportsMissingAddressControlClass) {
    TJvIPAddressWindow::SetClassInitializer([] { return false; });
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    TJvIPAddress control;
    try {
        TJvIPAddressWindow window(control, parent, 0, 0, 150, 1, TestFont());
        ADD_FAILURE() << "created without the class";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "This control requires version 4.70 or greater of COMCTL32.DLL");
    }
    TJvIPAddressWindow::SetClassInitializer(nullptr);
    DestroyWindow(parent);
}

}  // namespace
