// TIdStack's IPv4 address text: the parser that decides what counts as an address (dotted with
// one to four fields, or one number), and the dotted text of four address bytes.
#include <array>
#include <string>

#include "base/DottedText.h"
#include "base/IntConv.h"
#include "net/IdException.h"
#include "net/IdStack.h"

namespace {

// A failed conversion counts as -1, which every range check rejects.
int64_t FieldValue(const std::string& field) {
    int32_t value = 0;
    if (!TryStrToInt(field, value)) {
        return -1;
    }
    return value;
}

int64_t NumberValue(const std::string& field) {
    int64_t value = 0;
    if (!TryStrToInt64(field, value)) {
        return -1;
    }
    return value;
}

bool InRange(int64_t value, int64_t max) {
    return value >= 0 && value <= max;
}

TIdAddressClass ClassOfFirstByte(int64_t byte) {
    if (byte <= 127) {
        return TIdAddressClass::A;
    }
    if (byte <= 191) {
        return TIdAddressClass::B;
    }
    if (byte <= 223) {
        return TIdAddressClass::C;
    }
    if (byte <= 239) {
        return TIdAddressClass::D;
    }
    return TIdAddressClass::E;
}

}  // namespace

std::string TIdStack::AddressToText(const TIdIPv4Address& address) const {
    return DottedAddressText(OctetsAddress(address));
}

TIdIPv4Address TIdStack::TextToAddressBytes(const std::string& text) const {
    TIdIPv4Address address{};
    if (!ParseAddressText(text, &address[0], &address[1], &address[2], &address[3])) {
        throw EIdInvalidIPAddress(text + " is not a valid IP address.");
    }
    return address;
}

bool TIdStack::ParseAddressText(const std::string& text, uint8_t* byte1, uint8_t* byte2,
                                uint8_t* byte3, uint8_t* byte4, TIdAddressForm* form,
                                TIdAddressClass* addressClass) {
    // The first empty field decides the form; the last field present takes the remaining bytes.
    const std::array<std::string, 4> fields = DottedAddressPieces(text);
    uint32_t value = 0;
    bool valid = false;
    TIdAddressForm foundForm = TIdAddressForm::Dotted;
    TIdAddressClass foundClass = TIdAddressClass::Unclassified;
    if (fields[1].empty()) {
        const int64_t number = NumberValue(fields[0]);
        valid = InRange(number, 0xFFFFFFFFLL);
        value = static_cast<uint32_t>(number);
        foundForm = TIdAddressForm::Numeric;
    } else if (fields[2].empty()) {
        const int64_t a = FieldValue(fields[0]);
        const int64_t b = FieldValue(fields[1]);
        valid = InRange(a, 255) && InRange(b, 0xFFFFFF);
        value = static_cast<uint32_t>((a << 24) | b);
        foundClass = TIdAddressClass::A;
    } else if (fields[3].empty()) {
        const int64_t a = FieldValue(fields[0]);
        const int64_t b = FieldValue(fields[1]);
        const int64_t c = FieldValue(fields[2]);
        valid = InRange(a, 255) && InRange(b, 255) && InRange(c, 0xFFFF);
        value = static_cast<uint32_t>((a << 24) | (b << 16) | c);
        foundClass = TIdAddressClass::B;
    } else {
        const int64_t a = FieldValue(fields[0]);
        const int64_t b = FieldValue(fields[1]);
        const int64_t c = FieldValue(fields[2]);
        const int64_t d = FieldValue(fields[3]);
        valid = InRange(a, 255) && InRange(b, 255) && InRange(c, 255) && InRange(d, 255);
        value = static_cast<uint32_t>((a << 24) | (b << 16) | (c << 8) | d);
        foundClass = ClassOfFirstByte(a);
    }

    if (!valid) {
        if (form != nullptr) {
            *form = TIdAddressForm::Invalid;
        }
        if (addressClass != nullptr) {
            *addressClass = TIdAddressClass::Unclassified;
        }
        return false;
    }
    const std::array<uint8_t, 4> octets = AddressOctets(value);
    uint8_t* const outputs[] = {byte1, byte2, byte3, byte4};
    for (size_t i = 0; i < octets.size(); ++i) {
        if (outputs[i] != nullptr) {
            *outputs[i] = octets[i];
        }
    }
    if (form != nullptr) {
        *form = foundForm;
    }
    if (addressClass != nullptr) {
        *addressClass = foundClass;
    }
    return true;
}

TIdAddressForm TIdStack::AddressForm(const std::string& text) {
    TIdAddressForm form = TIdAddressForm::Invalid;
    ParseAddressText(text, nullptr, nullptr, nullptr, nullptr, &form);
    return form;
}

bool TIdStack::IsAddressText(const std::string& text) {
    return AddressForm(text) != TIdAddressForm::Invalid;
}

bool TIdStack::IsAddressForm(const std::string& text, TIdAddressForm form) {
    return AddressForm(text) == form;
}

TIdIPv4Address TIdStack::BindAddressBytes(const std::string& ip) const {
    return ip.empty() ? TIdIPv4Address{} : TextToAddress(ip);
}
