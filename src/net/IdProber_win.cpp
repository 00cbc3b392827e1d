#include <algorithm>
#include <cstddef>
#include <cstring>
#include <list>
#include <unordered_map>

#include "base/DottedText.h"
#include "base/WinApi.h"
#include "net/IdErrorText.h"
#include "net/IdException.h"
#include "net/IdProber.h"
#include "net/IdStackWindows.h"
#include "net/IdWinsock2_win.h"

// Connects are non-blocking sockets of the run-time bound Windows Sockets, waited for with one
// select over sets as large as the connects in flight (Windows' select takes a set of any
// count; FD_SETSIZE only sizes the header's own type). A completed connect shows in the write
// set, a failed one in the except set.
//
// Echoes go through the system's ICMP echo API (IPHLPAPI.DLL, loaded at run time): each echo is
// one IcmpSendEcho2 with an event of its own, so no thread is needed; Wait looks at the events
// between short selects. An echo cannot be withdrawn once sent, so a cancelled one keeps its
// reply buffer until its event says the system is done with it.

namespace {

constexpr DWORD kEchoTimeoutMs = 4000;
constexpr int32_t kSliceMs = 10;  // how often Wait looks at the echo events
constexpr WORD kEchoPayloadSize = 16;
constexpr DWORD kReplySize = sizeof(ICMP_ECHO_REPLY) + kEchoPayloadSize + 8 + 64;

const char kIcmpUnavailable[] =
    "ICMP checks cannot run: the ICMP echo API of IPHLPAPI.DLL is missing; use check=tcp:PORT";

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEcho2Fn = DWORD(WINAPI*)(HANDLE, HANDLE, PVOID, PVOID, IPAddr, LPVOID, WORD,
                                       PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
using IcmpParseRepliesFn = DWORD(WINAPI*)(LPVOID, DWORD);

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

sockaddr_in SocketAddress(uint32_t address, uint16_t port) {
    sockaddr_in result;
    std::memset(&result, 0, sizeof(result));
    result.sin_family = AF_INET;
    result.sin_port = Ws2Htons::Call(port);
    const auto octets = AddressOctets(address);
    std::memcpy(&result.sin_addr, octets.data(), octets.size());
    return result;
}

IPAddr NetworkAddress(uint32_t address) {
    IPAddr result;
    const auto octets = AddressOctets(address);
    std::memcpy(&result, octets.data(), sizeof(result));
    return result;
}

bool ProvesRunning(int error) {
    return error == 0 || error == WSAECONNREFUSED || error == WSAECONNRESET;
}

// The socket list of a select set: the count, then the sockets, as fd_set lays them out.
class TSocketSet {
public:
    static_assert(offsetof(fd_set, fd_array) == sizeof(SOCKET));

    void Fill(const std::unordered_map<uint64_t, SOCKET>& sockets) {
        storage_.assign(sockets.size() + 1, 0);
        u_int count = 0;
        for (const auto& [token, socket] : sockets) {
            storage_[++count] = socket;
        }
        std::memcpy(storage_.data(), &count, sizeof(count));
    }
    fd_set* Set() { return reinterpret_cast<fd_set*>(storage_.data()); }
    u_int Count() const {
        u_int count = 0;
        std::memcpy(&count, storage_.data(), sizeof(count));
        return count;
    }
    SOCKET At(u_int index) const { return storage_[index + 1]; }

private:
    std::vector<SOCKET> storage_;
};

struct TEcho {
    uint64_t token;
    uint32_t address;
    bool cancelled;
    HANDLE event;
    unsigned char reply[kReplySize];
};

class TIdProberWindows : public TIdProber {
public:
    TIdProberWindows();
    ~TIdProberWindows() override;

    bool IcmpAvailable(std::string& reason) override;
    void SendEcho(uint64_t token, uint32_t address) override;
    bool StartConnect(uint64_t token, uint32_t address, uint16_t port) override;
    void Cancel(uint64_t token) override;
    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override;

private:
    bool OpenIcmp();
    void CollectEchoes(std::vector<TIdProbeResult>& results);
    void SelectConnects(int32_t timeoutMs, std::vector<TIdProbeResult>& results);
    void FinishConnect(SOCKET socket, std::vector<TIdProbeResult>& results);

    HMODULE iphlpapi_ = nullptr;
    HANDLE icmp_ = INVALID_HANDLE_VALUE;
    bool icmpTried_ = false;
    IcmpCloseHandleFn closeHandle_ = nullptr;
    IcmpSendEcho2Fn sendEcho_ = nullptr;
    IcmpParseRepliesFn parseReplies_ = nullptr;

    std::list<TEcho> echoes_;  // stable addresses: the system writes into them
    std::unordered_map<uint64_t, std::list<TEcho>::iterator> echoByToken_;
    std::unordered_map<uint64_t, SOCKET> connects_;  // token -> socket
    std::unordered_map<SOCKET, uint64_t> tokens_;    // socket -> token
    std::vector<TIdProbeResult> ready_;              // outcomes known when started
    TSocketSet writeSet_;
    TSocketSet exceptSet_;
};

TIdProberWindows::TIdProberWindows() {
    TIdStackWindows started;  // starts Windows Sockets once for the process, or raises
}

TIdProberWindows::~TIdProberWindows() {
    for (const auto& [token, socket] : connects_) {
        Ws2CloseSocket::Call(socket);
    }
    if (icmp_ != INVALID_HANDLE_VALUE) {
        closeHandle_(icmp_);
    }
    // An echo the system has not finished may still write its reply: its buffer is left to the
    // process rather than freed under it.
    auto* unfinished = new std::list<TEcho>;
    for (auto echo = echoes_.begin(); echo != echoes_.end();) {
        const auto next = std::next(echo);
        if (WaitForSingleObject(echo->event, 0) == WAIT_OBJECT_0) {
            CloseHandle(echo->event);
        } else {
            unfinished->splice(unfinished->end(), echoes_, echo);
        }
        echo = next;
    }
    if (unfinished->empty()) {
        delete unfinished;
    }
    if (iphlpapi_ != nullptr) {
        FreeLibrary(iphlpapi_);
    }
}

bool TIdProberWindows::OpenIcmp() {
    if (icmpTried_) {
        return icmp_ != INVALID_HANDLE_VALUE;
    }
    icmpTried_ = true;
    iphlpapi_ = LoadLibraryA("IPHLPAPI.DLL");
    if (iphlpapi_ == nullptr) {
        return false;
    }
    const auto createFile = Export<IcmpCreateFileFn>(iphlpapi_, "IcmpCreateFile");
    closeHandle_ = Export<IcmpCloseHandleFn>(iphlpapi_, "IcmpCloseHandle");
    sendEcho_ = Export<IcmpSendEcho2Fn>(iphlpapi_, "IcmpSendEcho2");
    parseReplies_ = Export<IcmpParseRepliesFn>(iphlpapi_, "IcmpParseReplies");
    if (createFile == nullptr || closeHandle_ == nullptr || sendEcho_ == nullptr ||
        parseReplies_ == nullptr) {
        return false;
    }
    icmp_ = createFile();
    return icmp_ != INVALID_HANDLE_VALUE;
}

bool TIdProberWindows::IcmpAvailable(std::string& reason) {
    if (OpenIcmp()) {
        return true;
    }
    reason = kIcmpUnavailable;
    return false;
}

void TIdProberWindows::SendEcho(uint64_t token, uint32_t address) {
    Cancel(token);
    if (!OpenIcmp()) {
        ready_.push_back({token, TIdProbeOutcome::Failed, kIdErrorAccessDenied});
        return;
    }
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) {
        ready_.push_back({token, TIdProbeOutcome::Failed, kIdErrorNoBufferSpace});
        return;
    }
    echoes_.push_back({token, address, false, event, {}});
    const auto echo = std::prev(echoes_.end());
    char payload[kEchoPayloadSize + 1] = "corvane check  ";
    const DWORD sent =
        sendEcho_(icmp_, event, nullptr, nullptr, NetworkAddress(address), payload,
                  kEchoPayloadSize, nullptr, echo->reply, kReplySize, kEchoTimeoutMs);
    if (sent == 0 && GetLastError() != ERROR_IO_PENDING) {
        CloseHandle(event);
        echoes_.erase(echo);
        ready_.push_back({token, TIdProbeOutcome::Failed, kIdErrorHostUnreachable});
        return;
    }
    echoByToken_[token] = echo;
}

bool TIdProberWindows::StartConnect(uint64_t token, uint32_t address, uint16_t port) {
    Cancel(token);
    const SOCKET socket = Ws2Socket::Call(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        const int error = Ws2WSAGetLastError::Call();
        if (error == WSAEMFILE || error == WSAENOBUFS) {
            return false;
        }
        ready_.push_back({token, TIdProbeOutcome::Failed, error});
        return true;
    }
    u_long nonBlocking = 1;
    Ws2IoctlSocket::Call(socket, static_cast<long>(FIONBIO), &nonBlocking);
    // Closed with a reset rather than a FIN: repeated checks leave no TIME_WAIT behind.
    const linger abortive{1, 0};
    Ws2SetSockOpt::Call(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
                        sizeof(abortive));
    const sockaddr_in to = SocketAddress(address, port);
    const int connected =
        Ws2Connect::Call(socket, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
    const int error = connected == 0 ? 0 : Ws2WSAGetLastError::Call();
    if (error == WSAEWOULDBLOCK) {
        connects_[token] = socket;
        tokens_[socket] = token;
        return true;
    }
    Ws2CloseSocket::Call(socket);
    if (error == WSAENOBUFS || error == WSAEADDRINUSE) {
        return false;  // no local port left: the same as no socket, for now
    }
    ready_.push_back(ProvesRunning(error) ? TIdProbeResult{token, TIdProbeOutcome::Answered, 0}
                                          : TIdProbeResult{token, TIdProbeOutcome::Failed, error});
    return true;
}

void TIdProberWindows::Cancel(uint64_t token) {
    if (const auto found = connects_.find(token); found != connects_.end()) {
        Ws2CloseSocket::Call(found->second);
        tokens_.erase(found->second);
        connects_.erase(found);
    }
    if (const auto found = echoByToken_.find(token); found != echoByToken_.end()) {
        found->second->cancelled = true;  // freed when the system is done with it
        echoByToken_.erase(found);
    }
    std::erase_if(ready_, [token](const TIdProbeResult& result) { return result.token == token; });
}

void TIdProberWindows::Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) {
    const size_t before = results.size();
    results.insert(results.end(), ready_.begin(), ready_.end());
    ready_.clear();
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
    for (;;) {
        CollectEchoes(results);
        const ULONGLONG now = GetTickCount64();
        const int32_t left = now >= deadline ? 0 : static_cast<int32_t>(deadline - now);
        const int32_t slice = echoes_.empty() ? left : std::min(left, kSliceMs);
        SelectConnects(results.size() > before ? 0 : slice, results);
        if (results.size() > before || GetTickCount64() >= deadline) {
            CollectEchoes(results);
            return;
        }
    }
}

void TIdProberWindows::CollectEchoes(std::vector<TIdProbeResult>& results) {
    for (auto echo = echoes_.begin(); echo != echoes_.end();) {
        if (WaitForSingleObject(echo->event, 0) != WAIT_OBJECT_0) {
            ++echo;
            continue;
        }
        if (!echo->cancelled) {
            const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(echo->reply);
            const bool answered = parseReplies_(echo->reply, kReplySize) > 0 &&
                                  reply->Status == IP_SUCCESS &&
                                  reply->Address == NetworkAddress(echo->address);
            if (answered) {
                results.push_back({echo->token, TIdProbeOutcome::Answered, 0});
            } else {
                const bool unreachable = reply->Status == IP_DEST_HOST_UNREACHABLE ||
                                         reply->Status == IP_DEST_NET_UNREACHABLE;
                results.push_back({echo->token, TIdProbeOutcome::Failed,
                                   unreachable ? kIdErrorHostUnreachable : kIdErrorTimedOut});
            }
            echoByToken_.erase(echo->token);
        }
        CloseHandle(echo->event);
        echo = echoes_.erase(echo);
    }
}

void TIdProberWindows::SelectConnects(int32_t timeoutMs, std::vector<TIdProbeResult>& results) {
    if (connects_.empty()) {
        if (timeoutMs > 0) {
            Sleep(static_cast<DWORD>(timeoutMs));  // select refuses three empty sets
        }
        return;
    }
    writeSet_.Fill(connects_);
    exceptSet_.Fill(connects_);
    timeval timeout;
    timeout.tv_sec = timeoutMs / 1000;
    timeout.tv_usec = (timeoutMs % 1000) * 1000;
    if (Ws2Select::Call(0, nullptr, writeSet_.Set(), exceptSet_.Set(), &timeout) <= 0) {
        return;
    }
    for (TSocketSet* set : {&writeSet_, &exceptSet_}) {
        for (u_int i = 0; i < set->Count(); ++i) {
            FinishConnect(set->At(i), results);
        }
    }
}

void TIdProberWindows::FinishConnect(SOCKET socket, std::vector<TIdProbeResult>& results) {
    const auto found = tokens_.find(socket);
    if (found == tokens_.end()) {
        return;  // in both sets: already finished
    }
    const uint64_t token = found->second;
    int error = 0;
    int length = sizeof(error);
    if (Ws2GetSockOpt::Call(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                            &length) != 0) {
        error = Ws2WSAGetLastError::Call();
    }
    Ws2CloseSocket::Call(socket);
    tokens_.erase(found);
    connects_.erase(token);
    results.push_back(ProvesRunning(error) ? TIdProbeResult{token, TIdProbeOutcome::Answered, 0}
                                           : TIdProbeResult{token, TIdProbeOutcome::Failed, error});
}

}  // namespace

std::unique_ptr<TIdProber> CreateProber() {
    return std::make_unique<TIdProberWindows>();
}
