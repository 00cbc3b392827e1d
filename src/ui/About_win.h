#pragma once

#include <memory>
#include <string>

#include "platform/Form_win.h"
#include "ui/AboutBanner_win.h"

class TJvLabelWin;

// The About box, shown without modality from the main window's menu; centred on the screen the
// first time, then where it was left. OK and the close box hide it.
class TAboutBox : public TForm {
public:
    // The banner is the picture built into the program; a test may hand in other bytes.
    explicit TAboutBox(const std::string& bannerJpeg = AboutBannerJpeg());
    ~TAboutBox() override;

    // Control ids; the panel's controls are children of Panel1.
    static constexpr int32_t kPanel1 = 100;
    static constexpr int32_t kImage1 = 101;
    static constexpr int32_t kMemo1 = 102;
    static constexpr int32_t kOKButton = IDOK;  // Enter presses it

    // The controls, made on first need (see CreateControlsOnFirstNeed): the banner is decoded
    // then too.
    HWND Panel1() { return Built(panel1_); }
    HWND Image1() { return Built(image1_); }
    HWND Memo1() { return Built(memo1_); }
    HWND OKButton() { return Built(okButton_); }
    TJvLabelWin& JvLabel1() { return *Built(jvLabel1_); }
    TJvLabelWin& JvLabel2() { return *Built(jvLabel2_); }
    // True when the banner was decoded; without it Image1 shows the panel only.
    bool BannerLoaded();

    void OKButtonClick();

private:
    void CreateControls();

    std::string bannerJpeg_;  // until the controls are made
    HWND panel1_ = nullptr;
    HWND image1_ = nullptr;
    HWND memo1_ = nullptr;
    HWND okButton_ = nullptr;
    std::unique_ptr<TJvLabelWin> jvLabel1_;
    std::unique_ptr<TJvLabelWin> jvLabel2_;
    class TPanel;
    class TImage;
    std::unique_ptr<TPanel> panel_;
    std::unique_ptr<TImage> image_;
};
