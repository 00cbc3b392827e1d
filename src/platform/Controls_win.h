#pragma once

#include <cstdint>
#include <string>

#include "base/WinApi.h"
#include "platform/Gdi_win.h"
#include "platform/Platform.h"

// Child controls at exact client positions (pixels at 96 dpi), with the font the layout tables
// name. Fonts are made once and live until the process ends.

// A font by face and character height in pixels (the em height, not the cell height).
HFONT UiFont(const std::string& face, int32_t height, int32_t weight = FW_NORMAL,
             bool italic = false, bool underline = false, BYTE charset = DEFAULT_CHARSET);
// "MS Sans Serif", 11 pixels: the windows' default font.
HFONT DefaultFormFont();

// Any child window; `text` is its window text. WS_CHILD | WS_VISIBLE are added.
HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style,
                 DWORD exStyle, const TRect& bounds, int32_t id, HFONT font = DefaultFormFont());

// A static text. Make it transparent with TForm::SetControlColor(label, clNone).
HWND CreateLabel(HWND parent, const TRect& bounds, const std::string& text,
                 HFONT font = DefaultFormFont());
// A static text sized to its text (one line).
HWND CreateAutoSizeLabel(HWND parent, int32_t left, int32_t top, const std::string& text,
                         HFONT font = DefaultFormFont());

// A single-line edit with a sunken border, a tab stop. maxLength 0: no limit; passwordChar 0:
// plain text.
HWND CreateEdit(HWND parent, const TRect& bounds, int32_t id, int32_t maxLength = 0,
                char passwordChar = 0, HFONT font = DefaultFormFont());

// An edit with its caption label 3 pixels above it, left-aligned with it.
struct TLabeledEdit {
    HWND label = nullptr;
    HWND edit = nullptr;
};
TLabeledEdit CreateLabeledEdit(HWND parent, const TRect& bounds, int32_t id,
                               const std::string& labelText, int32_t maxLength = 0,
                               char passwordChar = 0, HFONT font = DefaultFormFont());

// A multi-line edit that wraps words; not a tab stop unless asked.
HWND CreateMemo(HWND parent, const TRect& bounds, int32_t id, bool readOnly, bool tabStop,
                HFONT font = DefaultFormFont(), bool border = true);
void MemoClear(HWND memo);
// Appends the line and a line break at the end of the text.
void MemoAddLine(HWND memo, const std::string& line);

// A push button (tab stop); `isDefault` draws it as the default button.
HWND CreateButton(HWND parent, const TRect& bounds, int32_t id, const std::string& text,
                  bool isDefault = false, HFONT font = DefaultFormFont());

// Window text as bytes of the ANSI code page.
std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);

// A 16 x 16 bitmap or icon from the executable's resources (nullptr when it has none).
HBITMAP LoadResourceBitmap(int32_t id);
HICON LoadResourceIcon(int32_t id, int32_t size);
