#pragma once

#include "platform/Form_win.h"

// The address book window: created hidden at start-up; nothing in the program shows it. Its
// "Create/Update Entry" button makes sure addrbook.txt exists next to the executable.
class TForm3 : public TForm {
public:
    TForm3();

    static constexpr int32_t kListBox1 = 300;
    static constexpr int32_t kLabeledEdit1 = 301;  // MAC-Address
    static constexpr int32_t kLabeledEdit2 = 302;  // IP-Address
    static constexpr int32_t kLabeledEdit3 = 303;  // WOL-Passwd
    static constexpr int32_t kLabeledEdit4 = 304;  // Entry Name
    static constexpr int32_t kBitBtn1 = 305;
    static constexpr int32_t kBitBtn2 = IDCANCEL;  // Escape presses it

    // The controls, made on first need (see CreateControlsOnFirstNeed).
    HWND GroupBox1() { return Built(groupBox1_); }
    HWND BitBtn1() { return Built(bitBtn1_); }
    HWND BitBtn2() { return Built(bitBtn2_); }

    void BitBtn1Click();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();

    HWND groupBox1_ = nullptr;
    HWND bitBtn1_ = nullptr;
    HWND bitBtn2_ = nullptr;
};
