#pragma once

#include <gtest/gtest.h>

#include "base/WinApi.h"

// A child window's rectangle in its parent's client coordinates.
inline RECT ChildBounds(HWND parent, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Checks that a child sits where the window's layout puts it.
inline void ExpectBounds(HWND parent, HWND child, int left, int top, int width, int height) {
    const RECT r = ChildBounds(parent, child);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}
