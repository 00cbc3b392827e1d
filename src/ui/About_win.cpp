#include "ui/About_win.h"

#include "ui/Application_win.h"

namespace {

TFormParams AboutBoxParams() {
    TFormParams params;
    params.className = "TAboutBox";
    params.caption = "About";
    params.border = TBorderStyle::kDialog;
    params.centerOnScreen = true;
    params.clientWidth = 451;
    params.clientHeight = 350;
    params.color = clBtnFace;
    params.owner = Application().MainWindowHandle();
    return params;
}

}  // namespace

TAboutBox::TAboutBox() : TForm(AboutBoxParams()) {}
