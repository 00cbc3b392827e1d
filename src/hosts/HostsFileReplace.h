#pragma once

#include <string>

// The platform half of the hosts file's updates: whole-file reads and an atomic replacement.
// HostsFileReplacePosix.cpp and HostsFileReplace_win.cpp implement it.

// The whole file's bytes. False with `error` set when it cannot be read; a file (or folder)
// that does not exist is no error: `exists` is false and `bytes` empty then.
bool ReadFileBytes(const std::string& path, std::string& bytes, bool& exists, std::string& error);

// Writes `bytes` to a new file in the same folder, flushes it to the disk and renames it over
// `path`, so a reader sees the old file or the new one, never a part. Missing folders are
// created; an existing file's permissions are kept where the platform allows (a symbolic link
// is followed, so the file it names is replaced). False with `error` set, and `path` untouched,
// on any failure.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes, std::string& error);

// Whether this build follows the Windows rule of where the hosts file is.
bool UsesWindowsHostsRule();
