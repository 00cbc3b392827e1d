#pragma once

#include "ui/Form_win.h"

// The About box, shown without modality from the main window's menu; centred on the screen the
// first time, then where it was left.
class TAboutBox : public TForm {
public:
    TAboutBox();
};
