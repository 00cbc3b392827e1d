#include "ui/BroadCastCalc_win.h"

#include "calc/BroadCastCalc.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/SpeedButton_win.h"
#include "ui/Resources.h"

namespace {

TFormParams Form2Params() {
    return {.className = "TForm2",
            .caption = "Broadcast Calculator",
            .border = TBorderStyle::kToolWindow,
            .left = 469,
            .top = 428,
            .clientWidth = 384,
            .clientHeight = 190,
            .color = clBtnFace,
            .owner = Application().MainWindowHandle()};
}

// A label that sizes itself to its text.
void SetAutoSizeLabel(HWND label, const std::string& text) {
    const SIZE size = TextExtent(DefaultFormFont(), text);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetText(label, text);
}

}  // namespace

TForm2::TForm2() : TForm(Form2Params()) {
    // The settings of the components; the windows follow when first needed.
    jvIPAddress1_.SetText("0.0.0.0");
    jvIPAddress2_.SetText("0.0.0.0");
    lblBCast_.SetBehavior("Typing");
    idNetworkCalculator1_.NetworkMask().SetAsString("255.255.255.255");
    CreateControlsOnFirstNeed([this] { CreateControls(); });

    OnCommand(kSpeedButton1, [this] { SpeedButton1Click(); });
    OnCommand(kSpeedButton2, [this] { SpeedButton2Click(); });
}

void TForm2::CreateControls() {
    const HWND self = Handle();
    glyph_ = LoadResourceBitmap(IDB_POWER);
    AddBevel(Bounds(8, 8, 169, 105));
    label1_ = CreateAutoSizeLabel(self, 16, 16, "IP-Address");
    jvIPAddress1Window_ = std::make_unique<TJvIPAddressWindow>(jvIPAddress1_, self, 16, 32, 150,
                                                               kJvIPAddress1, DefaultFormFont());
    label2_ = CreateAutoSizeLabel(self, 16, 72, "Subnet Mask");
    jvIPAddress2Window_ = std::make_unique<TJvIPAddressWindow>(jvIPAddress2_, self, 16, 88, 150,
                                                               kJvIPAddress2, DefaultFormFont());
    speedButton1_ =
        CreateSpeedButton(self, Bounds(8, 152, 137, 25), kSpeedButton1, "Calculate", glyph_);
    AddBevel(Bounds(184, 8, 193, 137));
    memo1_ = CreateMemo(self, Bounds(187, 11, 185, 94), kMemo1, /*readOnly=*/true,
                        /*tabStop=*/true, DefaultFormFont(), /*border=*/false);
    SetControlColor(memo1_, clBtnFace);
    SetArrowCursor(memo1_);
    label3_ = CreateAutoSizeLabel(self, 192, 120, "");
    lblBCastWindow_ = std::make_unique<TJvBehaviorLabelWindow>(
        lblBCast_, self, Bounds(288, 120, 9, 13), DefaultFormFont());
    speedButton2_ = CreateSpeedButton(self, Bounds(184, 152, 193, 25), kSpeedButton2,
                                      "Send BCast to Main Window", glyph_);
    SetFocusControl(jvIPAddress1Window_->Handle());
}

TForm2::~TForm2() {
    // The controls' windows go before the window that holds them.
    lblBCastWindow_.reset();
    jvIPAddress2Window_.reset();
    jvIPAddress1Window_.reset();
    if (glyph_ != nullptr) {
        DeleteObject(glyph_);
    }
}

void TForm2::SpeedButton1Click() {
    EnsureControls();
    MemoClear(memo1_);
    lblBCast_.SetCaption("");
    SetAutoSizeLabel(label3_, "");
    // Either assignment may raise (unreadable text, non-contiguous mask); the window then
    // stays emptied and the error box shows the message.
    idNetworkCalculator1_.NetworkAddress().SetAsString(jvIPAddress1_.Text());
    idNetworkCalculator1_.NetworkMask().SetAsString(jvIPAddress2_.Text());
    for (const std::string& line : CalculatorResultLines(idNetworkCalculator1_)) {
        MemoAddLine(memo1_, line);
    }
    SetAutoSizeLabel(label3_, "Broadcast-Address:");
    lblBCast_.SetCaption(idNetworkCalculator1_.BroadcastAddressText());
    lblBCast_.BehaviorOptions().SetActive(true);
}

void TForm2::SpeedButton2Click() {
    // The caption holds the whole address even while the label is still typing it out.
    if (onSendBroadcast) {
        onSendBroadcast(lblBCast_.Caption());
    }
}
