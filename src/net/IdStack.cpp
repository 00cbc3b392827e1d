#include "net/IdStack.h"

#include <algorithm>
#include <string_view>

#include "base/IntConv.h"
#include "net/IdException.h"

namespace {

struct ErrorRow {
    int32_t code;
    const char* text;
};

// Readable texts of the Windows Sockets error numbers (10035 ends in a blank, 10066 has no
// period: these are the texts users have always seen).
constexpr ErrorRow kErrorRows[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
};

constexpr size_t kMaxSetSize = 64;

// A failed conversion counts as -1, which every range check rejects.
int64_t FieldValue(std::string_view field) {
    int32_t value = 0;
    if (!TryStrToInt(std::string(field), value)) {
        return -1;
    }
    return value;
}

int64_t NumberValue(std::string_view field) {
    int64_t value = 0;
    if (!TryStrToInt64(std::string(field), value)) {
        return -1;
    }
    return value;
}

// Takes the text up to the next "." as a field; the rest goes on after the dot, or is empty
// when no dot is left.
std::string_view NextField(std::string_view& rest) {
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) {
        const std::string_view field = rest;
        rest = {};
        return field;
    }
    const std::string_view field = rest.substr(0, dot);
    rest.remove_prefix(dot + 1);
    return field;
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

bool EqualsIgnoringCase(const std::string& text, std::string_view upper) {
    if (text.size() != upper.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upper[i]) {
            return false;
        }
    }
    return true;
}

// Process-wide stack state, guarded by the lock.
struct StackState {
    std::mutex lock;
    TIdStackClass stackClass;
    std::unique_ptr<TIdStack> stack;
    int32_t users = 0;
};

StackState& State() {
    static StackState state;
    return state;
}

// A stack of the given class; an empty class means the platform's own stack.
std::unique_ptr<TIdStack> CreateStackOfClass(const TIdStackClass& stackClass) {
    return stackClass ? stackClass() : CreatePlatformStack();
}

}  // namespace

std::string TIdStack::ErrorText(int32_t code) const {
    return FormatErrorText(code, BaseErrorMessage(code));
}

std::string TIdStack::AddressToText(const TIdIPv4Address& address) const {
    std::string text;
    text.reserve(15);
    for (size_t i = 0; i < address.size(); ++i) {
        if (i > 0) {
            text += '.';
        }
        text += std::to_string(address[i]);
    }
    return text;
}

TIdIPv4Address TIdStack::TextToAddressBytes(const std::string& text) const {
    TIdIPv4Address address{};
    if (!ParseAddressText(text, &address[0], &address[1], &address[2], &address[3])) {
        throw EIdInvalidIPAddress(text + " is not a valid IP address.");
    }
    return address;
}

bool TIdStack::CheckResult(int32_t result, std::span<const int32_t> tolerated) {
    if (result != -1) {
        return false;
    }
    lastFailure_ = SysGetLastError();
    if (std::find(tolerated.begin(), tolerated.end(), lastFailure_) != tolerated.end()) {
        return true;
    }
    RaiseError(lastFailure_);
}

void TIdStack::RaiseError(int32_t code) const {
    throw EIdSocketError(ErrorText(code), code);
}

TIdStackSocketHandle TIdStack::CreateSocket(int32_t type, int32_t protocol) {
    const TIdStackSocketHandle socket = SysSocket(kIdAfInet, type, protocol);
    if (socket == kIdInvalidSocket) {
        throw EIdInvalidSocket("Cannot allocate socket.");
    }
    return socket;
}

std::string TIdStack::HostToAddress(const std::string& host) {
    if (EqualsIgnoringCase(host, "LOCALHOST")) {
        return "127.0.0.1";
    }
    if (IsAddressText(host)) {
        return host;
    }
    return SysGetHostByName(host);
}

bool TIdStack::ParseAddressText(const std::string& text, uint8_t* byte1, uint8_t* byte2,
                                uint8_t* byte3, uint8_t* byte4, TIdAddressForm* form,
                                TIdAddressClass* addressClass) {
    std::string_view rest = text;
    const std::string_view field1 = NextField(rest);
    const std::string_view field2 = NextField(rest);
    const std::string_view field3 = NextField(rest);
    const std::string_view field4 = rest;

    uint32_t value = 0;
    bool valid = false;
    TIdAddressForm foundForm = TIdAddressForm::Dotted;
    TIdAddressClass foundClass = TIdAddressClass::Unclassified;
    if (field2.empty()) {
        const int64_t number = NumberValue(field1);
        valid = InRange(number, 0xFFFFFFFFLL);
        value = static_cast<uint32_t>(number);
        foundForm = TIdAddressForm::Numeric;
    } else if (field3.empty()) {
        const int64_t a = FieldValue(field1);
        const int64_t b = FieldValue(field2);
        valid = InRange(a, 255) && InRange(b, 0xFFFFFF);
        value = static_cast<uint32_t>((a << 24) | b);
        foundClass = TIdAddressClass::A;
    } else if (field4.empty()) {
        const int64_t a = FieldValue(field1);
        const int64_t b = FieldValue(field2);
        const int64_t c = FieldValue(field3);
        valid = InRange(a, 255) && InRange(b, 255) && InRange(c, 0xFFFF);
        value = static_cast<uint32_t>((a << 24) | (b << 16) | c);
        foundClass = TIdAddressClass::B;
    } else {
        const int64_t a = FieldValue(field1);
        const int64_t b = FieldValue(field2);
        const int64_t c = FieldValue(field3);
        const int64_t d = FieldValue(field4);
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
    uint8_t* const outputs[] = {byte1, byte2, byte3, byte4};
    for (int i = 0; i < 4; ++i) {
        if (outputs[i] != nullptr) {
            *outputs[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
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

std::string TIdStack::BaseErrorMessage(int32_t code) {
    for (const ErrorRow& row : kErrorRows) {
        if (row.code == code) {
            return row.text;
        }
    }
    return {};
}

std::string TIdStack::FormatErrorText(int32_t code, const std::string& text) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + text;
}

void TIdStack::CheckSetSize(const std::vector<TIdStackSocketHandle>* list) {
    if (list != nullptr && list->size() > kMaxSetSize) {
        throw EIdStackSetSizeExceeded("Set Size Exceeded.");
    }
}

void SetDefaultStackClass(TIdStackClass stackClass) {
    std::lock_guard<std::mutex> guard(State().lock);
    State().stackClass = std::move(stackClass);
}

TIdStackClass DefaultStackClass() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().stackClass;
}

std::unique_ptr<TIdStack> CreateDefaultStack() {
    return CreateStackOfClass(DefaultStackClass());
}

TIdStack* GlobalStack() {
    return State().stack.get();
}

int32_t StackUsers() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().users;
}

std::mutex& StackLock() {
    return State().lock;
}

void RegisterStackUser() {
    StackState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.users == 0) {
        // Created before the count changes, so a failure leaves the count as it was. The class
        // is read under the lock already held, hence not through CreateDefaultStack.
        state.stack = CreateStackOfClass(state.stackClass);
    }
    ++state.users;
}

void UnregisterStackUser() {
    StackState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    --state.users;
    if (state.users == 0) {
        state.stack.reset();
    }
}
