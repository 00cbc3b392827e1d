#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "net/IdErrorText.h"
#include "net/IdException.h"
#include "net/IdProber.h"
#include "net/IdStackPosix.h"

// One epoll set holds every socket: the ICMP socket and each connect in flight. An echo reply
// is matched by its source address and sequence number (and, on a raw socket, which sees every
// reply on the host, by the echo id too); a connect is over when its socket becomes writable or
// reports an error.

namespace {

constexpr uint8_t kEchoReply = 0;
constexpr uint8_t kEchoRequest = 8;
constexpr size_t kIcmpHeaderSize = 8;
constexpr size_t kEchoPayloadSize = 16;
constexpr int kMaxEvents = 256;
constexpr uint16_t kSendsPerRead = 64;
constexpr int kUnsentWaitMs = 5;            // how soon a full send buffer is tried again
constexpr uint64_t kUnsent = ~uint64_t{0};  // the echo key of an echo not yet sent

const char kIcmpUnavailable[] =
    "ICMP checks cannot run: no unprivileged ICMP socket (the sysctl net.ipv4.ping_group_range "
    "excludes this group) and no raw socket (needs root or CAP_NET_RAW); use check=tcp:PORT";

uint16_t Checksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2) {
        sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
    }
    if (length % 2 == 1) {
        sum += static_cast<uint32_t>(data[length - 1] << 8);
    }
    while (sum >> 16 != 0) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint16_t>(~sum);
}

sockaddr_in SocketAddress(uint32_t address, uint16_t port) {
    sockaddr_in result;
    std::memset(&result, 0, sizeof(result));
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

// A connect that was refused reached a running machine: its kernel answered with a reset.
bool ProvesRunning(int error) {
    return error == 0 || error == ECONNREFUSED || error == ECONNRESET;
}

bool OutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM ||
           error == EADDRNOTAVAIL;  // no local port left: the same as no socket, for now
}

class TIdProberPosix : public TIdProber {
public:
    TIdProberPosix();
    ~TIdProberPosix() override;

    bool IcmpAvailable(std::string& reason) override;
    void SendEcho(uint64_t token, uint32_t address) override;
    bool StartConnect(uint64_t token, uint32_t address, uint16_t port) override;
    void Cancel(uint64_t token) override;
    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override;

private:
    static uint64_t EchoKey(uint32_t address, uint16_t sequence) {
        return static_cast<uint64_t>(address) << 16 | sequence;
    }

    struct TUnsentEcho {
        uint64_t token;
        uint32_t address;
    };

    bool OpenIcmp();
    // False when the socket's send buffer is full; the echo stays to be sent.
    bool TransmitEcho(uint64_t token, uint32_t address);
    void TransmitUnsent();
    void ReadEchoReplies(std::vector<TIdProbeResult>& results);
    void FinishConnect(int socket, std::vector<TIdProbeResult>& results);
    void Report(uint64_t token, int error);

    int epoll_ = -1;
    int icmp_ = -1;
    bool icmpTried_ = false;
    bool icmpRaw_ = false;
    uint16_t echoId_ = 0;
    uint16_t sequence_ = 0;
    std::unordered_map<uint64_t, uint64_t> echoByKey_;  // address and sequence -> token
    std::unordered_map<uint64_t, uint64_t> echoKeys_;   // token -> address and sequence
    std::deque<TUnsentEcho> unsent_;                    // echoes waiting for send buffer
    std::unordered_map<uint64_t, int> connectSockets_;  // token -> socket
    std::vector<uint64_t> socketTokens_;                // socket -> token (sockets are small)
    std::vector<TIdProbeResult> ready_;                 // outcomes known when started
    std::unordered_set<uint64_t> readyTokens_;
};

TIdProberPosix::TIdProberPosix() {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ < 0) {
        const int32_t code = TIdStackPosix::MapErrno(errno);
        throw EIdSocketError(SocketErrorMessage(code), code);
    }
    echoId_ = static_cast<uint16_t>(::getpid());
}

TIdProberPosix::~TIdProberPosix() {
    for (const auto& [token, socket] : connectSockets_) {
        ::close(socket);
    }
    if (icmp_ >= 0) {
        ::close(icmp_);
    }
    ::close(epoll_);
}

