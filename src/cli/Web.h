#pragma once

#include <cstdio>
#include <string>

#include "cli/WebOptions.h"
#include "web/WebConfig.h"

// corvane-web's front end: the config commands and the server's start and stop.

// Why the server must not start with these options and this configuration ("" when it may):
// on an address other than loopback it needs a password or a token.
std::string StartRefusal(const TWebOptions& options, const TWebConfig& config);

// A new password from `in`: asked twice without echo when `in` is a terminal, otherwise one
// line without its line end. False with `error` set.
bool ReadNewPassword(std::FILE* in, std::FILE* err, std::string& password, std::string& error);

// --set-password, --add-token, --revoke-token, --list-tokens: returns the exit status.
int RunWebCommand(const TWebOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

// Serves until SIGINT or SIGTERM; SIGHUP rereads the hosts file. Returns the exit status.
int RunWebServer(const TWebOptions& options, std::FILE* err);
