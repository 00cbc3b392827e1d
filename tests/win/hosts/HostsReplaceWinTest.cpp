#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hosts/HostsLearn.h"
#include "hosts/HostsLocation.h"
#include "hosts/HostsPlatform.h"

namespace {

namespace fs = std::filesystem;

class HostsReplaceWin : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("corvane-hosts-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    static size_t FilesIn(const fs::path& folder) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    fs::path folder_;
};

TEST_F(HostsReplaceWin, ReadsAMissingFileAsNone) {
    std::string bytes = "x";
    bool exists = true;
    std::string error;
    EXPECT_TRUE(ReadFileBytes((folder_ / "no" / "hosts").string(), bytes, exists, error)) << error;
    EXPECT_FALSE(exists);
    EXPECT_EQ(bytes, "");
}

TEST_F(HostsReplaceWin, CreatesFoldersAndReplacesAnExistingFile) {
    const fs::path path = folder_ / "Corvane" / "sub" / "hosts";
    std::string error;
    ASSERT_TRUE(ReplaceFileBytes(path.string(), "first\r\n", error)) << error;
    EXPECT_EQ(Read(path), "first\r\n");
    ASSERT_TRUE(ReplaceFileBytes(path.string(), "second\r\n", error)) << error;
    EXPECT_EQ(Read(path), "second\r\n");
    EXPECT_EQ(FilesIn(path.parent_path()), 1u);  // no temporary file left
}

TEST_F(HostsReplaceWin, LearnAppendsAndRefusesWithoutTouchingTheFile) {
    const fs::path path = folder_ / "hosts";
    std::ofstream(path, std::ios::binary) << "# mine\r\nnas 00-11-22-33-44-55";
    std::string line;
    std::vector<std::string> errors;
    EXPECT_EQ(LearnHost(path.string(), "pc", "00-11-22-33-44-66", 0xC0A80114, 24, line, errors),
              TLearnStatus::Appended);
    const std::string learned =
        "# mine\r\nnas 00-11-22-33-44-55\r\npc 00-11-22-33-44-66 192.168.1.20/24\r\n";
    EXPECT_EQ(Read(path), learned);
    EXPECT_EQ(LearnHost(path.string(), "nas", "00-11-22-33-44-77", 0xC0A80115, 24, line, errors),
              TLearnStatus::LineRefused);
    EXPECT_EQ(Read(path), learned);
    EXPECT_EQ(FilesIn(folder_), 1u);
}

TEST_F(HostsReplaceWin, FollowsTheWindowsRule) {
    EXPECT_TRUE(UsesWindowsHostsRule());
    const std::string program = ProgramFolder();
    EXPECT_TRUE(fs::exists(fs::path(program) / "win_hosts_test.exe")) << program;
    _putenv_s("CORVANE_HOSTS", "");
    _putenv_s("APPDATA", folder_.string().c_str());
    const THostsLocationInput input = HostsLocationFromEnvironment("", "C:\\Programs\\Corvane");
    EXPECT_TRUE(input.windows);
    EXPECT_EQ(HostsFilePath(input), "C:\\Programs\\Corvane\\hosts");
    EXPECT_EQ(LearnHostsFilePath(input), folder_.string() + "\\Corvane\\hosts");
    fs::create_directories(folder_ / "Corvane");
    std::ofstream(folder_ / "Corvane" / "hosts") << "\n";
    EXPECT_EQ(HostsFilePath(input), folder_.string() + "\\Corvane\\hosts");
}

}  // namespace
