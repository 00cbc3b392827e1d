#include "ui/Unit1_win.h"

#include "platform/Application_win.h"
#include "platform/MessageDialog_win.h"
#include "platform/Platform.h"
#include "platform/Platform_win.h"
#include "platform/SpeedButton_win.h"
#include "ui/About_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/Resources.h"
#include "wake/CommandLineArgs.h"

namespace {

HMENU CreateMainMenu() {
    HMENU bar = CreateMenu();
    HMENU tools = CreatePopupMenu();
    AppendMenuA(tools, MF_STRING | MF_GRAYED, TForm1::kAddressbook1, "Addressbook");
    AppendMenuA(tools, MF_STRING, TForm1::kCalculateBroadcastAddress1,
                "Calculate Broadcast Address");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Tools");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, TForm1::kHelp1, "Help");
    AppendMenuA(help, MF_STRING, TForm1::kAbout1, "About");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    AppendMenuA(bar, MF_STRING, TForm1::kExit1, "E&xit");
    return bar;
}

TFormParams Form1Params(HMENU menu) {
    TFormParams params;
    params.className = "TForm1";
    params.caption = "Corvane 1.0a";
    params.border = TBorderStyle::kToolWindow;
    params.left = 548;
    params.top = 328;
    params.clientWidth = 213;
    params.clientHeight = 344;
    params.color = clSkyBlue;
    params.menu = menu;
    params.iconId = IDI_CORVANE;
    return params;
}

}  // namespace

TForm1::TForm1() : TForm(Form1Params(CreateMainMenu())) {
    mainMenu1_ = GetMenu(Handle());
    HWND form = Handle();
    // Controls in creation order; the z-order is the tab order. (JvGradient1 comes first and
    // paints the background through onPaintBackground.)
    AddBevel(Bounds(6, 7, 201, 197), true);  // Bevel1
    powerGlyph_ = LoadResourceBitmap(IDB_POWER);
    speedButton1_ =
        CreateSpeedButton(form, Bounds(112, 175, 79, 25), kSpeedButton1, "Power on", powerGlyph_);
    label1_ = CreateLabel(form, Bounds(16, 115, 120, 13), "WOL-Password (optional)");
    memo1_ = CreateMemo(form, Bounds(14, 236, 177, 97), kMemo1, true, false,
                        UiFont("Arial Narrow", 11, FW_NORMAL, false, false, ANSI_CHARSET));
    labeledEdit1_ = CreateLabeledEdit(form, Bounds(14, 31, 177, 21), kLabeledEdit1,
                                      "MAC-Address (xx-xx-xx-xx-xx-xx)", 17);
    labeledEdit2_ = CreateLabeledEdit(form, Bounds(14, 79, 177, 21), kLabeledEdit2,
                                      "IP-Address (192.168.0.255)", 15);
    edPassWd_ = CreateEdit(form, Bounds(16, 131, 177, 21), kEdPassWd, 0, '*');
    labeledEdit3_ = CreateLabeledEdit(form, Bounds(16, 176, 65, 21), kLabeledEdit3, "UDP-Port ", 0);
    SetText(labeledEdit3_.edit, "26354");

    for (HWND label : {label1_, labeledEdit1_.label, labeledEdit2_.label, labeledEdit3_.label}) {
        SetControlColor(label, clNone);
    }
    SetArrowCursor(memo1_);
    SetFocusControl(labeledEdit1_.edit);

    idUDPClient1_.SetBroadcastEnabled(true);

    // JvGradient1 paints the client area beneath every control; JvFormMagnet1 sees WM_MOVING.
    jvGradient1_ = std::make_unique<TJvGradientWin>(form);
    jvGradient1_->Gradient().SetStyle(grVertical);
    jvGradient1_->Gradient().SetStartColor(clSkyBlue);
    jvGradient1_->Gradient().SetEndColor(clHotLight);
    onPaintBackground = [this](HDC dc, const RECT& client) {
        jvGradient1_->PaintBackground(dc, client);
    };
    jvFormMagnet1_ = std::make_unique<TJvFormMagnetWin>(
        form,
        [] {
            // The glue moves hidden windows too, so a drag makes the windows not yet made.
            std::vector<HWND> windows;
            for (const auto& each : Application().Forms()) {
                windows.push_back(each->Handle());
            }
            return windows;
        },
        [] { return Application().MainWindowHandle(); });
    jvFormMagnet1_->Magnet().SetActive(true);

    onShow = [this] { FormShow(); };
    OnCommand(kSpeedButton1, [this] { SpeedButton1Click(); });
    OnCommand(kAddressbook1, [this] { Addressbook1Click(); });
    OnCommand(kCalculateBroadcastAddress1, [this] { CalculateBroadcastAddress1Click(); });
    OnCommand(kHelp1, [this] { Help1Click(); });
    OnCommand(kAbout1, [this] { About1Click(); });
    OnCommand(kExit1, [this] { Exit1Click(); });
}

TForm1::~TForm1() {
    onPaintBackground = nullptr;  // the gradient goes before the window
    if (powerGlyph_ != nullptr) {
        DeleteObject(powerGlyph_);
    }
}

void TForm1::FormShow() {
    StartFromCommandLine(*this, CommandLineArguments(Application().CommandLine()));
}

void TForm1::SpeedButton1Click() {
    PowerOn(*this);
}

void TForm1::CalculateBroadcastAddress1Click() {
    if (auto* form2 = Application().FindForm<TForm2>()) {
        form2->Show();
    }
}

void TForm1::Help1Click() {
    ShellOpen({Handle(), "open", HelpFilePath(ExecutablePath()), "", "", SW_SHOW});
}

void TForm1::About1Click() {
    if (auto* aboutBox = Application().FindForm<TAboutBox>()) {
        aboutBox->Show();
    }
}

void TForm1::Exit1Click() {
    Application().Terminate();
}

void TForm1::AddLogLine(const std::string& line) {
    MemoAddLine(memo1_, line);
}

void TForm1::ShowMessage(const std::string& text) {
    ::ShowMessage(text);
}

void TForm1::CloseMainWindow() {
    Close();
}

std::string TForm1::MacText() {
    return GetText(labeledEdit1_.edit);
}

std::string TForm1::IpText() {
    return GetText(labeledEdit2_.edit);
}

std::string TForm1::PasswordText() {
    return GetText(edPassWd_);
}

std::string TForm1::PortText() {
    return GetText(labeledEdit3_.edit);
}

void TForm1::ClearLog() {
    MemoClear(memo1_);
}
