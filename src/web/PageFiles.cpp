#include "web/PageFiles.h"

// The table itself (kPageFiles, kPageFileCount) is written by cmake/EmbedPage.cmake.
#include "web/PageFilesData.inc"

const TPageFile* FindPageFile(std::string_view path) {
    if (path.empty() || path.front() != '/') {
        return nullptr;
    }
    const std::string_view name = path == "/" ? std::string_view("index.html") : path.substr(1);
    if (path == "/index.html") {
        return nullptr;  // the page has one address, "/"
    }
    for (size_t i = 0; i < kPageFileCount; ++i) {
        if (kPageFiles[i].name == name) {
            return &kPageFiles[i];
        }
    }
    return nullptr;
}

size_t PageFileCount() {
    return kPageFileCount;
}

const TPageFile& PageFileAt(size_t index) {
    return kPageFiles[index];
}
