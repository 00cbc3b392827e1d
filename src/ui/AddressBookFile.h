#pragma once

#include <string>

// The run-time library's German wording of an input/output error code (2, 3, 5, ...).
std::string InOutErrorText(int code);

// The input/output error code for the C library's error number (errno) of a failed create:
// the system's code for the same failure; 31 (general failure) for one without its own.
int InOutErrorCode(int errorNumber);

// The address book next to the executable: the folder part of `executablePath` (up to and
// including its last '\' or '/') followed by "addrbook.txt".
std::string AddressBookPath(const std::string& executablePath);

// Creates `path` as an empty file unless a file of that name exists; an existing file is left
// exactly as it is. A directory of that name does not count as a file, so the create fails.
// Throws EInOutError with the code and text of the failure.
void CreateFileIfMissing(const std::string& path);
