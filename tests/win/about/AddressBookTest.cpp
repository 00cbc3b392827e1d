// The address book window under Wine: its controls, and "Create/Update Entry" creating
// addrbook.txt next to the test executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/WinApi.h"
#include "ui/Application_win.h"
#include "ui/Controls_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"

namespace {

namespace fs = std::filesystem;

// Records the text of every message box the handler opens (a timer procedure runs inside the
// box's modal loop) and closes it with OK.
class ErrorBoxes {
public:
    ErrorBoxes() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, OnTimer);
    }
    ~ErrorBoxes() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ErrorBoxes(const ErrorBoxes&) = delete;
    ErrorBoxes& operator=(const ErrorBoxes&) = delete;

    const std::vector<std::string>& Texts() const { return texts_; }
    const std::vector<std::string>& Captions() const { return captions_; }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM) {
        char className[32] = {};
        GetClassNameA(window, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
            current_->captions_.push_back(GetText(window));
            current_->texts_.push_back(GetText(GetDlgItem(window, 0xFFFF)));
            ShowWindow(window, SW_HIDE);  // found once
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ != nullptr) {
            EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
        }
    }

    static inline ErrorBoxes* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<std::string> texts_;
    std::vector<std::string> captions_;
};

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

void ExpectBounds(HWND parent, HWND child, int left, int top, int width, int height) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
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
        HWND label = GetWindow(handle, GW_HWNDPREV);
        EXPECT_EQ(GetText(label), edit.label);
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
        ErrorBoxes boxes;
        program.ClickBitBtn1();
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "Dateizugriff verweigert.");
        EXPECT_EQ(boxes.Captions()[0], "CorVane");
    }
    EXPECT_TRUE(fs::is_directory(book));
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    fs::remove_all(book, ignored);
}

}  // namespace
