#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/WinApi.h"
#include "controls/JvIPAddress.h"
#include "platform/Platform.h"

// The Win32 part of TJvIPAddress: the platform's four-field address control ("SysIPAddress32")
// as a child window, reporting its notifications to the address logic. It sees the fields' keys
// first (Tab between fields), paints the background and the dots itself, and colours the fields.
class TJvIPAddressWindow : public TJvIPAddressPlatform {
public:
    // Throws Exception "This control requires version 4.70 or greater of COMCTL32.DLL" when the
    // address control class cannot be initialised. The height follows the font: its text
    // height plus 8 thin borders.
    TJvIPAddressWindow(TJvIPAddress& control, HWND parent, int32_t left, int32_t top, int32_t width,
                       int32_t id, HFONT font);
    ~TJvIPAddressWindow() override;
    TJvIPAddressWindow(const TJvIPAddressWindow&) = delete;
    TJvIPAddressWindow& operator=(const TJvIPAddressWindow&) = delete;

    HWND Handle() const { return handle_; }
    // The four field windows, left to right.
    HWND Field(int index) const { return fields_[index]; }

    void SetAddress(uint32_t address) override;
    uint32_t GetAddress() override;
    void ClearAddress() override;
    void SetFieldRange(int field, uint8_t min, uint8_t max) override;
    bool IsBlank() override;
    void SetText(const std::string& text) override;
    std::string GetText() override;

    TColor color = clWindow;
    TColor fontColor = clWindowText;

    // Replaces the class initialisation (tests make it fail); empty: the common controls'.
    static void SetClassInitializer(std::function<bool()> initializer);

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    void Paint();
    void MoveFocus(int fromField, bool backwards);

    TJvIPAddress& control_;
    HWND parent_;
    HWND handle_ = nullptr;
    HWND fields_[4] = {};
    HFONT font_;
    HBRUSH brush_ = nullptr;  // the fields' background
    TColor brushColor_ = 0;
};
