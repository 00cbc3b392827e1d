#pragma once

#include <cstdint>
#include <string>

// Tells when a file has changed since it was last looked at: its inode, size and modification
// time, so that an editor that replaces the file by renaming a new one over it is seen too.
class TFileWatch {
public:
    explicit TFileWatch(std::string path);

    // True when the file differs from the last call (the first call: from nothing). A missing
    // file is a state of its own: appearing and disappearing are changes.
    bool Changed();

    const std::string& Path() const { return path_; }

private:
    struct TStamp {
        bool exists = false;
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t size = 0;
        int64_t modifiedNs = 0;

        bool operator==(const TStamp&) const = default;
    };

    std::string path_;
    bool first_ = true;
    TStamp last_;
};
