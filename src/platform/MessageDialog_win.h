#pragma once

#include <string>

// The message box: a modal dialog with a dialog frame, centred on the screen, captioned with the
// application title; the text wraps at half the screen width; no icon; one "OK" button that
// Enter and Esc both press. Returns when the dialog is closed. The other windows of the
// application are disabled meanwhile.
void ShowMessage(const std::string& text);

// Control id of the dialog's text (the same as the system message box uses).
constexpr int kMessageTextId = 0xFFFF;
