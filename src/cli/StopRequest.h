#pragma once

// Ctrl-C (and, on POSIX, SIGTERM from a service manager) asks a console program to stop: the
// handler only sets a flag, which the program's loop reads between two waits.
void InstallStopHandler();
bool StopRequested();
