#include "calc/IdNetworkCalculator.h"

#include "net/IdException.h"

// The mask check re-enters itself: a rejected mask is replaced by the mask of the previous
// length, whose change notification runs the check again (and succeeds) before the rejection
// is raised. TIpProperty raises its notification as its very last step, which makes this safe.

TIdNetworkCalculator::TIdNetworkCalculator() {
    networkMask_.SetOnChange([this](TIpProperty&) { NetworkMaskChanged(); });
    networkAddress_.SetOnChange([this](TIpProperty&) { NetworkAddressChanged(); });
    SetNetworkMaskLength(32);
}

void TIdNetworkCalculator::SetNetworkMaskLength(uint32_t length) {
    if (length > 32) {
        throw EIdException("Invalid network mask length: Should be 0..32.");
    }
    networkMaskLength_ = length;
    networkMask_.SetAsDoubleWord(length == 0 ? 0u : 0xFFFFFFFFu << (32 - length));
}

std::string TIdNetworkCalculator::AddressClassText() const {
    static const char* const kLetters[] = {"A", "B", "C", "D", "E"};
    return kLetters[static_cast<int>(addressClass_)];
}

std::string TIdNetworkCalculator::NetworkAddressText() const {
    return DottedAddressText(NetworkAddressValue());
}

uint64_t TIdNetworkCalculator::AddressCount() const {
    return uint64_t{1} << (32 - networkMaskLength_);
}

std::string TIdNetworkCalculator::BroadcastAddressText() const {
    const uint64_t last = uint64_t{NetworkAddressValue()} + AddressCount() - 1;
    return DottedAddressText(static_cast<uint32_t>(last));
}

bool TIdNetworkCalculator::IsPrivateNetwork() const {
    const uint8_t b1 = networkAddress_.Byte1();
    const uint8_t b2 = networkAddress_.Byte2();
    return b1 == 10 || (b1 == 172 && b2 >= 16 && b2 <= 31) || (b1 == 192 && b2 == 168);
}

bool TIdNetworkCalculator::IsAddressInNetwork(const std::string& address) const {
    const uint32_t mask = networkMask_.AsDoubleWord();
    return (ParseDottedAddress(address) & mask) == (networkAddress_.AsDoubleWord() & mask);
}

void TIdNetworkCalculator::NetworkMaskChanged() {
    const uint32_t previous = networkMaskLength_;
    const std::string& bits = networkMask_.AsBinaryString();
    const size_t ones = bits.find('0') == std::string::npos ? bits.size() : bits.find('0');
    if (bits.find('1', ones) != std::string::npos) {
        SetNetworkMaskLength(previous);
        throw EIdException("Invalid network mask.");
    }
    SetNetworkMaskLength(static_cast<uint32_t>(ones));
    if (onChange_) {
        onChange_(*this);
    }
}

void TIdNetworkCalculator::NetworkAddressChanged() {
    const std::string& bits = networkAddress_.AsBinaryString();
    if (bits[0] == '0') {
        addressClass_ = TIpAddressClass::A;
    } else if (bits[1] == '0') {
        addressClass_ = TIpAddressClass::B;
    } else if (bits[2] == '0') {
        addressClass_ = TIpAddressClass::C;
    } else if (bits[3] == '0') {
        addressClass_ = TIpAddressClass::D;
    } else {
        addressClass_ = TIpAddressClass::E;
    }
    if (onChange_) {
        onChange_(*this);
    }
}

uint32_t TIdNetworkCalculator::NetworkAddressValue() const {
    return networkAddress_.AsDoubleWord() & networkMask_.AsDoubleWord();
}
