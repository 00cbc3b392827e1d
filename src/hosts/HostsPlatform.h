#pragma once

#include <cstddef>
#include <string>

// The platform half of the hosts layer: whole-file reads, an atomic replacement, and what the
// location rule needs to know of the platform. HostsPlatformPosix.cpp and HostsPlatform_win.cpp
// implement it.

// A hosts file of 100,000 hosts is about 6 MB; a larger limit than any real one needs, so that
// a device such as /dev/zero given as the file ends in an error instead of filling the memory.
constexpr size_t kMaxHostsFileBytes = size_t{64} << 20;

// The whole file's bytes. False with `error` set when it cannot be read or is larger than
// kMaxHostsFileBytes; a file (or folder) that does not exist is no error: `exists` is false
// and `bytes` empty then.
bool ReadFileBytes(const std::string& path, std::string& bytes, bool& exists, std::string& error);

// Writes `bytes` to a new file in the same folder, flushes it to the disk and renames it over
// `path`, so a reader sees the old file or the new one, never a part. Missing folders are
// created; an existing file's permissions are kept where the platform allows (a symbolic link
// is followed, so the file it names is replaced). False with `error` set, and `path` untouched,
// on any failure.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes, std::string& error);

// Whether this build follows the Windows rule of where the hosts file is.
bool UsesWindowsHostsRule();

// The folder of the running program, for the Windows rule's `hosts` beside it (from
// GetModuleFileNameA); empty on POSIX, whose rule does not use it.
std::string ProgramFolder();
