#pragma once

#include "ui/Form_win.h"

// The address book window: created hidden at start-up; nothing in the program shows it.
class TForm3 : public TForm {
public:
    TForm3();
};
