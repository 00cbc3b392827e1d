#include "cli/ConsoleHost.h"

#include "base/ErrorBoxText.h"
#include "base/Exception.h"
#include "net/IdUDPClient.h"

namespace {

// Writes the text and a line feed; the text may hold zero bytes.
void WriteLine(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

// Prints what follows the decision and gives the exit status for what it did.
int FinishConsoleWake(const TCommandLineResult& result, TConsoleHost& host, std::FILE* out) {
    switch (result.outcome) {
    case TCommandLineOutcome::Sent:
        LogSentWake(host, result.request);
        return kExitSent;
    case TCommandLineOutcome::Banner:
        std::fflush(out);  // the banner before the usage, also on a shared terminal
        host.ShowMessage(kUsageMessage);
        return kExitUsage;
    case TCommandLineOutcome::Usage:
        return kExitUsage;
    case TCommandLineOutcome::CheckFailed:
        break;
    }
    return kExitNotSent;
}

}  // namespace

TConsoleHost::TConsoleHost(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

TConsoleHost::~TConsoleHost() = default;

TIdUDPClient& TConsoleHost::UdpClient() {
    if (!client_) {
        client_ = std::make_unique<TIdUDPClient>();
        client_->SetBroadcastEnabled(true);
    }
    return *client_;
}

void TConsoleHost::AddLogLine(const std::string& line) {
    WriteLine(out_, line);
}

void TConsoleHost::ShowMessage(const std::string& text) {
    WriteLine(err_, text);
}

int RunConsoleWake(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    TConsoleHost host(out, err);
    try {
        return FinishConsoleWake(RunCommandLine(arguments, host), host, out);
    } catch (const Exception& e) {
        WriteLine(err, ErrorBoxText(e.Message()));
        return kExitNotSent;
    }
}