bool TIdProberPosix::OpenIcmp() {
    if (icmpTried_) {
        return icmp_ >= 0;
    }
    icmpTried_ = true;
    icmp_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (icmp_ < 0) {
        icmp_ = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        icmpRaw_ = icmp_ >= 0;
    }
    if (icmp_ < 0) {
        return false;
    }
    // Thousands of replies may arrive together: larger buffers drop fewer of them (beyond
    // net.core.rmem_max only with the privilege to force it).
    const int bufferSize = 4 << 20;
    if (::setsockopt(icmp_, SOL_SOCKET, SO_RCVBUFFORCE, &bufferSize, sizeof(bufferSize)) != 0) {
        ::setsockopt(icmp_, SOL_SOCKET, SO_RCVBUF, &bufferSize, sizeof(bufferSize));
    }
    ::setsockopt(icmp_, SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof(bufferSize));
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = icmp_;
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, icmp_, &event) != 0) {
        ::close(icmp_);
        icmp_ = -1;
        return false;
    }
    return true;
}

bool TIdProberPosix::IcmpAvailable(std::string& reason) {
    if (OpenIcmp()) {
        return true;
    }
    reason = kIcmpUnavailable;
    return false;
}

void TIdProberPosix::SendEcho(uint64_t token, uint32_t address) {
    Cancel(token);
    if (!OpenIcmp()) {
        Report(token, EACCES);
        return;
    }
    echoKeys_[token] = kUnsent;
    if (!unsent_.empty() || !TransmitEcho(token, address)) {
        unsent_.push_back({token, address});
    }
}

bool TIdProberPosix::TransmitEcho(uint64_t token, uint32_t address) {
    const uint16_t sequence = static_cast<uint16_t>(sequence_ + 1);
    uint8_t packet[kIcmpHeaderSize + kEchoPayloadSize] = {};
    packet[0] = kEchoRequest;
    packet[4] = static_cast<uint8_t>(echoId_ >> 8);  // an unprivileged socket puts its own id
    packet[5] = static_cast<uint8_t>(echoId_);
    packet[6] = static_cast<uint8_t>(sequence >> 8);
    packet[7] = static_cast<uint8_t>(sequence);
    std::memcpy(packet + kIcmpHeaderSize, "corvane check  ", kEchoPayloadSize);
    const uint16_t sum = Checksum(packet, sizeof(packet));
    packet[2] = static_cast<uint8_t>(sum >> 8);
    packet[3] = static_cast<uint8_t>(sum);
    const sockaddr_in to = SocketAddress(address, 0);
    if (::sendto(icmp_, packet, sizeof(packet), 0, reinterpret_cast<const sockaddr*>(&to),
                 sizeof(to)) < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS) {
            return false;  // the send buffer is full: sent from Wait once it drains
        }
        echoKeys_.erase(token);
        Report(token, errno);
        return true;
    }
    sequence_ = sequence;
    const uint64_t key = EchoKey(address, sequence);
    echoByKey_[key] = token;
    echoKeys_[token] = key;
    if (sequence % kSendsPerRead == 0) {
        // Replies to the first of many echoes come while the later ones are sent: read them
        // now and then, so they do not overflow the receive buffer before the next Wait.
        const size_t before = ready_.size();
        ReadEchoReplies(ready_);
        for (size_t i = before; i < ready_.size(); ++i) {
            readyTokens_.insert(ready_[i].token);
        }
    }
    return true;
}

void TIdProberPosix::TransmitUnsent() {
    while (!unsent_.empty()) {
        const TUnsentEcho next = unsent_.front();
        const auto found = echoKeys_.find(next.token);
        if (found != echoKeys_.end() && found->second == kUnsent &&
            !TransmitEcho(next.token, next.address)) {
            return;
        }
        unsent_.pop_front();
    }
}

bool TIdProberPosix::StartConnect(uint64_t token, uint32_t address, uint16_t port) {
    Cancel(token);
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        if (OutOfDescriptors(errno)) {
            return false;
        }
        Report(token, errno);
        return true;
    }
    // Closed with a reset rather than a FIN: repeated checks leave no TIME_WAIT behind.
    const linger abortive{1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof(abortive));
    const sockaddr_in to = SocketAddress(address, port);
    const int connected = ::connect(socket, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
    if (connected == 0 || errno != EINPROGRESS) {
        const int error = connected == 0 ? 0 : errno;
        ::close(socket);
        if (OutOfDescriptors(error)) {
            return false;
        }
        Report(token, error);
        return true;
    }
    epoll_event event{};
    event.events = EPOLLOUT;
    event.data.fd = socket;
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, socket, &event) != 0) {
        const int error = errno;
        ::close(socket);
        if (OutOfDescriptors(error)) {
            return false;
        }
        Report(token, error);
        return true;
    }
    if (socketTokens_.size() <= static_cast<size_t>(socket)) {
        socketTokens_.resize(static_cast<size_t>(socket) + 1);
    }
    socketTokens_[static_cast<size_t>(socket)] = token;
    connectSockets_[token] = socket;
    return true;
}

