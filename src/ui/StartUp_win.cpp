#include "ui/StartUp_win.h"

#include "ui/About_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"

void InitializeProgram(TApplication& application) {
    application.SetTitle("CorVane");
    application.CreateForm<TForm1>();
    application.CreateForm<TForm2>();
    application.CreateForm<TAboutBox>();
    application.CreateForm<TForm3>();
}
