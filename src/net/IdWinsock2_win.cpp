#include "net/IdWinsock2_win.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "net/IdErrorText.h"
#include "net/IdException.h"

namespace {

constexpr const char* kLibraryName = "WS2_32.DLL";
constexpr DWORD kNotInitialised = kIdErrorNotInitialised;  // WSANOTINITIALISED

// Export names, one per row.
constexpr const char* kExportNames[kRowCount] = {
    "WSACleanup", "WSAGetLastError", "bind",     "closesocket", "gethostbyname", "getsockname",
    "htons",      "ntohs",           "recvfrom", "select",      "sendto",        "setsockopt",
    "shutdown",   "socket",          "connect",  "getsockopt",  "ioctlsocket",
};

// Returns every row to its stub.
void (*const kResets[kRowCount])() = {
    &Ws2WSACleanup::Reset,  &Ws2WSAGetLastError::Reset, &Ws2Bind::Reset,
    &Ws2CloseSocket::Reset, &Ws2GetHostByName::Reset,   &Ws2GetSockName::Reset,
    &Ws2Htons::Reset,       &Ws2Ntohs::Reset,           &Ws2RecvFrom::Reset,
    &Ws2Select::Reset,      &Ws2SendTo::Reset,          &Ws2SetSockOpt::Reset,
    &Ws2Shutdown::Reset,    &Ws2Socket::Reset,          &Ws2Connect::Reset,
    &Ws2GetSockOpt::Reset,  &Ws2IoctlSocket::Reset,
};

std::atomic<HMODULE> gLibrary{nullptr};

std::string Format(const char* pattern, const char* argument) {
    char text[160];
    std::snprintf(text, sizeof(text), pattern, argument);
    return text;
}

EIdWS2StubError CallError(const char* exportName, DWORD systemError) {
    return EIdWS2StubError(systemError, Ws2SystemErrorText(systemError),
                           Format("Error on call Winsock2 library function %s", exportName));
}

// GetProcAddress's FARPROC as the generic function pointer type void (*)().
void (*LookUp(HMODULE library, const char* name))() {
    return reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

const char* Ws2ExportName(int row) {
    return kExportNames[row];
}

void (*Ws2LookUpExport(int row))() {
    const HMODULE library = gLibrary.load();
    if (library == nullptr) {
        throw CallError(kExportNames[row], kNotInitialised);
    }
    void (*function)() = LookUp(library, kExportNames[row]);
    if (function == nullptr) {
        throw CallError(kExportNames[row], GetLastError());
    }
    return function;
}

int Ws2Startup(WORD version, WSADATA* data) {
    if (gLibrary.load() != nullptr) {
        return 0;
    }
    const HMODULE library = LoadLibraryA(kLibraryName);
    if (library == nullptr) {
        const DWORD error = GetLastError();
        throw EIdWS2StubError(error, Ws2SystemErrorText(error),
                              Format("Error on loading Winsock2 library (%s)", kLibraryName));
    }
    gLibrary.store(library);
    using StartupFn = int(WSAAPI*)(WORD, WSADATA*);
    const auto startup = reinterpret_cast<StartupFn>(LookUp(library, "WSAStartup"));
    if (startup == nullptr) {
        const DWORD error = GetLastError();
        Ws2Unload();
        throw CallError("WSAStartup", error);
    }
    const int result = startup(version, data);
    if (result != 0) {
        // Unload again, so a later start-up loads and starts afresh instead of taking a loaded
        // but never started library for success.
        Ws2Unload();
    }
    return result;
}

bool Ws2Loaded() {
    return gLibrary.load() != nullptr;
}

void Ws2Unload() {
    const HMODULE library = gLibrary.exchange(nullptr);
    if (library != nullptr) {
        FreeLibrary(library);
        Ws2ResetEntries();
    }
}

void Ws2ResetEntries() {
    for (void (*reset)() : kResets) {
        reset();
    }
}

std::string Ws2SystemErrorText(DWORD error) {
    char text[512];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof(text), nullptr);
    std::string trimmed = EIdWS2StubError::TrimSystemText(std::string(text, length));
    if (trimmed.empty() && error == kNotInitialised) {
        // Wine has no text for it; the stub error always carries this number.
        trimmed = "Either the application has not called WSAStartup, or WSAStartup failed";
    }
    return trimmed;
}
