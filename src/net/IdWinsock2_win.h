#pragma once

#include <string>

#include "base/WinApi.h"

// Run-time binding of the Windows Sockets 2 library: nothing links ws2_32; WS2_32.DLL is loaded
// by the start-up entry, and every socket function is called through its row's current
// pointer. A row starts at its stub, which binds the export on first use (or raises
// EIdWS2StubError while the library is not loaded) and then forwards the call unchanged.

enum TWs2Row : int {
    kRowWSACleanup,
    kRowWSAGetLastError,
    kRowBind,
    kRowCloseSocket,
    kRowGetHostByName,
    kRowGetSockName,
    kRowHtons,
    kRowNtohs,
    kRowRecvFrom,
    kRowSelect,
    kRowSendTo,
    kRowSetSockOpt,
    kRowShutdown,
    kRowSocket,
    kRowConnect,
    kRowGetSockOpt,
    kRowIoctlSocket,
    kRowCount,
};

const char* Ws2ExportName(int row);
// The row's export in the loaded library. Raises EIdWS2StubError "Error on call Winsock2 library
// function <name>" with 10093 when the library is not loaded, or with the system's error when
// the library lacks the export.
void (*Ws2LookUpExport(int row))();

template <int Row, typename Fn>
class TWs2Entry;

template <int Row, typename R, typename... A>
class TWs2Entry<Row, R(WSAAPI*)(A...)> {
public:
    using Fn = R(WSAAPI*)(A...);

    static R Call(A... args) { return current_(args...); }
    static void Reset() { current_ = &Stub; }
    static bool Bound() { return current_ != &Stub; }

private:
    static R WSAAPI Stub(A... args) {
        // Through void (*)(), the generic function pointer type, to the row's own type.
        current_ = reinterpret_cast<Fn>(Ws2LookUpExport(Row));
        return current_(args...);
    }

    static inline Fn current_ = &Stub;
};

using Ws2WSACleanup = TWs2Entry<kRowWSACleanup, decltype(&::WSACleanup)>;
using Ws2WSAGetLastError = TWs2Entry<kRowWSAGetLastError, decltype(&::WSAGetLastError)>;
using Ws2Bind = TWs2Entry<kRowBind, decltype(&::bind)>;
using Ws2CloseSocket = TWs2Entry<kRowCloseSocket, decltype(&::closesocket)>;
using Ws2GetHostByName = TWs2Entry<kRowGetHostByName, decltype(&::gethostbyname)>;
using Ws2GetSockName = TWs2Entry<kRowGetSockName, decltype(&::getsockname)>;
using Ws2Htons = TWs2Entry<kRowHtons, decltype(&::htons)>;
using Ws2Ntohs = TWs2Entry<kRowNtohs, decltype(&::ntohs)>;
using Ws2RecvFrom = TWs2Entry<kRowRecvFrom, decltype(&::recvfrom)>;
using Ws2Select = TWs2Entry<kRowSelect, decltype(&::select)>;
using Ws2SendTo = TWs2Entry<kRowSendTo, decltype(&::sendto)>;
using Ws2SetSockOpt = TWs2Entry<kRowSetSockOpt, decltype(&::setsockopt)>;
using Ws2Shutdown = TWs2Entry<kRowShutdown, decltype(&::shutdown)>;
using Ws2Socket = TWs2Entry<kRowSocket, decltype(&::socket)>;
using Ws2Connect = TWs2Entry<kRowConnect, decltype(&::connect)>;
using Ws2GetSockOpt = TWs2Entry<kRowGetSockOpt, decltype(&::getsockopt)>;
using Ws2IoctlSocket = TWs2Entry<kRowIoctlSocket, decltype(&::ioctlsocket)>;

// Start-up entry: returns 0 at once when the library is loaded; otherwise loads it (raising
// EIdWS2StubError "Error on loading Winsock2 library (WS2_32.DLL)" on failure), looks up
// WSAStartup and returns its result.
int Ws2Startup(WORD version, WSADATA* data);
bool Ws2Loaded();
// Frees the library if it is loaded (the handle is taken in one atomic exchange) and resets
// every row to its stub.
void Ws2Unload();
// Every row's current pointer back to its stub.
void Ws2ResetEntries();
// The system's text for an error number, trimmed (Windows' wording for 10093 where the system
// has none).
std::string Ws2SystemErrorText(DWORD error);
