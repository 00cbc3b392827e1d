#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hosts/HostsPlatform.h"

// The temporary file is made with mkstemp beside the target (a rename only replaces atomically
// within one file system), gets the old file's mode and owner, is written, fsync'ed and renamed;
// the folder is fsync'ed last so that the rename itself survives a crash.

namespace {

std::string Failure(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p, with the process's umask.
bool CreateFolders(const std::string& folder, std::string& error) {
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return true;
        }
        error = Failure("cannot create folder", folder, ENOTDIR);
        return false;
    }
    const std::string parent = FolderOf(folder);
    if (parent != folder && !CreateFolders(parent, error)) {
        return false;
    }
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        error = Failure("cannot create folder", folder, errno);
        return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

// The file a symbolic link names, so the link stays a link.
std::string ResolvedTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, bool& exists, std::string& error) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        exists = false;
        if (errno == ENOENT) {
            return true;
        }
        error = Failure("cannot read", path, errno);
        return false;
    }
    exists = true;
    char buffer[65536];
    while (true) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = Failure("cannot read", path, errno);
            close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
        if (bytes.size() > kMaxHostsFileBytes) {
            error = "cannot read " + path + ": larger than 64 MiB";
            bytes.clear();
            close(fd);
            return false;
        }
    }
    close(fd);
    return true;
}

bool ReplaceFileBytes(const std::string& givenPath, const std::string& bytes, std::string& error) {
    const std::string path = ResolvedTarget(givenPath);
    const std::string folder = FolderOf(path);
    if (!CreateFolders(folder, error)) {
        return false;
    }
    const size_t slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = (folder == "/" ? "" : folder) + "/." + base + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = Failure("cannot write to folder", folder, errno);
        return false;
    }
    temporary = name.data();
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
        // Only root may give a file away; for others the owner is theirs already.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // keep the new owner: the mode still matches
        }
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
        error = Failure("cannot write", temporary, errno);
        close(fd);
        unlink(temporary.c_str());
        return false;
    }
    if (close(fd) != 0) {
        error = Failure("cannot write", temporary, errno);
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = Failure("cannot replace", path, errno);
        unlink(temporary.c_str());
        return false;
    }
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

bool UsesWindowsHostsRule() {
    return false;
}

std::string ProgramFolder() {
    return {};
}
