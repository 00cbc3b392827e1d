#include "ui/addrbook_win.h"

#include "ui/Application_win.h"

namespace {

TFormParams Form3Params() {
    TFormParams params;
    params.className = "TForm3";
    params.caption = "Address Book";
    params.border = TBorderStyle::kToolWindow;
    params.centerOnScreen = true;
    params.clientWidth = 431;
    params.clientHeight = 240;
    params.color = clBtnFace;
    params.owner = Application().MainWindowHandle();
    return params;
}

}  // namespace

TForm3::TForm3() : TForm(Form3Params()) {}
