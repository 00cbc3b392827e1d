#pragma once

#include "platform/Application_win.h"

class TForm1;
class TForm2;

// The program's start-up before its message loop: the application title "CorVane" (it captions
// the message and error boxes), then the four windows, all hidden, in this order: TForm1 (the
// main window), TForm2, TAboutBox, TForm3. WinMain (Project1_win.cpp) runs it, and the Wine tests
// build the same program with it.
void InitializeProgram(TApplication& application);

// "Send BCast to Main Window" of the calculator writes the broadcast address into the main
// window's IP field (LabeledEdit2). InitializeProgram connects the two windows it creates.
void ConnectCalculatorToMainWindow(TForm2& calculator, TForm1& mainWindow);
