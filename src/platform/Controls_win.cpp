#include "platform/Controls_win.h"

#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/Window_win.h"

namespace {

// Fonts stay alive as long as any window may use them: until the process ends.
class FontCache {
public:
    ~FontCache() {
        for (auto& entry : fonts_) {
            DeleteObject(entry.second);
        }
    }
    HFONT Get(const std::string& face, int32_t height, int32_t weight, bool italic, bool underline,
              BYTE charset) {
        const auto key = std::make_tuple(face, height, weight, italic, underline, charset);
        auto it = fonts_.find(key);
        if (it != fonts_.end()) {
            return it->second;
        }
        HFONT font = CreateFontA(-height, 0, 0, 0, weight, italic, underline, FALSE, charset,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, face.c_str());
        fonts_.emplace(key, font);
        return font;
    }

private:
    std::map<std::tuple<std::string, int32_t, int32_t, bool, bool, BYTE>, HFONT> fonts_;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

constexpr int32_t kLabelGap = 3;

}  // namespace

HFONT UiFont(const std::string& face, int32_t height, int32_t weight, bool italic, bool underline,
             BYTE charset) {
    return Fonts().Get(face, height, weight, italic, underline, charset);
}

HFONT DefaultFormFont() {
    return UiFont("MS Sans Serif", 11);
}

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style,
                 DWORD exStyle, const TRect& bounds, int32_t id, HFONT font) {
    HWND child = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                 bounds.left, bounds.top, bounds.Width(), bounds.Height(), parent,
                                 ChildId(id), GetModuleHandleA(nullptr), nullptr);
    if (child != nullptr && font != nullptr) {
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return child;
}

HWND CreateLabel(HWND parent, const TRect& bounds, const std::string& text, HFONT font) {
    return CreateChild(parent, "STATIC", text, SS_LEFT, 0, bounds, -1, font);
}

HWND CreateAutoSizeLabel(HWND parent, int32_t left, int32_t top, const std::string& text,
                         HFONT font) {
    const SIZE size = TextExtent(font, text);
    return CreateLabel(parent, Bounds(left, top, size.cx, size.cy), text, font);
}

HWND CreateEdit(HWND parent, const TRect& bounds, int32_t id, int32_t maxLength, char passwordChar,
                HFONT font) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    if (passwordChar != 0) {
        style |= ES_PASSWORD;
    }
    HWND edit = CreateChild(parent, "EDIT", "", style, WS_EX_CLIENTEDGE, bounds, id, font);
    // Without a limit the edit still stops at 32767 characters; lift that like a text field does.
    SendMessageA(edit, EM_LIMITTEXT, maxLength > 0 ? maxLength : 0x7FFFFFFE, 0);
    if (passwordChar != 0) {
        SendMessageA(edit, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar), 0);
    }
    return edit;
}

TLabeledEdit CreateLabeledEdit(HWND parent, const TRect& bounds, int32_t id,
                               const std::string& labelText, int32_t maxLength, char passwordChar,
                               HFONT font) {
    TLabeledEdit result;
    const SIZE size = TextExtent(font, labelText);
    result.label =
        CreateLabel(parent, Bounds(bounds.left, bounds.top - size.cy - kLabelGap, size.cx, size.cy),
                    labelText, font);
    result.edit = CreateEdit(parent, bounds, id, maxLength, passwordChar, font);
    return result;
}

HWND CreateMemo(HWND parent, const TRect& bounds, int32_t id, bool readOnly, bool tabStop,
                HFONT font, bool border) {
    DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT;
    if (readOnly) {
        style |= ES_READONLY;
    }
    if (tabStop) {
        style |= WS_TABSTOP;
    }
    HWND memo =
        CreateChild(parent, "EDIT", "", style, border ? WS_EX_CLIENTEDGE : 0, bounds, id, font);
    SendMessageA(memo, EM_LIMITTEXT, 0x7FFFFFFE, 0);
    return memo;
}

void MemoClear(HWND memo) {
    SetWindowTextA(memo, "");
}

void MemoAddLine(HWND memo, const std::string& line) {
    const std::string text = line + "\r\n";
    const int length = GetWindowTextLengthA(memo);
    SendMessageA(memo, EM_SETSEL, length, length);
    SendMessageA(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND CreateButton(HWND parent, const TRect& bounds, int32_t id, const std::string& text,
                  bool isDefault, HFONT font) {
    const DWORD style = WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    return CreateChild(parent, "BUTTON", text, style, 0, bounds, id, font);
}

std::string GetText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void SetText(HWND window, const std::string& text) {
    SetWindowTextA(window, text.c_str());
}

HBITMAP LoadResourceBitmap(int32_t id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HICON LoadResourceIcon(int32_t id, int32_t size) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
