#include "web/FileWatch.h"

#include <sys/stat.h>

#include <utility>

TFileWatch::TFileWatch(std::string path) : path_(std::move(path)) {}

bool TFileWatch::Changed() {
    TStamp stamp;
    struct stat info {};
    if (stat(path_.c_str(), &info) == 0) {
        stamp.exists = true;
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modifiedNs =
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    const bool changed = first_ || !(stamp == last_);
    first_ = false;
    last_ = stamp;
    return changed;
}
