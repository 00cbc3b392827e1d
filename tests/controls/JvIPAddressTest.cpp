#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/JvIPAddress.h"

namespace {

// The four-field control as the platform behaves: fields may be blank, and every change of its
// contents is reported back to the control.
class FakeAddressControl : public TJvIPAddressPlatform {
public:
    explicit FakeAddressControl(TJvIPAddress& control) : control_(control) {}

    void SetAddress(uint32_t address) override {
        for (int i = 0; i < 4; ++i) {
            fields[i] = (address >> (24 - 8 * i)) & 0xFF;
        }
        control_.ContentsChanged();
    }
    uint32_t GetAddress() override {
        uint32_t address = 0;
        for (int i = 0; i < 4; ++i) {
            address = (address << 8) | static_cast<uint32_t>(fields[i].value_or(0));
        }
        return address;
    }
    void ClearAddress() override {
        for (auto& field : fields) {
            field.reset();
        }
        control_.ContentsChanged();
    }
    void SetFieldRange(int field, uint8_t min, uint8_t max) override {
        ranges[field] = {min, max};
        ++rangeCalls;
    }
    bool IsBlank() override {
        for (const auto& field : fields) {
            if (field) {
                return false;
            }
        }
        return true;
    }
    void SetText(const std::string& text) override {
        ++textCalls;
        SetAddress(ParseText(text));
    }
    std::string GetText() override {
        std::string text;
        for (int i = 0; i < 4; ++i) {
            text += (i ? "." : "") + (fields[i] ? std::to_string(*fields[i]) : std::string());
        }
        return text;
    }
    // A user typing into one field.
    void Type(int field, int value) {
        fields[field] = value;
        control_.ContentsChanged();
    }

