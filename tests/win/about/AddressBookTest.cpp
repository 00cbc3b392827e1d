// The address book window under Wine: its controls, and "Create/Update Entry" creating
// addrbook.txt next to the test executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"
#include "win/WindowGeometry.h"
#include "win/ui/BoxWatcher.h"

namespace {

namespace fs = std::filesystem;

struct Program {
    Program() {
        application.SetTitle("CorVane");
        application.SetCommandLine("corvane.exe");
        form1 = &application.CreateForm<TForm1>();
        form3 = &application.CreateForm<TForm3>();
        form1->Show();
        application.ProcessMessages();
    }
    void ClickBitBtn1() {
        SendMessageA(form3->BitBtn1(), BM_CLICK, 0, 0);
        application.ProcessMessages();
    }

    TApplication application;
    TForm1* form1 = nullptr;
    TForm3* form3 = nullptr;
};

fs::path BookNextToExecutable() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / "addrbook.txt";
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(AddressBook, WindowAndControlsAsDesigned) {
    Program program;
    TForm3& form = *program.form3;
    HWND window = form.Handle();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(GetText(window), "Address Book");
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME, 0);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 431);
    EXPECT_EQ(client.bottom, 240);
    ExpectBounds(window, form.GroupBox1(), 8, 8, 177, 177);
    EXPECT_EQ(GetText(form.GroupBox1()), "Entries");
    HWND list = GetDlgItem(window, TForm3::kListBox1);
    ExpectBounds(window, list, 16, 24, 161, 153);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);
    ExpectBounds(window, form.BitBtn1(), 216, 200, 177, 25);
    ExpectBounds(window, form.BitBtn2(), 8, 200, 177, 25);
    EXPECT_EQ(GetText(form.BitBtn1()), "Create/Update Entry");
    EXPECT_EQ(GetText(form.BitBtn2()), "Delete selected entry");
    const struct {
        int32_t id;
        int top;
        const char* label;
    } edits[] = {
        {TForm3::kLabeledEdit4, 24, "Entry Name"},
        {TForm3::kLabeledEdit1, 72, "MAC-Address"},
        {TForm3::kLabeledEdit2, 120, "IP-Address"},
        {TForm3::kLabeledEdit3, 168, "WOL-Passwd"},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.label);
        HWND handle = GetDlgItem(window, edit.id);
        ExpectBounds(window, handle, 216, edit.top, 177, 21);
        EXPECT_EQ(GetWindowLongA(handle, GWL_STYLE) & ES_PASSWORD, 0);
        EXPECT_EQ(SendMessageA(handle, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);  // no limit
        HWND label = GetWindow(handle, GW_HWNDPREV);
        EXPECT_EQ(GetText(label), edit.label);
        RECT labelRect;
        GetWindowRect(label, &labelRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&labelRect), 2);
        EXPECT_EQ(labelRect.left, 216);
        EXPECT_EQ(labelRect.bottom, edit.top - 3);
    }
    // Tab order: list, MAC, IP, password, Create/Update, entry name, Delete, and round again.
    const HWND order[] = {list,
                          GetDlgItem(window, TForm3::kLabeledEdit1),
                          GetDlgItem(window, TForm3::kLabeledEdit2),
                          GetDlgItem(window, TForm3::kLabeledEdit3),
                          form.BitBtn1(),
                          GetDlgItem(window, TForm3::kLabeledEdit4),
                          form.BitBtn2(),
                          list};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetNextDlgTabItem(window, order[i], FALSE), order[i + 1]);
    }
}

TEST(AddressBook, MenuOffersNoWayToOpenIt) {
    Program program;
    HMENU tools = GetSubMenu(GetMenu(program.form1->Handle()), 0);
    const UINT state = GetMenuState(tools, TForm1::kAddressbook1, MF_BYCOMMAND);
    EXPECT_NE(state & MF_GRAYED, 0u);
    SendMessageA(program.form1->Handle(), WM_COMMAND, MAKEWPARAM(TForm1::kAddressbook1, 0), 0);
    program.application.ProcessMessages();
    EXPECT_FALSE(program.form3->Visible());
}

TEST(AddressBook, CreateUpdateEntryMakesTheFileNextToTheExecutable) {
    Program program;
    const fs::path book = BookNextToExecutable();
    std::error_code ignored;
    fs::remove_all(book, ignored);

    program.ClickBitBtn1();
    ASSERT_TRUE(fs::is_regular_file(book));
    EXPECT_EQ(fs::file_size(book), 0u);

    const std::string content = "Office;00-11-22-33-44-55;192.168.0.255;secret\r\n";
    {
        std::ofstream out(book, std::ios::binary);
        out << content;
    }
    program.ClickBitBtn1();
    EXPECT_EQ(Contents(book), content);
    fs::remove(book);
}

TEST(AddressBook, DirectoryOfThatNameShowsAccessDenied) {
    Program program;
    const fs::path book = BookNextToExecutable();
    std::error_code ignored;
    fs::remove_all(book, ignored);
    fs::create_directory(book);
    {
        BoxWatcher boxes(program.form1->Handle());
        program.ClickBitBtn1();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, "Dateizugriff verweigert.");
        EXPECT_EQ(boxes.Boxes()[0].caption, "CorVane");
        EXPECT_TRUE(boxes.Boxes()[0].stopIcon);
        EXPECT_FALSE(boxes.Boxes()[0].mainEnabled);
    }
    EXPECT_TRUE(fs::is_directory(book));
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    fs::remove_all(book, ignored);
}

// BitBtn2 carries the cancel id, which Escape in the window sends; neither Escape nor a click on
// it changes anything.
TEST(AddressBook, DeleteSelectedEntryIsTheCancelButtonAndDoesNothing) {
    Program program;
    TForm3& form = *program.form3;
    const fs::path book = BookNextToExecutable();
    std::error_code ignored;
    fs::remove_all(book, ignored);
    EXPECT_EQ(GetDlgCtrlID(form.BitBtn2()), IDCANCEL);
    form.Show();
    program.application.ProcessMessages();
    HWND name = GetDlgItem(form.Handle(), TForm3::kLabeledEdit4);
    SetText(name, "Office");
    SetFocus(name);
    BoxWatcher boxes(program.form1->Handle());
    PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(name, WM_KEYUP, VK_ESCAPE, 0);
    program.application.ProcessMessages();
    SendMessageA(form.BitBtn2(), BM_CLICK, 0, 0);
    program.application.ProcessMessages();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(GetText(name), "Office");
    EXPECT_FALSE(fs::exists(book));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The pictures of the two buttons: green ticks on "Create/Update Entry", a red cross on
// "Delete selected entry".
TEST(AddressBook, PictureButtonsShowTheirPictures) {
    Program program;
    TForm3& form = *program.form3;
    form.Show();
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    program.application.ProcessMessages();
    const struct {
        HWND button;
        COLORREF colour;
        const char* what;
    } rows[] = {
        {form.BitBtn1(), RGB(0, 128, 0), "green double tick"},
        {form.BitBtn2(), RGB(192, 0, 0), "red cross"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        HDC dc = GetDC(row.button);
        int found = 0;
        int foreign = 0;  // the other button's colour
        const COLORREF other = row.colour == RGB(0, 128, 0) ? RGB(192, 0, 0) : RGB(0, 128, 0);
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 177; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                found += pixel == row.colour;
                foreign += pixel == other;
            }
        }
        ReleaseDC(row.button, dc);
        EXPECT_GT(found, 10);
        EXPECT_EQ(foreign, 0);
    }
}

}  // namespace
