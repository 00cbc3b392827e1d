// The command-line decision on any argument list (the input split at zero bytes), with a host
// that records and a socket stack that sends nothing. It ends with a message, with one datagram
// and the outcome Sent, or with one of our exceptions.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"
#include "wake/CommandLineWake.h"

namespace {

class TFuzzHost : public TWakeHost {
public:
    TFuzzHost() { client_.SetBroadcastEnabled(true); }
    TIdUDPClient& UdpClient() override { return client_; }
    void AddLogLine(const std::string&) override { ++logLines; }
    void ShowMessage(const std::string&) override { ++messages; }

    int logLines = 0;
    int messages = 0;

private:
    TIdUDPClient client_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start < text.size() && arguments.size() < 8;) {
        const size_t end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    ScopedRecordingStack stack;
    TFuzzHost host;
    bool raised = false;
    bool reportedSent = false;
    try {
        reportedSent = RunCommandLine(arguments, host).outcome == TCommandLineOutcome::Sent;
    } catch (const Exception&) {
        raised = true;
    }
    const size_t sent = stack.Sent().size();
    if (sent > 1 || reportedSent != (sent == 1) || (raised && sent != 0) ||
        (arguments.empty() && host.logLines != 2)) {
        std::abort();
    }
    return 0;
}
