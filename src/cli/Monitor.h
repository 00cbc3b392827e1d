#pragma once

#include <cstdio>

#include "cli/MonitorOptions.h"

// Listens on 0.0.0.0 at the options' port and writes one line per datagram to `out`, flushed
// at once. Says "listening on 0.0.0.0:<port>" on `err` once the socket is bound, so a caller
// reading that stream knows when to send. A failure of the socket layer is one line on `err`
// and the status kMonitorSocketError. Returns the monitor's exit status.
int RunMonitor(const TMonitorOptions& options, std::FILE* out, std::FILE* err);
