#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/WinApi.h"

// Finds the message and error boxes that a handler opens on this thread (a timer procedure runs
// inside their modal loop), records what they show, and closes each with OK.
class BoxWatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
        bool stopIcon = false;       // the system's stop icon is shown
        bool anyIcon = false;        // some icon control exists
        bool mainEnabled = true;     // the main window was enabled while the box showed
        bool mainVisible = true;     // the main window was visible while the box showed
        bool defaultOk = false;      // the OK button is the default button
        bool othersEnabled = false;  // some other visible window of the thread was enabled
        RECT rect{};                 // the box on the screen
        RECT textRect{};             // its text, in its client area
    };

    // closeKey 0 closes each box with a click on OK; VK_RETURN or VK_ESCAPE closes it with
    // that key, as the user would.
    explicit BoxWatcher(HWND mainWindow, WPARAM closeKey = 0)
        : mainWindow_(mainWindow), closeKey_(closeKey) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, OnTimer);
    }
    ~BoxWatcher() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static std::string Text(HWND window) {
        char buffer[2048] = {};
        SendMessageA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    static BOOL CALLBACK FindIcon(HWND child, LPARAM param) {
        auto* box = reinterpret_cast<Box*>(param);
        char className[32] = {};
        GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box->anyIcon = true;
            HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            if (icon != nullptr && icon == LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND))) {
                box->stopIcon = true;
            }
        }
        return TRUE;
    }

    static BOOL CALLBACK FindBox(HWND window, LPARAM) {
        char className[32] = {};
        GetClassNameA(window, className, sizeof(className));
        if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window) ||
            current_->handled_.count(window) != 0) {
            return TRUE;
        }
        current_->handled_.insert(window);
        Box box;
        box.caption = Text(window);
        box.text = Text(GetDlgItem(window, 0xFFFF));
        EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&box));
        box.mainEnabled =
            current_->mainWindow_ != nullptr && IsWindowEnabled(current_->mainWindow_) != FALSE;
        box.mainVisible =
            current_->mainWindow_ != nullptr && IsWindowVisible(current_->mainWindow_) != FALSE;
        HWND ok = GetDlgItem(window, IDOK);
        box.defaultOk = ok != nullptr && (GetWindowLongA(ok, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        GetWindowRect(window, &box.rect);
        HWND text = GetDlgItem(window, 0xFFFF);
        GetWindowRect(text, &box.textRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box.textRect), 2);
        std::pair<HWND, bool> others{window, false};
        EnumThreadWindows(GetCurrentThreadId(), FindEnabled, reinterpret_cast<LPARAM>(&others));
        box.othersEnabled = others.second;
        current_->boxes_.push_back(box);
        if (current_->closeKey_ == 0) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(ok));
        } else {
            PostMessageA(GetFocus() != nullptr ? GetFocus() : window, WM_KEYDOWN,
                         current_->closeKey_, 0);
        }
        return TRUE;
    }

    static BOOL CALLBACK FindEnabled(HWND window, LPARAM param) {
        auto* others = reinterpret_cast<std::pair<HWND, bool>*>(param);
        if (window != others->first && IsWindowVisible(window) && IsWindowEnabled(window)) {
            others->second = true;
        }
        return TRUE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ != nullptr) {
            EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
        }
    }

    static inline BoxWatcher* current_ = nullptr;
    HWND mainWindow_;
    WPARAM closeKey_;
    UINT_PTR timer_ = 0;
    std::set<HWND> handled_;
    std::vector<Box> boxes_;
};
