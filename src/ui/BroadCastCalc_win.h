#pragma once

#include <functional>
#include <memory>
#include <string>

#include "calc/IdNetworkCalculator.h"
#include "controls/JvBehaviorLabel.h"
#include "controls/JvBehaviorLabel_win.h"
#include "controls/JvIPAddress.h"
#include "controls/JvIPAddress_win.h"
#include "platform/Form_win.h"

// The broadcast calculator window, shown without modality from the main window's menu:
// address and mask in; class, network, hosts and the private/public verdict in the memo; the
// broadcast address typed out in lblBCast and handed on request to onSendBroadcast, which
// start-up connects to the main window's IP field.
// Closing it only hides it, so every field keeps its contents.
class TForm2 : public TForm {
public:
    // Control ids (tests send commands by them).
    enum : int32_t {
        kJvIPAddress1 = 301,
        kJvIPAddress2,
        kMemo1,
        kSpeedButton1,
        kSpeedButton2,
    };

    TForm2();
    ~TForm2() override;

    TJvIPAddress& JvIPAddress1() { return jvIPAddress1_; }
    TJvIPAddress& JvIPAddress2() { return jvIPAddress2_; }
    // The control windows (made on first need, see CreateControlsOnFirstNeed).
    HWND JvIPAddress1Handle() { return JvIPAddress1Window().Handle(); }
    HWND JvIPAddress2Handle() { return JvIPAddress2Window().Handle(); }
    const TJvIPAddressWindow& JvIPAddress1Window() { return *Built(jvIPAddress1Window_); }
    const TJvIPAddressWindow& JvIPAddress2Window() { return *Built(jvIPAddress2Window_); }
    HWND Label1() { return Built(label1_); }
    HWND Label2() { return Built(label2_); }
    HWND Memo1() { return Built(memo1_); }
    HWND Label3() { return Built(label3_); }
    TJvBehaviorLabel& LblBCast() { return lblBCast_; }
    HWND LblBCastHandle() { return Built(lblBCastWindow_)->Handle(); }
    HWND SpeedButton1() { return Built(speedButton1_); }
    HWND SpeedButton2() { return Built(speedButton2_); }
    // Kept with the button; this window does not switch hints on, so it is never displayed.
    const std::string& SpeedButton2Hint() const { return speedButton2Hint_; }
    TIdNetworkCalculator& IdNetworkCalculator1() { return idNetworkCalculator1_; }

    // "Calculate".
    void SpeedButton1Click();
    // "Send BCast to Main Window": hands the broadcast address to onSendBroadcast.
    void SpeedButton2Click();

    // Receives the broadcast address; set at start-up (ConnectCalculatorToMainWindow).
    std::function<void(const std::string&)> onSendBroadcast;

private:
    void CreateControls();

    HBITMAP glyph_ = nullptr;
    HWND label1_ = nullptr;
    HWND label2_ = nullptr;
    TJvIPAddress jvIPAddress1_;
    TJvIPAddress jvIPAddress2_;
    std::unique_ptr<TJvIPAddressWindow> jvIPAddress1Window_;
    std::unique_ptr<TJvIPAddressWindow> jvIPAddress2Window_;
    HWND speedButton1_ = nullptr;
    HWND memo1_ = nullptr;
    HWND label3_ = nullptr;
    TJvBehaviorLabel lblBCast_;
    std::unique_ptr<TJvBehaviorLabelWindow> lblBCastWindow_;
    HWND speedButton2_ = nullptr;
    std::string speedButton2Hint_ =
        "Sends the calculated Broadcast Address to the Main Window (Field: IP-Address)";
    TIdNetworkCalculator idNetworkCalculator1_;
};