void TIdProberPosix::Cancel(uint64_t token) {
    if (const auto found = connectSockets_.find(token); found != connectSockets_.end()) {
        ::close(found->second);  // also leaves the epoll set
        connectSockets_.erase(found);
    }
    if (const auto found = echoKeys_.find(token); found != echoKeys_.end()) {
        echoByKey_.erase(found->second);  // an unsent echo stays in unsent_, skipped later
        echoKeys_.erase(found);
    }
    if (readyTokens_.erase(token) != 0) {
        std::erase_if(ready_,
                      [token](const TIdProbeResult& result) { return result.token == token; });
    }
}

void TIdProberPosix::Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) {
    if (!ready_.empty()) {
        for (const TIdProbeResult& result : ready_) {
            if (readyTokens_.erase(result.token) != 0) {
                results.push_back(result);
            }
        }
        ready_.clear();
        timeoutMs = 0;
    }
    TransmitUnsent();
    if (!unsent_.empty()) {
        timeoutMs = std::min(timeoutMs, kUnsentWaitMs);
    }
    epoll_event events[kMaxEvents];
    const int count = ::epoll_wait(epoll_, events, kMaxEvents, timeoutMs < 0 ? 0 : timeoutMs);
    for (int i = 0; i < count; ++i) {
        if (events[i].data.fd == icmp_) {
            ReadEchoReplies(results);
        } else {
            FinishConnect(events[i].data.fd, results);
        }
    }
}

void TIdProberPosix::ReadEchoReplies(std::vector<TIdProbeResult>& results) {
    uint8_t buffer[1500];
    // Bounded, so a flood of replies cannot keep the connects waiting.
    for (int read = 0; read < 4096; ++read) {
        sockaddr_in from;
        socklen_t fromLength = sizeof(from);
        const ssize_t length = ::recvfrom(icmp_, buffer, sizeof(buffer), 0,
                                          reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return;  // nothing more now
            }
            continue;  // an ICMP error for an earlier echo: it proves nothing
        }
        size_t offset = 0;
        if (icmpRaw_) {
            // A raw socket passes the IP header on; its length is in the first byte.
            if (length < 20) {
                continue;
            }
            offset = static_cast<size_t>(buffer[0] & 0x0F) * 4;
        }
        if (static_cast<size_t>(length) < offset + kIcmpHeaderSize ||
            buffer[offset] != kEchoReply) {
            continue;
        }
        const uint16_t id = static_cast<uint16_t>(buffer[offset + 4] << 8 | buffer[offset + 5]);
        if (icmpRaw_ && id != echoId_) {
            continue;  // another program's echo
        }
        const uint16_t sequence =
            static_cast<uint16_t>(buffer[offset + 6] << 8 | buffer[offset + 7]);
        const auto found = echoByKey_.find(EchoKey(ntohl(from.sin_addr.s_addr), sequence));
        if (found == echoByKey_.end()) {
            continue;
        }
        results.push_back({found->second, TIdProbeOutcome::Answered, 0});
        echoKeys_.erase(found->second);
        echoByKey_.erase(found);
    }
}

void TIdProberPosix::FinishConnect(int socket, std::vector<TIdProbeResult>& results) {
    const uint64_t token = socketTokens_[static_cast<size_t>(socket)];
    int error = 0;
    socklen_t length = sizeof(error);
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    ::close(socket);
    connectSockets_.erase(token);
    if (ProvesRunning(error)) {
        results.push_back({token, TIdProbeOutcome::Answered, 0});
    } else {
        results.push_back({token, TIdProbeOutcome::Failed, TIdStackPosix::MapErrno(error)});
    }
}

void TIdProberPosix::Report(uint64_t token, int error) {
    if (ProvesRunning(error)) {
        ready_.push_back({token, TIdProbeOutcome::Answered, 0});
    } else {
        ready_.push_back({token, TIdProbeOutcome::Failed, TIdStackPosix::MapErrno(error)});
    }
    readyTokens_.insert(token);
}

}  // namespace

std::unique_ptr<TIdProber> CreateProber() {
    return std::make_unique<TIdProberPosix>();
}
