#include "ui/AddressBookFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "base/Exception.h"

namespace {

struct CodeText {
    int code;
    const char* text;
};

constexpr CodeText kTexts[] = {
    {2, "Datei nicht gefunden"},
    {3, "Ungültiger Dateiname"},
    {4, "Zu viele geöffnete Dateien"},
    {5, "Dateizugriff verweigert"},
    {100, "Versuch hinter dem Dateiende zu lesen"},
    {101, "Zu wenig Speicherplatz"},
    {106, "Ungültige numerische Eingabe"},
};

bool IsDirectory(const struct stat& status) {
    return (status.st_mode & S_IFMT) == S_IFDIR;
}

}  // namespace

std::string InOutErrorText(int code) {
    for (const CodeText& entry : kTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "E/A-Fehler " + std::to_string(code);
}

int InOutErrorCode(int errorNumber) {
    // The codes are the system's error numbers, as the run-time library reports them.
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return 3;  // the folder is missing or the name cannot be one
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
    case EEXIST:
        return 5;
    case ENOMEM:
        return 8;  // not enough memory
    case ENOSPC:
        return 101;
    case EIO:
        return 1117;  // device input/output error
    default:
        // Any other failure: a general one. Passing the C library's number on would give some
        // of them the text of an unrelated code (EIO and EINTR are 5 and 4, for instance).
        return 31;
    }
}

std::string AddressBookPath(const std::string& executablePath) {
    const size_t slash = executablePath.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    return folder + "addrbook.txt";
}

void CreateFileIfMissing(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && !IsDirectory(status)) {
        return;
    }
    // Append mode creates a missing file but never truncates one that appeared meanwhile.
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        const int code = InOutErrorCode(errno);
        throw EInOutError(InOutErrorText(code), code);
    }
    if (std::fclose(file) != 0) {
        const int code = InOutErrorCode(errno);
        throw EInOutError(InOutErrorText(code), code);
    }
}
