#pragma once

#include <memory>
#include <string>

#include "controls/JvFormMagnet_win.h"
#include "controls/JvGradient_win.h"
#include "net/IdUDPClient.h"
#include "platform/Controls_win.h"
#include "platform/Form_win.h"
#include "ui/Unit1.h"

// The main window: MAC, IP, password and port fields, "Power on", the log and the menu. Its show
// handler runs the command-line wake with the process's arguments before it first appears.
class TForm1 : public TForm, public TMainWindowHost {
public:
    // Control and menu ids (tests send commands by them).
    enum : int32_t {
        kLabeledEdit1 = 101,
        kLabeledEdit2,
        kEdPassWd,
        kLabeledEdit3,
        kMemo1,
        kSpeedButton1,
        kAddressbook1 = 201,
        kCalculateBroadcastAddress1,
        kHelp1,
        kAbout1,
        kExit1,
    };

    TForm1();
    ~TForm1() override;

    HWND LabeledEdit1() const { return labeledEdit1_.edit; }
    HWND LabeledEdit2() const { return labeledEdit2_.edit; }  // the broadcast calculator writes it
    HWND EdPassWd() const { return edPassWd_; }
    HWND LabeledEdit3() const { return labeledEdit3_.edit; }
    HWND Memo1() const { return memo1_; }
    HWND SpeedButton1() const { return speedButton1_; }
    HMENU MainMenu1() const { return mainMenu1_; }
    TIdUDPClient& IdUDPClient1() { return idUDPClient1_; }
    TJvGradientWin& JvGradient1() { return *jvGradient1_; }
    TJvFormMagnetWin& JvFormMagnet1() { return *jvFormMagnet1_; }

    // Event handlers.
    void FormShow();
    void SpeedButton1Click();
    void Addressbook1Click() {}
    void CalculateBroadcastAddress1Click();
    void Help1Click();
    void About1Click();
    void Exit1Click();

    // TMainWindowHost
    TIdUDPClient& UdpClient() override { return idUDPClient1_; }
    void AddLogLine(const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    void CloseMainWindow() override;
    std::string MacText() override;
    std::string IpText() override;
    std::string PasswordText() override;
    std::string PortText() override;
    void ClearLog() override;

private:
    HMENU mainMenu1_ = nullptr;
    HBITMAP powerGlyph_ = nullptr;
    HWND speedButton1_ = nullptr;
    HWND label1_ = nullptr;
    HWND memo1_ = nullptr;
    TLabeledEdit labeledEdit1_;
    TLabeledEdit labeledEdit2_;
    HWND edPassWd_ = nullptr;
    TLabeledEdit labeledEdit3_;
    TIdUDPClient idUDPClient1_;
    std::unique_ptr<TJvGradientWin> jvGradient1_;
    std::unique_ptr<TJvFormMagnetWin> jvFormMagnet1_;
};
