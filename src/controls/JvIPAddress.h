#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The octets of an assigned address text: the text is split at its first three dots (the fourth
// piece keeps any further dots), each piece is read with the integer conversion, a piece that
// does not convert counts as 0, and the low 8 bits are kept (300 becomes 44).
std::array<uint8_t, 4> AddressTextOctets(const std::string& text);

// "%d.%d.%d.%d" of four octets.
std::string OctetsText(const std::array<uint8_t, 4>& octets);

// What the address logic needs from the platform's four-field address control.
class TJvIPAddressPlatform {
public:
    virtual ~TJvIPAddressPlatform() = default;
    virtual void SetAddress(uint32_t address) = 0;
    virtual uint32_t GetAddress() = 0;
    virtual void ClearAddress() = 0;
    virtual void SetFieldRange(int field, uint8_t min, uint8_t max) = 0;  // field 0..3
    virtual bool IsBlank() = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string GetText() = 0;
};

class TJvIPAddress;

struct TJvIPAddressMinMax {
    uint8_t Min = 0;
    uint8_t Max = 255;
};

// Allowed minimum and maximum per field (0..255 by default). A change reaches the platform
// control at once when it exists.
class TJvIPAddressRange {
public:
    explicit TJvIPAddressRange(TJvIPAddress& control) : control_(control) {}

    TJvIPAddressMinMax Field(int field) const { return fields_[field]; }  // field 0..3
    void SetFieldMin(int field, uint8_t value);
    void SetFieldMax(int field, uint8_t value);
    // Copies all four ranges and hands them to the platform control.
    void Assign(const TJvIPAddressRange& source);

    uint8_t Field1Min() const { return fields_[0].Min; }
    uint8_t Field1Max() const { return fields_[0].Max; }
    uint8_t Field2Min() const { return fields_[1].Min; }
    uint8_t Field2Max() const { return fields_[1].Max; }
    uint8_t Field3Min() const { return fields_[2].Min; }
    uint8_t Field3Max() const { return fields_[2].Max; }
    uint8_t Field4Min() const { return fields_[3].Min; }
    uint8_t Field4Max() const { return fields_[3].Max; }
    void SetField1Min(uint8_t v) { SetFieldMin(0, v); }
    void SetField1Max(uint8_t v) { SetFieldMax(0, v); }
    void SetField2Min(uint8_t v) { SetFieldMin(1, v); }
    void SetField2Max(uint8_t v) { SetFieldMax(1, v); }
    void SetField3Min(uint8_t v) { SetFieldMin(2, v); }
    void SetField3Max(uint8_t v) { SetFieldMax(2, v); }
    void SetField4Min(uint8_t v) { SetFieldMin(3, v); }
    void SetField4Max(uint8_t v) { SetFieldMax(3, v); }

private:
    TJvIPAddress& control_;
    TJvIPAddressMinMax fields_[4];
};

// The address as four octets. Assigning Address takes only the octets the ranges allow;
// assigning a single value does not check the range.
class TJvIPAddressValues {
public:
    explicit TJvIPAddressValues(TJvIPAddress& control) : control_(control) {}

    uint32_t Address() const;
    void SetAddress(uint32_t address);
    uint8_t Value(int field) const { return values_[field]; }  // field 0..3
    void SetValue(int field, uint8_t value);

    uint8_t Value1() const { return values_[0]; }
    uint8_t Value2() const { return values_[1]; }
    uint8_t Value3() const { return values_[2]; }
    uint8_t Value4() const { return values_[3]; }
    void SetValue1(uint8_t v) { SetValue(0, v); }
    void SetValue2(uint8_t v) { SetValue(1, v); }
    void SetValue3(uint8_t v) { SetValue(2, v); }
    void SetValue4(uint8_t v) { SetValue(3, v); }

private:
    TJvIPAddress& control_;
    std::array<uint8_t, 4> values_ = {0, 0, 0, 0};
};

// The IPv4 entry control: an address kept in step with the platform's four fields, ranges per
// field, normalisation of assigned text and change events. The platform part attaches itself
// while its window exists and reports the platform's notifications.
class TJvIPAddress {
public:
    using NotifyEvent = std::function<void(TJvIPAddress& sender)>;
    using FieldChangeEvent = std::function<void(TJvIPAddress& sender, int fieldIndex,
                                                TJvIPAddressMinMax fieldRange, int& value)>;

    TJvIPAddress();
    TJvIPAddress(const TJvIPAddress&) = delete;
    TJvIPAddress& operator=(const TJvIPAddress&) = delete;

    uint32_t Address() const { return address_; }
    void SetAddress(uint32_t address);
    TJvIPAddressValues& AddressValues() { return values_; }
    TJvIPAddressRange& Range() { return range_; }
    bool TabThroughFields() const { return tabThroughFields_; }
    void SetTabThroughFields(bool value) { tabThroughFields_ = value; }

    // The platform control's text while it exists, else the text of the stored values.
    std::string Text() const;
    // Never fails: pieces that do not convert count as 0; the platform gets the normalised text.
    void SetText(const std::string& text);

    void SetOnChange(NotifyEvent handler) { onChange_ = std::move(handler); }
    void SetOnFieldChange(FieldChangeEvent handler) { onFieldChange_ = std::move(handler); }

    // ---- used by the platform part ----
    // The window was created: it gets the ranges, then cleared fields or the stored address.
    void Attach(TJvIPAddressPlatform* platform);
    // The window is going away: remembers whether all fields were blank.
    void Detach();
    // The platform reports that the contents changed (a user edit): Address follows the fields.
    void ContentsChanged();
    // The control lost the focus: blank fields show the stored address again (0), quietly.
    void FocusLost();
    // The platform reports a changed field.
    void FieldChanged(int fieldIndex, int& value);

private:
    friend class TJvIPAddressRange;
    friend class TJvIPAddressValues;
    void RangeChanged(int field);
    void ValuesChanged();
    bool AcceptsOctet(int field, uint8_t octet) const;

    uint32_t address_ = 0;
    TJvIPAddressValues values_;
    TJvIPAddressRange range_;
    bool tabThroughFields_ = true;
    TJvIPAddressPlatform* platform_ = nullptr;
    bool quiet_ = false;  // no OnChange while re-filling fields or creating the window
    bool wasBlank_ = false;
    NotifyEvent onChange_;
    FieldChangeEvent onFieldChange_;
};
