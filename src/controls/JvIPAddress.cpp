#include "controls/JvIPAddress.h"

#include "base/DottedText.h"
#include "base/IntConv.h"

std::array<uint8_t, 4> AddressTextOctets(const std::string& text) {
    const std::array<std::string, 4> pieces = DottedAddressPieces(text);
    std::array<uint8_t, 4> octets = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        int32_t number = 0;
        if (TryStrToInt(pieces[i], number)) {
            octets[i] = static_cast<uint8_t>(number & 0xFF);
        }
    }
    return octets;
}

std::string OctetsText(const std::array<uint8_t, 4>& octets) {
    return DottedAddressText(OctetsAddress(octets));
}

void TJvIPAddressRange::SetFieldMin(int field, uint8_t value) {
    if (fields_[field].Min != value) {
        fields_[field].Min = value;
        control_.RangeChanged(field);
    }
}

void TJvIPAddressRange::SetFieldMax(int field, uint8_t value) {
    if (fields_[field].Max != value) {
        fields_[field].Max = value;
        control_.RangeChanged(field);
    }
}

void TJvIPAddressRange::Assign(const TJvIPAddressRange& source) {
    for (int field = 0; field < 4; ++field) {
        fields_[field] = source.fields_[field];
        control_.RangeChanged(field);
    }
}

uint32_t TJvIPAddressValues::Address() const {
    return OctetsAddress(values_);
}

void TJvIPAddressValues::SetAddress(uint32_t address) {
    if (address == Address()) {
        return;
    }
    const std::array<uint8_t, 4> octets = AddressOctets(address);
    bool taken = false;
    for (int field = 0; field < 4; ++field) {
        if (control_.AcceptsOctet(field, octets[field])) {
            values_[field] = octets[field];
            taken = true;
        }
    }
    if (taken) {
        control_.ValuesChanged();
    }
}

void TJvIPAddressValues::SetValue(int field, uint8_t value) {
    if (values_[field] != value) {
        values_[field] = value;
        control_.ValuesChanged();
    }
}

TJvIPAddress::TJvIPAddress() : values_(*this), range_(*this) {}

void TJvIPAddress::SetAddress(uint32_t address) {
    if (address == address_) {
        return;
    }
    address_ = address;
    if (platform_ != nullptr) {
        platform_->SetAddress(address);
    }
    values_.SetAddress(address);
}

std::string TJvIPAddress::Text() const {
    return platform_ != nullptr ? platform_->GetText()
                                : OctetsText(AddressOctets(values_.Address()));
}

void TJvIPAddress::SetText(const std::string& text) {
    const std::array<uint8_t, 4> octets = AddressTextOctets(text);
    for (int field = 0; field < 4; ++field) {
        values_.SetValue(field, octets[field]);
    }
    if (platform_ != nullptr) {
        platform_->SetText(OctetsText(octets));
    }
}

void TJvIPAddress::Attach(TJvIPAddressPlatform* platform) {
    platform_ = platform;
    quiet_ = true;
    for (int field = 0; field < 4; ++field) {
        RangeChanged(field);
    }
    if (wasBlank_) {
        platform_->ClearAddress();
        values_.SetAddress(0);
    } else {
        platform_->SetAddress(address_);
    }
    quiet_ = false;
}

void TJvIPAddress::Detach() {
    if (platform_ != nullptr) {
        wasBlank_ = platform_->IsBlank();
    }
    platform_ = nullptr;
}

void TJvIPAddress::ContentsChanged() {
    if (quiet_ || platform_ == nullptr) {
        return;
    }
    // AddressValues keeps what was assigned; only Address follows the user's edits.
    address_ = platform_->GetAddress();
    if (onChange_) {
        onChange_(*this);
    }
}

void TJvIPAddress::FocusLost() {
    if (platform_ == nullptr || platform_->IsBlank()) {
        return;
    }
    quiet_ = true;
    platform_->SetAddress(address_);
    quiet_ = false;
}

void TJvIPAddress::FieldChanged(int fieldIndex, int& value) {
    if (onFieldChange_ && fieldIndex >= 0 && fieldIndex < 4) {
        onFieldChange_(*this, fieldIndex, range_.Field(fieldIndex), value);
    }
}

void TJvIPAddress::RangeChanged(int field) {
    if (platform_ != nullptr) {
        const TJvIPAddressMinMax range = range_.Field(field);
        platform_->SetFieldRange(field, range.Min, range.Max);
    }
}

void TJvIPAddress::ValuesChanged() {
    SetAddress(values_.Address());
}

bool TJvIPAddress::AcceptsOctet(int field, uint8_t octet) const {
    const TJvIPAddressMinMax range = range_.Field(field);
    return range.Min <= octet && octet <= range.Max;
}
