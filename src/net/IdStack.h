#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "net/IdErrorText.h"

// The socket stack: the one object through which the transport reaches the platform's sockets.
// TIdStack holds what does not depend on the platform (result checking and the error messages,
// host-to-address, in IdStack.cpp; the IPv4 address parser, in IdStackAddressText.cpp); a
// platform subclass wraps each socket call as one virtual operation and reports failures with
// the error numbers of IdErrorText.h. The process-wide stack is kept in IdStackRegistry.cpp.

using TIdStackSocketHandle = int32_t;
constexpr TIdStackSocketHandle kIdInvalidSocket = -1;

// Windows Sockets numbers that the portable code passes to the platform unchanged.
constexpr int32_t kIdAfInet = 2;     // IPv4
constexpr int32_t kIdSockDgram = 2;  // datagram socket
constexpr int32_t kIdShutdownSend = 1;

// Four bytes, first octet first (network order).
using TIdIPv4Address = std::array<uint8_t, 4>;

enum class TIdAddressForm : int32_t {
    Invalid = 0,
    Dotted = 1,
    Numeric = 2,
};

enum class TIdAddressClass : int32_t {
    Unclassified = 0,
    A = 1,
    B = 2,
    C = 3,
    D = 4,
    E = 5,
};

class TIdStack {
public:
    TIdStack() = default;
    virtual ~TIdStack() = default;
    TIdStack(const TIdStack&) = delete;
    TIdStack& operator=(const TIdStack&) = delete;

    // --- platform operations (results unchecked unless said otherwise) ---
    virtual int32_t SysBind(TIdStackSocketHandle socket, const std::string& ip, int32_t port) = 0;
    virtual int32_t SysCloseSocket(TIdStackSocketHandle socket) = 0;
    // The first IPv4 address of the name as dotted text; a failed lookup raises EIdSocketError.
    virtual std::string SysGetHostByName(const std::string& name) = 0;
    virtual uint16_t SysHtons(uint16_t hostShort) = 0;
    virtual int32_t SysRecvFrom(TIdStackSocketHandle socket, void* buffer, int32_t length,
                                int32_t flags, std::string& ip, int32_t& port) = 0;
    // Waits until a socket of the lists is ready (timeoutMs -2: no limit) and leaves only the
    // ready sockets in each list. More than 64 sockets in a list raise EIdStackSetSizeExceeded.
    virtual int32_t SysSelect(std::vector<TIdStackSocketHandle>* read,
                              std::vector<TIdStackSocketHandle>* write,
                              std::vector<TIdStackSocketHandle>* except, int32_t timeoutMs) = 0;
    // One IPv4 datagram to an address text (raises EIdInvalidIPAddress for a text that is not
    // one) and the low 16 bits of port.
    virtual int32_t SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                              int32_t flags, const std::string& ip, int32_t port) = 0;
    virtual int32_t SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                                  const void* value, int32_t length) = 0;
    virtual TIdStackSocketHandle SysSocket(int32_t family, int32_t type, int32_t protocol) = 0;
    virtual int32_t SysShutdown(TIdStackSocketHandle socket, int32_t how) = 0;
    // "Socket Error # <code>\r\n<text>" with the text of the one error table.
    virtual std::string ErrorText(int32_t code) const;
    // The Windows Sockets number of the last failed call.
    virtual int32_t SysGetLastError() = 0;
    // Local address of a socket; a failure goes through CheckResult.
    virtual void SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                                int32_t& port) = 0;
    virtual std::string AddressToText(const TIdIPv4Address& address) const;
    virtual TIdIPv4Address TextToAddressBytes(const std::string& text) const;

    // The platform's socket level and broadcast option numbers for SysSetSockOpt.
    virtual int32_t SocketOptionLevel() const = 0;
    virtual int32_t BroadcastOptionName() const = 0;

    // --- portable operations ---
    // False when result is not -1. Otherwise reads the last error into LastFailure and returns
    // true when it is tolerated, else raises EIdSocketError.
    bool CheckResult(int32_t result, std::span<const int32_t> tolerated);
    bool CheckResult(int32_t result) { return CheckResult(result, {}); }
    [[noreturn]] void RaiseError(int32_t code) const;
    TIdStackSocketHandle CreateSocket(int32_t type, int32_t protocol);
    std::string HostToAddress(const std::string& host);

    static bool ParseAddressText(const std::string& text, uint8_t* byte1 = nullptr,
                                 uint8_t* byte2 = nullptr, uint8_t* byte3 = nullptr,
                                 uint8_t* byte4 = nullptr, TIdAddressForm* form = nullptr,
                                 TIdAddressClass* addressClass = nullptr);
    static TIdAddressForm AddressForm(const std::string& text);
    static bool IsAddressText(const std::string& text);
    static bool IsAddressForm(const std::string& text, TIdAddressForm form);
    TIdIPv4Address TextToAddress(const std::string& text) const { return TextToAddressBytes(text); }

    int32_t LastFailure() const { return lastFailure_; }

protected:
    // What SysBind binds to: the address text's bytes, or any address for an empty text.
    TIdIPv4Address BindAddressBytes(const std::string& ip) const;
    // The low 16 bits of a port, in network order.
    uint16_t NetworkPort(int32_t port) { return SysHtons(static_cast<uint16_t>(port)); }
    // Raises EIdStackSetSizeExceeded when a select list is longer than 64.
    static void CheckSetSize(const std::vector<TIdStackSocketHandle>* list);

private:
    int32_t lastFailure_ = 0;
};

// Creates a stack: the "class" from which the process-wide stack is made.
using TIdStackClass = std::function<std::unique_ptr<TIdStack>()>;

// The platform's own stack (TIdStackPosix natively, TIdStackWindows in the Windows build).
std::unique_ptr<TIdStack> CreatePlatformStack();

// An empty class restores the platform's stack.
void SetDefaultStackClass(TIdStackClass stackClass);
TIdStackClass DefaultStackClass();
std::unique_ptr<TIdStack> CreateDefaultStack();

// The process-wide stack; none while no transport component exists.
TIdStack* GlobalStack();
int32_t StackUsers();
std::mutex& StackLock();

// Registration of a transport component: the first user creates the stack, the last frees it.
// A failed creation leaves the count as it was and raises.
void RegisterStackUser();
void UnregisterStackUser();
