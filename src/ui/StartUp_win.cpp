#include "ui/StartUp_win.h"

#include <string>

#include "platform/Controls_win.h"
#include "ui/About_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"

void InitializeProgram(TApplication& application) {
    application.SetTitle("CorVane");
    TForm1& form1 = application.CreateForm<TForm1>();
    TForm2& form2 = application.CreateForm<TForm2>();
    application.CreateForm<TAboutBox>();
    application.CreateForm<TForm3>();
    ConnectCalculatorToMainWindow(form2, form1);
}

void ConnectCalculatorToMainWindow(TForm2& calculator, TForm1& mainWindow) {
    // Both windows live until the application destroys its forms, after the message loop.
    calculator.onSendBroadcast = [&mainWindow](const std::string& address) {
        SetText(mainWindow.LabeledEdit2(), address);
    };
}
