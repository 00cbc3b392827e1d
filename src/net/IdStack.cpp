#include "net/IdStack.h"

#include <algorithm>
#include <string_view>

#include "net/IdException.h"

namespace {

constexpr size_t kMaxSetSize = 64;

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

}  // namespace

std::string TIdStack::ErrorText(int32_t code) const {
    return SocketErrorMessage(code);
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

void TIdStack::CheckSetSize(const std::vector<TIdStackSocketHandle>* list) {
    if (list != nullptr && list->size() > kMaxSetSize) {
        throw EIdStackSetSizeExceeded("Set Size Exceeded.");
    }
}
