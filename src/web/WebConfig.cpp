#include "web/WebConfig.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t kMaxTokenName = 64;
constexpr size_t kTokenHashDigits = 64;
constexpr size_t kMaxLine = 4096;

bool IsHexDigits(std::string_view text) {
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// The line's words, separated by blanks.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

// The reason a line is wrong, or empty when it is right (and stored in config).
std::string ReadLine(std::string_view line, TWebConfig& config) {
    if (line.size() > kMaxLine) {
        return "line too long";
    }
    const std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0][0] == '#') {
        return {};
    }
    if (words[0] == "password") {
        if (words.size() != 2 || words[1].rfind("$argon2id$", 0) != 0) {
            return "password needs one Argon2id hash ($argon2id$...)";
        }
        if (!config.passwordHash.empty()) {
            return "a second password";
        }
        config.passwordHash = std::string(words[1]);
        return {};
    }
    if (words[0] == "token") {
        if (words.size() != 3 || !IsTokenName(words[1])) {
            return "token needs a NAME (letters, digits, '.', '-', '_') and a HASH";
        }
        if (words[2].size() != kTokenHashDigits || !IsHexDigits(words[2])) {
            return "token hash must be 64 lower-case hexadecimal digits";
        }
        for (const TWebToken& token : config.tokens) {
            if (token.name == words[1]) {
                return "token '" + std::string(words[1]) + "' named twice";
            }
        }
        config.tokens.push_back({std::string(words[1]), std::string(words[2])});
        return {};
    }
    // The line is not repeated: it may be a secret pasted by mistake.
    return "unknown setting (lines are 'password HASH' and 'token NAME HASH')";
}

std::string SystemError(const std::string& path, const char* doing) {
    return path + ": " + doing + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool IsTokenName(std::string_view name) {
    if (name.empty() || name.size() > kMaxTokenName) {
        return false;
    }
    for (const char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

bool ParseWebConfig(std::string_view text, const std::string& path, TWebConfig& config,
                    std::string& error) {
    TWebConfig parsed;
    size_t lineNumber = 0;
    size_t at = 0;
    while (at < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::string reason = ReadLine(line, parsed);
        if (!reason.empty()) {
            error = path + ":" + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
        at = end + 1;
    }
    config = std::move(parsed);
    return true;
}

std::string FormatWebConfig(const TWebConfig& config) {
    std::string text =
        "# corvane-web: written by --set-password, --add-token and --revoke-token.\n"
        "# Only hashes are stored here, never a password or a token.\n";
    if (!config.passwordHash.empty()) {
        text += "password " + config.passwordHash + "\n";
    }
    for (const TWebToken& token : config.tokens) {
        text += "token " + token.name + " " + token.hash + "\n";
    }
    return text;
}

bool ReadWebConfigFile(const std::string& path, TWebConfig& config, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno == ENOENT) {
            config = TWebConfig{};
            return true;
        }
        error = SystemError(path, "cannot read");
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseWebConfig(text.str(), path, config, error);
}

void WriteWebConfigFile(const std::string& path, const TWebConfig& config) {
    const std::string folder = FolderOf(path);
    struct stat owner {};
    if (stat(path.c_str(), &owner) != 0 && stat(folder.c_str(), &owner) != 0) {
        throw EWebConfigError(SystemError(folder, "cannot use the folder"));
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        throw EWebConfigError(SystemError(path, "cannot write"));
    }
    const std::string text = FormatWebConfig(config);
    bool written = fchmod(fd, 0600) == 0 &&
                   write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                   fsync(fd) == 0;
    if (written && geteuid() == 0) {
        written = fchown(fd, owner.st_uid, owner.st_gid) == 0;
    }
    const std::string failure = written ? "" : SystemError(path, "cannot write");
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = written ? SystemError(path, "cannot replace") : failure;
        unlink(temporary.c_str());
        throw EWebConfigError(reason);
    }
}
