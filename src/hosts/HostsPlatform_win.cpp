#include <algorithm>
#include <string>

#include "base/WinApi.h"
#include "hosts/HostsPlatform.h"

// GetTempFileNameA makes a unique file in the target's folder (MoveFileExA replaces atomically
// only on one volume); it is written, flushed and moved over the target with
// MOVEFILE_REPLACE_EXISTING. The new file takes the folder's inherited permissions.

namespace {

std::string Failure(const std::string& what, const std::string& path, DWORD code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' ')) {
        --length;
    }
    const std::string reason =
        length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    return what + " " + path + ": " + reason;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Every missing folder on the way; "C:" and a share's name fail harmlessly on the way down.
bool CreateFolders(const std::string& folder, std::string& error) {
    for (size_t at = folder.find_first_of("\\/", 1); at != std::string::npos;
         at = folder.find_first_of("\\/", at + 1)) {
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    }
    if (!CreateDirectoryA(folder.c_str(), nullptr) && !IsFolder(folder)) {
        error = Failure("cannot create folder", folder, GetLastError());
        return false;
    }
    return true;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, bool& exists, std::string& error) {
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        exists = false;
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            return true;
        }
        error = Failure("cannot read", path, code);
        return false;
    }
    exists = true;
    char buffer[65536];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            error = Failure("cannot read", path, GetLastError());
            CloseHandle(file);
            return false;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
        if (bytes.size() > kMaxHostsFileBytes) {
            error = "cannot read " + path + ": larger than 64 MiB";
            bytes.clear();
            CloseHandle(file);
            return false;
        }
    }
    CloseHandle(file);
    return true;
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string folder = FolderOf(path);
    if (!CreateFolders(folder, error)) {
        return false;
    }
    char temporary[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), "cvh", 0, temporary) == 0) {
        error = Failure("cannot write to folder", folder, GetLastError());
        return false;
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = Failure("cannot write", temporary, GetLastError());
        DeleteFileA(temporary);
        return false;
    }
    if (!WriteAll(file, bytes) || !FlushFileBuffers(file)) {
        error = Failure("cannot write", temporary, GetLastError());
        CloseHandle(file);
        DeleteFileA(temporary);
        return false;
    }
    CloseHandle(file);
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = Failure("cannot replace", path, GetLastError());
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

bool UsesWindowsHostsRule() {
    return true;
}

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};  // a truncated path names no folder reliably
    }
    const std::string file(path, length);
    const size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}
