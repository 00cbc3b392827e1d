#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "cli/MagicPacketDecoder.h"
#include "cli/Monitor.h"

namespace {

// Larger than any IPv4 UDP payload (65507 bytes).
constexpr size_t kReceiveBuffer = 65536;

int Fail(std::FILE* err, const std::string& what) {
    std::fprintf(err, "corvane-monitor: %s: %s\n", what.c_str(), std::strerror(errno));
    return kMonitorSocketError;
}

class TSocket {
public:
    TSocket() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~TSocket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

int RunMonitor(const TMonitorOptions& options, std::FILE* out, std::FILE* err) {
    TSocket socket;
    if (socket.Fd() < 0) {
        return Fail(err, "cannot create a UDP socket");
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(static_cast<uint16_t>(options.port));
    if (bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return Fail(err, "cannot listen on 0.0.0.0:" + std::to_string(options.port));
    }
    std::fprintf(err, "corvane-monitor: listening on 0.0.0.0:%d\n", options.port);
    std::fflush(err);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMillis);
    std::string buffer(kReceiveBuffer, '\0');
    int64_t received = 0;
    while (options.count == 0 || received < options.count) {
        int waitMillis = -1;
        if (options.timeoutMillis > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return kMonitorTimedOut;
            }
            waitMillis = static_cast<int>(std::min<int64_t>(left.count() + 1, 1 << 30));
        }
        pollfd ready{socket.Fd(), POLLIN, 0};
        const int polled = poll(&ready, 1, waitMillis);
        if (polled < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(err, "waiting for datagrams failed");
        }
        if (polled == 0) {
            continue;  // the deadline check above ends the loop
        }
        sockaddr_in sender{};
        socklen_t senderSize = sizeof sender;
        const ssize_t length = recvfrom(socket.Fd(), buffer.data(), buffer.size(), 0,
                                        reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (length < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(err, "receiving failed");
        }
        char address[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, &sender.sin_addr, address, sizeof address);
        const std::string line =
            FormatDatagramLine(address, ntohs(sender.sin_port),
                               std::string_view(buffer.data(), static_cast<size_t>(length)));
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fflush(out);
        ++received;
    }
    return kMonitorCountReached;
}
