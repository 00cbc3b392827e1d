#pragma once

// The one place that includes the Windows headers. Windows Sockets 2 before <windows.h>, so the
// old winsock.h declarations never come in; the common controls, the shell and the IP helper
// (the interface list) after it.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <iphlpapi.h>
// clang-format on
