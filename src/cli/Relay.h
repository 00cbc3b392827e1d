#pragma once

#include <cstdio>

#include "cli/RelayOptions.h"

// Listens at the options' address and port, and writes one line per datagram to `out`, flushed
// at once, saying whether it was forwarded (and where) or dropped (and why). Says
// "listening on <address>:<port>, forwarding to <destinations>" on `err` once the sockets are
// ready. A socket that cannot be made or bound, or an --interface that cannot be found, is one
// line on `err` and the status kRelaySetupError. Returns the relay's exit status.
int RunRelay(const TRelayOptions& options, std::FILE* out, std::FILE* err);
