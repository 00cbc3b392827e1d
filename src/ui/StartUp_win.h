#pragma once

#include "platform/Application_win.h"

// The program's start-up before its message loop: the application title "CorVane" (it captions
// the message and error boxes), then the four windows, all hidden, in this order: TForm1 (the
// main window), TForm2, TAboutBox, TForm3. WinMain (Project1_win.cpp) runs it, and the Wine tests
// build the same program with it.
void InitializeProgram(TApplication& application);
