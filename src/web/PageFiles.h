#pragma once

#include <cstddef>
#include <string_view>

// The page's own files (src/web/page/*), embedded in the program when it is built: the only
// files the server ever answers with. No path from a request reaches the file system.

struct TPageFile {
    std::string_view name;  // "index.html", "app.js", ...
    std::string_view contentType;
    std::string_view data;
};

// The file a request path names: "/" is index.html, "/NAME" the file NAME of the set; nullptr
// for anything else.
const TPageFile* FindPageFile(std::string_view path);

// The whole set, for the build's own checks.
size_t PageFileCount();
const TPageFile& PageFileAt(size_t index);
