#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/Exception.h"
#include "ui/AddressBookFile.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                ("corvane-addrbook-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(AddressBookFile, ErrorTextsByCode) {
    const struct {
        int code;
        const char* text;
    } rows[] = {
        {2, "Datei nicht gefunden"},
        {3, "Ungültiger Dateiname"},
        {4, "Zu viele geöffnete Dateien"},
        {5, "Dateizugriff verweigert"},
        {100, "Versuch hinter dem Dateiende zu lesen"},
        {101, "Zu wenig Speicherplatz"},
        {106, "Ungültige numerische Eingabe"},
        {0, "E/A-Fehler 0"},
        {1, "E/A-Fehler 1"},
        {6, "E/A-Fehler 6"},
        {102, "E/A-Fehler 102"},
        {1784, "E/A-Fehler 1784"},
        {-3, "E/A-Fehler -3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(InOutErrorText(row.code), row.text);
    }
}

// Every failure gets the system's code for it, and so the text of that code; C library numbers
// that happen to equal a table code (EIO is 5, EINTR 4) never borrow its text.
TEST(AddressBookFile, ErrorCodesFromTheCLibrary) {
    const struct {
        int errorNumber;
        int code;
        const char* name;
    } rows[] = {
        {ENOENT, 3, "ENOENT"}, {ENOTDIR, 3, "ENOTDIR"}, {ENAMETOOLONG, 3, "ENAMETOOLONG"},
        {ELOOP, 3, "ELOOP"},   {EINVAL, 3, "EINVAL"},   {EMFILE, 4, "EMFILE"},
        {ENFILE, 4, "ENFILE"}, {EACCES, 5, "EACCES"},   {EPERM, 5, "EPERM"},
        {EISDIR, 5, "EISDIR"}, {EROFS, 5, "EROFS"},     {ETXTBSY, 5, "ETXTBSY"},
        {ENOMEM, 8, "ENOMEM"}, {ENOSPC, 101, "ENOSPC"}, {EIO, 1117, "EIO"},
        {EINTR, 31, "EINTR"},  {EAGAIN, 31, "EAGAIN"},  {0, 31, "none"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InOutErrorCode(row.errorNumber), row.code);
    }
    EXPECT_EQ(InOutErrorText(InOutErrorCode(EIO)), "E/A-Fehler 1117");
}

TEST(AddressBookFile, PathIsNextToTheExecutable) {
    const struct {
        const char* executable;
        const char* book;
    } rows[] = {
        {"C:\\Program Files\\Corvane\\corvane.exe", "C:\\Program Files\\Corvane\\addrbook.txt"},
        {"Z:\\work\\build\\win_about_AboutBoxTest.exe", "Z:\\work\\build\\addrbook.txt"},
        {"/opt/corvane/bin/corvane", "/opt/corvane/bin/addrbook.txt"},
        {"corvane.exe", "addrbook.txt"},
        {"", "addrbook.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.executable);
        EXPECT_EQ(AddressBookPath(row.executable), row.book);
    }
}

TEST(AddressBookFile, CreatesAMissingFileEmpty) {
    TempFolder folder;
    const std::string path = folder.File("addrbook.txt");
    CreateFileIfMissing(path);
    ASSERT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    CreateFileIfMissing(path);  // a second click finds it and changes nothing
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(AddressBookFile, LeavesAnExistingFileUntouched) {
    TempFolder folder;
    const std::string path = folder.File("addrbook.txt");
    const std::string content("Office;00-11-22-33-44-55;192.168.0.255;\r\n\0x", 43);
    {
        std::ofstream out(path, std::ios::binary);
        out << content;
    }
    fs::permissions(path, fs::perms::owner_read, fs::perm_options::replace);
    CreateFileIfMissing(path);  // read-only too: found, so not even opened
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(Contents(path), content);
}

TEST(AddressBookFile, FailsWithTheRunTimeLibraryError) {
    TempFolder folder;
    const std::string directory = folder.File("addrbook.txt");
    fs::create_directory(directory);
    const struct {
        std::string path;
        int code;
        const char* message;
    } rows[] = {
        {directory, 5, "Dateizugriff verweigert"},
        {folder.File("missing-folder/addrbook.txt"), 3, "Ungültiger Dateiname"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        try {
            CreateFileIfMissing(row.path);
            ADD_FAILURE() << "no exception";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.ErrorCode(), row.code);
            EXPECT_EQ(error.Message(), row.message);
        }
    }
    EXPECT_TRUE(fs::is_directory(directory));
}

}  // namespace
