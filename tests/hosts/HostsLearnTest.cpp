#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/DottedText.h"
#include "hosts/HostsLearn.h"
#include "hosts/HostsPlatform.h"

namespace {

namespace fs = std::filesystem;

class HostsLearn : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvane-learn-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code error;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(folder_, error);
    }

    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    TLearnStatus Learn(const fs::path& path, const std::string& name) {
        uint32_t address = 0;
        ParseDottedQuad("192.168.1.20", address);
        line_.clear();
        errors_.clear();
        return LearnHost(path.string(), name, "00-11-22-33-44-66", address, 24, line_, errors_);
    }
    // Only the file itself: no temporary file left beside it.
    size_t FilesIn(const fs::path& folder) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    fs::path folder_;
    std::string line_;
    std::vector<std::string> errors_;
};

TEST_F(HostsLearn, AppendsAfterTheOldBytesUnchanged) {
    const struct {
        const char* name;
        std::string old;
        std::string result;
    } rows[] = {
        {"final line end", "# my machines\nnas 00-11-22-33-44-55  # the NAS\n\n",
         "# my machines\nnas 00-11-22-33-44-55  # the NAS\n\npc 00-11-22-33-44-66 "
         "192.168.1.20/24\n"},
        {"no final line end", "nas 00-11-22-33-44-55",
         "nas 00-11-22-33-44-55\npc 00-11-22-33-44-66 192.168.1.20/24\n"},
        {"CRLF kept", "nas 00-11-22-33-44-55\r\n# x",
         "nas 00-11-22-33-44-55\r\n# x\r\npc 00-11-22-33-44-66 192.168.1.20/24\r\n"},
        {"empty file", "", "pc 00-11-22-33-44-66 192.168.1.20/24\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path path = folder_ / "hosts";
        Write(path, row.old);
        EXPECT_EQ(Learn(path, "pc"), TLearnStatus::Appended) << testing::PrintToString(errors_);
        EXPECT_EQ(line_, "pc 00-11-22-33-44-66 192.168.1.20/24");
        EXPECT_EQ(Read(path), row.result);
        EXPECT_EQ(FilesIn(folder_), 1u);
    }
}

TEST(HostsLearnLine, NormalisesTheMacAndLeavesOutAMissingPrefix) {
    EXPECT_EQ(LearnedHostLine("nas", "00:1B:21:AA:BB:01", 0x0A000001, 8),
              "nas 00-1b-21-aa-bb-01 10.0.0.1/8");
    EXPECT_EQ(LearnedHostLine("nas", "8:0:20:1:a:b", 0x0A000001, -1),
              "nas 08-00-20-01-0a-0b 10.0.0.1");
}

TEST_F(HostsLearn, CreatesAMissingFileAndItsFolders) {
    const fs::path path = folder_ / "config" / "corvane" / "hosts";
    EXPECT_EQ(Learn(path, "pc"), TLearnStatus::Appended);
    EXPECT_EQ(Read(path), "pc 00-11-22-33-44-66 192.168.1.20/24\n");
}

TEST_F(HostsLearn, KeepsTheFilesModeAndFollowsALink) {
    const fs::path real = folder_ / "real-hosts";
    const fs::path link = folder_ / "hosts";
    Write(real, "nas 00-11-22-33-44-55\n");
    chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    EXPECT_EQ(Learn(link, "pc"), TLearnStatus::Appended);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "nas 00-11-22-33-44-55\npc 00-11-22-33-44-66 192.168.1.20/24\n");
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(HostsLearn, LeavesTheFileByteForByteOnEveryRefusal) {
    const std::string invalid = "nas 00-11-22-33-44-55\r\nbad line\n# end";
    const std::string valid = "# x\npc 00-11-22-33-44-55\n";
    const struct {
        const char* name;
        std::string old;
        std::string newName;
        TLearnStatus status;
        std::vector<std::string> errors;
    } rows[] = {
        {"file does not parse",
         invalid,
         "new",
         TLearnStatus::FileInvalid,
         {"/hosts:2: bad MAC address 'line'"}},
        {"name taken",
         valid,
         "pc",
         TLearnStatus::LineRefused,
         {"/hosts:3: duplicate name 'pc' (first on line 2)"}},
        {"not a name",
         valid,
         "a b",
         TLearnStatus::LineRefused,
         {"bad name 'a b' (letters, digits, '.', '-', '_')"}},
        {"a MAC as name",
         valid,
         "aa-bb-cc-dd-ee-ff",
         TLearnStatus::LineRefused,
         {"name 'aa-bb-cc-dd-ee-ff' is a MAC address"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path path = folder_ / "hosts";
        Write(path, row.old);
        EXPECT_EQ(Learn(path, row.newName), row.status);
        ASSERT_EQ(errors_.size(), row.errors.size());
        const std::string& error = row.errors[0];
        EXPECT_EQ(errors_[0], error[0] == '/' ? folder_.string() + error : error);
        EXPECT_EQ(Read(path), row.old);
        EXPECT_EQ(FilesIn(folder_), 1u);
    }
}

TEST_F(HostsLearn, ReportsAPathThatCannotBeRead) {
    Write(folder_ / "file", "x");
    EXPECT_EQ(Learn(folder_ / "file" / "hosts", "pc"), TLearnStatus::NotWritten);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0],
              "cannot read " + (folder_ / "file" / "hosts").string() + ": Not a directory");
    EXPECT_EQ(Read(folder_ / "file"), "x");
}

TEST(HostsFileRead, RefusesAnEndlessFile) {
    std::string bytes;
    bool exists = false;
    std::string error;
    EXPECT_FALSE(ReadFileBytes("/dev/zero", bytes, exists, error));
    EXPECT_EQ(error, "cannot read /dev/zero: larger than 64 MiB");
    EXPECT_TRUE(bytes.empty());
}

TEST_F(HostsLearn, LeavesTheFileWhenTheFolderCannotBeWritten) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only folder";
    }
    const fs::path path = folder_ / "hosts";
    Write(path, "nas 00-11-22-33-44-55\n");
    chmod(folder_.c_str(), 0555);
    EXPECT_EQ(Learn(path, "pc"), TLearnStatus::NotWritten);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "cannot write to folder " + folder_.string() + ": Permission denied");
    EXPECT_EQ(Read(path), "nas 00-11-22-33-44-55\n");
    chmod(folder_.c_str(), 0755);
    EXPECT_EQ(FilesIn(folder_), 1u);
}

}  // namespace