    std::optional<int> fields[4];
    TJvIPAddressMinMax ranges[4];
    int rangeCalls = 0;
    int textCalls = 0;

private:
    static uint32_t ParseText(const std::string& text) {
        const auto octets = AddressTextOctets(text);
        return (uint32_t{octets[0]} << 24) | (uint32_t{octets[1]} << 16) |
               (uint32_t{octets[2]} << 8) | octets[3];
    }
    TJvIPAddress& control_;
};

struct Fixture {
    TJvIPAddress control;
    FakeAddressControl platform{control};
    int changes = 0;
    Fixture() {
        control.Attach(&platform);
        control.SetOnChange([this](TJvIPAddress&) { ++changes; });
    }
    ~Fixture() { control.Detach(); }
};

TEST(JvIPAddress, NormalisesAssignedText) {
    struct Row {
        const char* text;
        const char* normalised;
    };
    const Row rows[] = {
        {"192.168.1.300", "192.168.1.44"},
        {"1.2.3", "1.2.3.0"},
        {"abc", "0.0.0.0"},
        {"1.2.3.4.5", "1.2.3.0"},  // piece 4 is "4.5"
        {"", "0.0.0.0"},
        {"1..3.4", "1.0.3.4"},
        {" 10.$FF.0x10.-1", "10.255.16.255"},
        {"65537.256.-256.4294967295", "1.0.0.0"},  // the last piece does not convert
        {"1.2.3.4 ", "1.2.3.0"},                   // a trailing blank does not convert
        {"192.168.0.10", "192.168.0.10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(OctetsText(AddressTextOctets(row.text)), row.normalised);
        Fixture f;
        f.control.SetText(row.text);
        EXPECT_EQ(f.control.Text(), row.normalised);
        EXPECT_EQ(
            OctetsText({f.control.AddressValues().Value1(), f.control.AddressValues().Value2(),
                        f.control.AddressValues().Value3(), f.control.AddressValues().Value4()}),
            row.normalised);
        EXPECT_EQ(f.control.Address(), f.control.AddressValues().Address());
    }
    TJvIPAddress detached;  // without a window the text comes from the values
    detached.SetText("10.1.2.300");
    EXPECT_EQ(detached.Text(), "10.1.2.44");
    EXPECT_EQ(detached.Address(), 0x0A01022Cu);
}

TEST(JvIPAddress, AddressValuesTakeOnlyOctetsInRange) {
    Fixture f;
    f.control.SetText("10.0.0.0");
    f.control.Range().SetField1Max(223);
    EXPECT_EQ(f.platform.ranges[0].Max, 223);
    f.control.AddressValues().SetAddress(0xE6010203);  // 230.1.2.3
    EXPECT_EQ(f.control.Text(), "10.1.2.3");
    EXPECT_EQ(f.control.Address(), 0x0A010203u);
    f.control.AddressValues().SetValue1(230);  // single values are not range-checked
    EXPECT_EQ(f.control.Text(), "230.1.2.3");
    f.control.Range().SetField4Min(5);
    f.control.AddressValues().SetAddress(0x01010101);
    EXPECT_EQ(f.control.Text(), "1.1.1.3");
}

TEST(JvIPAddress, AssigningAddressUpdatesFieldsAndValues) {
    Fixture f;
    f.control.SetAddress(0xC0A8000A);
    EXPECT_EQ(f.control.Text(), "192.168.0.10");
    EXPECT_EQ(f.control.AddressValues().Value4(), 10);
    EXPECT_EQ(f.control.AddressValues().Address(), 0xC0A8000Au);
}

TEST(JvIPAddress, UserEditsRaiseOnChangeAndBlankFieldsRefillQuietly) {
    Fixture f;
    f.platform.ClearAddress();
    f.changes = 0;
    f.platform.Type(0, 10);
    EXPECT_EQ(f.changes, 1);
    EXPECT_EQ(f.control.Address(), 0x0A000000u);
    EXPECT_EQ(f.control.AddressValues().Address(), 0u);  // not updated by user edits
    EXPECT_EQ(f.control.Text(), "10...");
    f.control.FocusLost();
    EXPECT_EQ(f.control.Text(), "10.0.0.0");
    EXPECT_EQ(f.changes, 1);

    f.platform.ClearAddress();
    f.control.FocusLost();  // all blank: stays blank
    EXPECT_TRUE(f.platform.IsBlank());
}

TEST(JvIPAddress, RecreatedWindowGetsRangesAndBlankOrAddress) {
    TJvIPAddress control;
    int changes = 0;
    control.SetOnChange([&](TJvIPAddress&) { ++changes; });
    control.Range().SetField2Max(100);
    control.SetText("1.2.3.4");
    {
        FakeAddressControl first(control);
        control.Attach(&first);
        EXPECT_EQ(first.rangeCalls, 4);
        EXPECT_EQ(first.ranges[1].Max, 100);
        EXPECT_EQ(first.GetText(), "1.2.3.4");
        first.ClearAddress();
        control.Detach();
    }
    FakeAddressControl second(control);
    control.Attach(&second);
    EXPECT_TRUE(second.IsBlank());
    EXPECT_EQ(control.AddressValues().Address(), 0u);
    EXPECT_EQ(second.ranges[1].Max, 100);
    EXPECT_EQ(changes, 1);  // only the clearing of the first window, none while creating
    control.Detach();
}

TEST(JvIPAddress, FieldChangeReportsRangeAndTakesTheValueBack) {
    Fixture f;
    f.control.Range().SetField3Min(10);
    f.control.Range().SetField3Max(20);
    int seenField = -1;
    TJvIPAddressMinMax seenRange;
    f.control.SetOnFieldChange([&](TJvIPAddress&, int field, TJvIPAddressMinMax range, int& value) {
        seenField = field;
        seenRange = range;
        value = 15;
    });
    int value = 99;
    f.control.FieldChanged(2, value);
    EXPECT_EQ(seenField, 2);
    EXPECT_EQ(seenRange.Min, 10);
    EXPECT_EQ(seenRange.Max, 20);
    EXPECT_EQ(value, 15);
}

}  // namespace
