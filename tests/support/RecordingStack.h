#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/IdStack.h"

// A socket stack that sends nothing: it records every datagram, socket option, name lookup and
// socket call, and fails on demand with Windows Sockets error numbers.

struct RecordedDatagram {
    std::string address;  // dotted text of the destination bytes
    uint16_t port;        // the low 16 bits of the port given
    std::string data;
};

struct RecordedOption {
    TIdStackSocketHandle socket;
    int32_t level;
    int32_t name;
    int32_t value;  // the 4 bytes written, as a signed integer
};

// What every recording stack of one ScopedRecordingStack writes to and reads from.
struct RecordingState {
    std::vector<RecordedDatagram> sent;
    std::vector<TIdStackSocketHandle> sendSockets;  // the socket of each sent datagram
    std::vector<RecordedOption> options;
    std::vector<std::string> lookups;
    std::vector<TIdStackSocketHandle> socketsCreated;
    std::vector<TIdStackSocketHandle> shutdowns;
    std::vector<TIdStackSocketHandle> closed;
    std::map<std::string, std::string> hosts;  // name -> address text for lookups
    int32_t stacksCreated = 0;
    int32_t stacksDestroyed = 0;

    int32_t failSendsWith = 0;
    std::map<std::string, int32_t> failSendsTo;  // destination address -> error number
    int32_t shortenSendsBy = 0;
    int32_t failOptionsWith = 0;
    int32_t failLookupsWith = kIdErrorHostNotFound;  // for names not in hosts
    bool failSocketCreation = false;
    bool failStackCreation = false;
    TIdStackSocketHandle nextSocket = 100;
};

// The Windows Sockets numbers of the socket level and the broadcast option.
constexpr int32_t kRecordedSocketLevel = 0xFFFF;
constexpr int32_t kRecordedBroadcastOption = 0x0020;

class TRecordingStack : public TIdStack {
public:
    // Raises EIdStackInitializationFailed when the state asks for a creation failure.
    explicit TRecordingStack(std::shared_ptr<RecordingState> state);
    ~TRecordingStack() override;

    int32_t SysBind(TIdStackSocketHandle socket, const std::string& ip, int32_t port) override;
    int32_t SysCloseSocket(TIdStackSocketHandle socket) override;
    std::string SysGetHostByName(const std::string& name) override;
    uint16_t SysHtons(uint16_t hostShort) override;
    int32_t SysRecvFrom(TIdStackSocketHandle socket, void* buffer, int32_t length, int32_t flags,
                        std::string& ip, int32_t& port) override;
    int32_t SysSelect(std::vector<TIdStackSocketHandle>* read,
                      std::vector<TIdStackSocketHandle>* write,
                      std::vector<TIdStackSocketHandle>* except, int32_t timeoutMs) override;
    int32_t SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                      int32_t flags, const std::string& ip, int32_t port) override;
    int32_t SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                          const void* value, int32_t length) override;
    TIdStackSocketHandle SysSocket(int32_t family, int32_t type, int32_t protocol) override;
    int32_t SysShutdown(TIdStackSocketHandle socket, int32_t how) override;
    int32_t SysGetLastError() override { return lastError_; }
    void SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                        int32_t& port) override;
    int32_t SocketOptionLevel() const override { return kRecordedSocketLevel; }
    int32_t BroadcastOptionName() const override { return kRecordedBroadcastOption; }

private:
    int32_t Fail(int32_t code);

    std::shared_ptr<RecordingState> state_;
    int32_t lastError_ = 0;
};

// Installs the recording stack as the default stack class for its lifetime and restores the
// previous class afterwards. Create it before the client, so the client's stack records.
class ScopedRecordingStack {
public:
    ScopedRecordingStack();
    ~ScopedRecordingStack();
    ScopedRecordingStack(const ScopedRecordingStack&) = delete;
    ScopedRecordingStack& operator=(const ScopedRecordingStack&) = delete;

    const std::vector<RecordedDatagram>& Sent() const { return state_->sent; }
    // Forgets every datagram, option, lookup and socket call recorded so far, so that a long
    // run (a fuzzer's) holds only what its last step recorded.
    void ClearRecords();
    // Later sends return -1 with this error number; 0 lets them succeed again.
    void FailSendsWith(int32_t wsaError) { state_->failSendsWith = wsaError; }
    // Later sends to this address (dotted text) return -1 with this error number.
    void FailSendsTo(const std::string& address, int32_t wsaError) {
        state_->failSendsTo[address] = wsaError;
    }
    // Later sends report this many bytes fewer than given; 0 reports all.
    void ShortenSendsBy(int32_t bytes) { state_->shortenSendsBy = bytes; }
    void FailOptionsWith(int32_t wsaError) { state_->failOptionsWith = wsaError; }
    void FailSocketCreation(bool fail) { state_->failSocketCreation = fail; }
    void FailStackCreation(bool fail) { state_->failStackCreation = fail; }
    // Names not in hosts fail with this number (11001 unless changed).
    void FailLookupsWith(int32_t wsaError) { state_->failLookupsWith = wsaError; }
    void AddHost(const std::string& name, const std::string& address) {
        state_->hosts[name] = address;
    }

private:
    std::shared_ptr<RecordingState> state_;
    TIdStackClass previous_;

public:
    // Every setsockopt, host lookup and socket call, in order.
    std::vector<RecordedOption>& options;
    std::vector<std::string>& lookups;
    std::vector<TIdStackSocketHandle>& socketsCreated;
    std::vector<TIdStackSocketHandle>& sendSockets;
    std::vector<TIdStackSocketHandle>& shutdowns;
    std::vector<TIdStackSocketHandle>& closed;
    const int32_t& stacksCreated;
    const int32_t& stacksDestroyed;
};
