#include "controls/JvIPAddress_win.h"

#include <algorithm>
#include <vector>

#include "base/Exception.h"
#include "platform/Gdi_win.h"
#include "platform/Window_win.h"

// The address control keeps its four fields as child edit windows. They are subclassed so Tab
// can move between them before the window's dialog-key handling sees it; the parent is
// subclassed so the control's notifications reach the address logic wherever it is placed.

namespace {

constexpr UINT_PTR kSubclassId = 0x4A764950;  // one subclass of ours per window

std::function<bool()>& ClassInitializer() {
    static std::function<bool()> initializer;
    return initializer;
}

bool InitAddressClass() {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

void TJvIPAddressWindow::SetClassInitializer(std::function<bool()> initializer) {
    ClassInitializer() = std::move(initializer);
}

TJvIPAddressWindow::TJvIPAddressWindow(TJvIPAddress& control, HWND parent, int32_t left,
                                       int32_t top, int32_t width, int32_t id, HFONT font)
    : control_(control), parent_(parent), font_(font) {
    const auto& initializer = ClassInitializer();
    const bool available = initializer ? initializer() : InitAddressClass();
    if (available) {
        const int32_t height = TextExtent(font, "").cy + 8 * GetSystemMetrics(SM_CYBORDER);
        handle_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_IPADDRESSA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP, left, top, width, height,
                                  parent, ChildId(id), GetModuleHandleA(nullptr), nullptr);
    }
    if (handle_ == nullptr) {
        throw Exception("This control requires version 4.70 or greater of COMCTL32.DLL");
    }
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    std::vector<HWND> children;
    EnumChildWindows(handle_, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::sort(children.begin(), children.end(), [this](HWND a, HWND b) {
        return ChildRect(handle_, a).left < ChildRect(handle_, b).left;
    });
    for (size_t i = 0; i < children.size() && i < 4; ++i) {
        fields_[i] = children[i];
        SetWindowSubclass(fields_[i], FieldProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    SetWindowSubclass(handle_, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
    control_.Attach(this);
}

TJvIPAddressWindow::~TJvIPAddressWindow() {
    RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
    if (handle_ != nullptr) {
        control_.Detach();
        for (HWND field : fields_) {
            RemoveWindowSubclass(field, FieldProc, kSubclassId);
        }
        RemoveWindowSubclass(handle_, ControlProc, kSubclassId);
        DestroyWindow(handle_);
    }
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

void TJvIPAddressWindow::SetAddress(uint32_t address) {
    SendMessageA(handle_, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

uint32_t TJvIPAddressWindow::GetAddress() {
    DWORD address = 0;
    SendMessageA(handle_, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

void TJvIPAddressWindow::ClearAddress() {
    SendMessageA(handle_, IPM_CLEARADDRESS, 0, 0);
}

void TJvIPAddressWindow::SetFieldRange(int field, uint8_t min, uint8_t max) {
    SendMessageA(handle_, IPM_SETRANGE, field, MAKEIPRANGE(min, max));
}

bool TJvIPAddressWindow::IsBlank() {
    return SendMessageA(handle_, IPM_ISBLANK, 0, 0) != 0;
}

void TJvIPAddressWindow::SetText(const std::string& text) {
    // Wine's address control ignores WM_SETTEXT; the whole address has the same effect.
    const std::array<uint8_t, 4> octets = AddressTextOctets(text);
    SetAddress(MAKEIPADDRESS(octets[0], octets[1], octets[2], octets[3]));
}

std::string TJvIPAddressWindow::GetText() {
    char buffer[64] = {};
    const int length = GetWindowTextA(handle_, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

void TJvIPAddressWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    RECT client;
    GetClientRect(handle_, &client);
    HBRUSH background = CreateSolidBrush(ToColorRef(color));
    FillRect(dc, &client, background);
    DeleteObject(background);
    {
        TSelection selectedFont(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToColorRef(fontColor));
        const SIZE dot = TextExtent(dc, ".");
        for (int i = 0; i < 3; ++i) {
            if (fields_[i] == nullptr || fields_[i + 1] == nullptr) {
                continue;
            }
            const RECT left = ChildRect(handle_, fields_[i]);
            const RECT right = ChildRect(handle_, fields_[i + 1]);
            const int x = (left.right + right.left) / 2 - dot.cx / 2;
            TextOutA(dc, x, left.top, ".", 1);
        }
    }
    EndPaint(handle_, &paint);
}

void TJvIPAddressWindow::MoveFocus(int fromField, bool backwards) {
    const int target = fromField + (backwards ? -1 : 1);
    if (target >= 0 && target < 4 && fields_[target] != nullptr) {
        SetFocus(fields_[target]);
        SendMessageA(fields_[target], EM_SETSEL, 0, -1);
        return;
    }
    // Past the first or the fourth field: the neighbouring control of the window.
    HWND next = GetNextDlgTabItem(GetAncestor(handle_, GA_ROOT), handle_, backwards);
    if (next != nullptr && next != handle_) {
        SetFocus(next);
    }
}

LRESULT CALLBACK TJvIPAddressWindow::ParentProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TJvIPAddressWindow*>(data);
    if (message == WM_COMMAND && self->handle_ != nullptr &&
        reinterpret_cast<HWND>(lParam) == self->handle_) {
        if (HIWORD(wParam) == EN_CHANGE) {
            self->control_.ContentsChanged();
        } else if (HIWORD(wParam) == EN_KILLFOCUS) {
            self->control_.FocusLost();
        }
    } else if (message == WM_NOTIFY && self->handle_ != nullptr) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == self->handle_ && header->code == IPN_FIELDCHANGED) {
            auto* change = reinterpret_cast<NMIPADDRESS*>(lParam);
            int value = change->iValue;
            self->control_.FieldChanged(change->iField, value);
            change->iValue = value;
            return 0;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK TJvIPAddressWindow::ControlProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TJvIPAddressWindow*>(data);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        self->Paint();
        return 0;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const TColor background = ColorToRgb(self->color);
        SetTextColor(dc, ToColorRef(self->fontColor));
        SetBkColor(dc, static_cast<COLORREF>(background));
        // One brush, made again when the colour has changed since.
        if (self->brush_ == nullptr || self->brushColor_ != background) {
            if (self->brush_ != nullptr) {
                DeleteObject(self->brush_);
            }
            self->brush_ = CreateSolidBrush(static_cast<COLORREF>(background));
            self->brushColor_ = background;
        }
        return reinterpret_cast<LRESULT>(self->brush_);
    }
    case WM_ENABLE:
        // The fields follow the control, whatever the platform control does itself.
        for (HWND field : self->fields_) {
            if (field != nullptr) {
                EnableWindow(field, static_cast<BOOL>(wParam));
            }
        }
        break;
    case WM_DESTROY:
        // Re-created later, the logic restores blank fields or the address.
        self->control_.Detach();
        break;
    case WM_NCDESTROY:
        for (HWND field : self->fields_) {
            RemoveWindowSubclass(field, FieldProc, kSubclassId);
        }
        RemoveWindowSubclass(window, ControlProc, kSubclassId);
        self->handle_ = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK TJvIPAddressWindow::FieldProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TJvIPAddressWindow*>(data);
    const bool tabs = self->control_.TabThroughFields();
    switch (message) {
    case WM_GETDLGCODE:
        return DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTARROWS |
               (tabs ? DLGC_WANTTAB : 0);
    case WM_KEYDOWN:
        if (tabs && wParam == VK_TAB) {
            const int index = static_cast<int>(std::find(self->fields_, self->fields_ + 4, window) -
                                               self->fields_);
            self->MoveFocus(index, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (tabs && wParam == '\t') {
            return 0;  // the Tab was handled at WM_KEYDOWN; no beep
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
