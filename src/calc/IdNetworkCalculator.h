#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "calc/IpProperty.h"

enum class TIpAddressClass {
    A,
    B,
    C,
    D,
    E
};

// IPv4 network arithmetic behind the broadcast calculator: holds an address and a mask, keeps
// the address class and the mask's prefix length in step with them as they change, and answers
// queries computed from the current values.
class TIdNetworkCalculator {
public:
    using ChangeEvent = std::function<void(TIdNetworkCalculator& sender)>;

    TIdNetworkCalculator();
    TIdNetworkCalculator(const TIdNetworkCalculator&) = delete;
    TIdNetworkCalculator& operator=(const TIdNetworkCalculator&) = delete;

    TIpProperty& NetworkAddress() { return networkAddress_; }
    const TIpProperty& NetworkAddress() const { return networkAddress_; }
    // Assigning a mask that is not a run of leading ones raises EIdException
    // "Invalid network mask." and puts the mask back at the last valid one.
    TIpProperty& NetworkMask() { return networkMask_; }
    const TIpProperty& NetworkMask() const { return networkMask_; }

    uint32_t NetworkMaskLength() const { return networkMaskLength_; }
    // 0..32; a larger length raises EIdException and changes nothing.
    void SetNetworkMaskLength(uint32_t length);

    // Raised after each successful recomputation (address or mask changed).
    void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }

    TIpAddressClass AddressClass() const { return addressClass_; }
    std::string AddressClassText() const;
    std::string NetworkAddressText() const;
    // 2^(32 - length): 64 bits wide so that length 0 gives the whole 2^32 address space.
    uint64_t AddressCount() const;
    std::string BroadcastAddressText() const;
    // Judged by the address itself, not its network: 10/8, 172.16/12, 192.168/16.
    bool IsPrivateNetwork() const;
    // Parses the text (which may raise) and tells whether it lies in the network.
    bool IsAddressInNetwork(const std::string& address) const;

private:
    void NetworkMaskChanged();
    void NetworkAddressChanged();
    uint32_t NetworkAddressValue() const;

    TIpProperty networkMask_;
    TIpProperty networkAddress_;
    uint32_t networkMaskLength_ = 32;
    TIpAddressClass addressClass_ = TIpAddressClass::A;
    ChangeEvent onChange_;
};
