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

void TConsoleHost::CloseMainWindow() {
    closed_ = true;
}

int RunConsoleWake(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    TConsoleHost host(out, err);
    TCommandLineRequest request;
    try {
        RunCommandLine(arguments, host, request);
    } catch (const Exception& e) {
        WriteLine(err, ErrorBoxText(e.Message()));
        return kExitNotSent;
    }

    if (host.Closed()) {
        // What the main window logs after a send; the password itself is never shown.
        WriteLine(out, "MagicPaket sent to:");
        WriteLine(out, "Device: " + request.mac);
        WriteLine(out, "BCast Domain: " + request.ip);
        if (!request.password.empty()) {
            WriteLine(out, "Sent with WOL Password");
        }
        return kExitSent;
    }
    const size_t count = arguments.size();
    if (count == 0) {
        // Without a window there is nothing interactive to fall back to: say how to use it.
        std::fflush(out);
        WriteLine(err, kUsageMessage);
        return kExitUsage;
    }
    // Two to four arguments that sent nothing: a check failed and its message was shown.
    return count >= 2 && count <= 4 ? kExitNotSent : kExitUsage;
}
