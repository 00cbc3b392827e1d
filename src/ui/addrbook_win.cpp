#include "ui/addrbook_win.h"

// The two picture buttons are owner-drawn: a push-button frame, then the picture and the text
// side by side, centred as one group (a standard button cannot show both).

#include <vector>

#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "platform/Platform_win.h"
#include "ui/AddressBookFile.h"

namespace {

constexpr int32_t kGlyphSize = 18;
constexpr int32_t kGlyphSpacing = 4;

TFormParams Form3Params() {
    return {.className = "TForm3",
            .caption = "Address Book",
            .border = TBorderStyle::kToolWindow,
            .centerOnScreen = true,
            .clientWidth = 431,
            .clientHeight = 240,
            .color = clBtnFace,
            .owner = Application().MainWindowHandle()};
}

void Strokes(HDC dc, int32_t left, int32_t top, COLORREF color, int width,
             std::initializer_list<std::initializer_list<POINT>> lines) {
    TSelection pen(dc, CreatePen(PS_SOLID, width, color), TSelection::kDelete);
    for (const auto& line : lines) {
        std::vector<POINT> points;
        for (POINT p : line) {
            points.push_back({left + p.x, top + p.y});
        }
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
}

// Our pictures: two green ticks ("all") and a red cross ("cancel").
void DrawDoubleTick(HDC dc, int32_t left, int32_t top) {
    Strokes(dc, left, top, RGB(0, 128, 0), 2,
            {{{1, 9}, {4, 13}, {10, 4}}, {{7, 9}, {10, 13}, {16, 4}}});
}

void DrawCross(HDC dc, int32_t left, int32_t top) {
    Strokes(dc, left, top, RGB(192, 0, 0), 3, {{{4, 4}, {14, 14}}, {{14, 4}, {4, 14}}});
}

void DrawBitBtn(const DRAWITEMSTRUCT& item, bool tick) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const std::string text = GetText(item.hwndItem);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    const SIZE extent = TextExtent(font != nullptr ? font : DefaultFormFont(), text);
    const int32_t shift = pushed ? 1 : 0;
    const int32_t groupWidth = kGlyphSize + kGlyphSpacing + extent.cx;
    const int32_t left = (item.rcItem.right - item.rcItem.left - groupWidth) / 2 + shift;
    const int32_t middle = (item.rcItem.bottom - item.rcItem.top) / 2 + shift;
    if (tick) {
        DrawDoubleTick(dc, left, middle - kGlyphSize / 2);
    } else {
        DrawCross(dc, left, middle - kGlyphSize / 2);
    }
    {
        TSelection selectedFont(dc, font != nullptr ? font : DefaultFormFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc,
                     GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        TextOutA(dc, left + kGlyphSize + kGlyphSpacing, middle - extent.cy / 2, text.c_str(),
                 static_cast<int>(text.size()));
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace

TForm3::TForm3() : TForm(Form3Params()) {
    CreateControlsOnFirstNeed([this] { CreateControls(); });
    OnCommand(kBitBtn1, [this] { BitBtn1Click(); });
}

void TForm3::CreateControls() {
    // Created in tab order. The group box clips its siblings so the list stays visible.
    groupBox1_ = CreateChild(Handle(), "BUTTON", "Entries", BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
                             {8, 8, 8 + 177, 8 + 177}, -1);
    HWND listBox1 = CreateChild(Handle(), "LISTBOX", "",
                                WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                WS_EX_CLIENTEDGE, {16, 24, 16 + 161, 24 + 153}, kListBox1);
    SendMessageA(listBox1, LB_SETITEMHEIGHT, 0, 13);
    CreateLabeledEdit(Handle(), {216, 72, 216 + 177, 72 + 21}, kLabeledEdit1, "MAC-Address");
    CreateLabeledEdit(Handle(), {216, 120, 216 + 177, 120 + 21}, kLabeledEdit2, "IP-Address");
    CreateLabeledEdit(Handle(), {216, 168, 216 + 177, 168 + 21}, kLabeledEdit3, "WOL-Passwd");
    bitBtn1_ = CreateChild(Handle(), "BUTTON", "Create/Update Entry", BS_OWNERDRAW | WS_TABSTOP, 0,
                           {216, 200, 216 + 177, 200 + 25}, kBitBtn1);
    CreateLabeledEdit(Handle(), {216, 24, 216 + 177, 24 + 21}, kLabeledEdit4, "Entry Name");
    bitBtn2_ = CreateChild(Handle(), "BUTTON", "Delete selected entry", BS_OWNERDRAW | WS_TABSTOP,
                           0, {8, 200, 8 + 177, 200 + 25}, kBitBtn2);
}

void TForm3::BitBtn1Click() {
    CreateFileIfMissing(AddressBookPath(ExecutablePath()));
}

LRESULT TForm3::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == bitBtn1_ || item.hwndItem == bitBtn2_) {
            DrawBitBtn(item, item.hwndItem == bitBtn1_);
            return TRUE;
        }
    }
    return TForm::WndProc(message, wParam, lParam);
}
