#include <cstring>
#include <vector>

#include "base/DottedText.h"
#include "base/WinApi.h"
#include "net/IdErrorText.h"
#include "net/IdException.h"
#include "net/IdInterfaces.h"
#include "net/IdStack.h"

// The IP helper library is loaded at run time, like Windows Sockets: the program links no
// import library beyond the system's core ones.

namespace {

using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);

constexpr ULONG kSkip = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;

[[noreturn]] void Fail(DWORD code) {
    throw EIdSocketError(SocketErrorMessage(static_cast<int32_t>(code)),
                         static_cast<int32_t>(code));
}

// The adapter's friendly name in the ANSI code page, as the program's other texts are.
std::string AnsiName(const wchar_t* name) {
    const int length = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, -1, text.data(), length, nullptr, nullptr);
    text.resize(static_cast<size_t>(length - 1));
    return text;
}

std::string MaskText(unsigned prefix) {
    return DottedAddressText(prefix == 0 ? 0 : 0xFFFFFFFFu << (32 - (prefix > 32 ? 32 : prefix)));
}

}  // namespace

std::vector<TIdInterfaceAddress> ListInterfaceAddresses() {
    const HMODULE library = LoadLibraryA("IPHLPAPI.DLL");
    if (library == nullptr) {
        Fail(GetLastError());
    }
    const auto getAdapters = reinterpret_cast<GetAdaptersAddressesFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "GetAdaptersAddresses")));
    if (getAdapters == nullptr) {
        const DWORD error = GetLastError();
        FreeLibrary(library);
        Fail(error);
    }
    // The list's size is known only after a first call; it may grow between two calls.
    std::vector<unsigned char> buffer(16 * 1024);
    ULONG size = static_cast<ULONG>(buffer.size());
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        result = getAdapters(AF_INET, kSkip, nullptr,
                             reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data()), &size);
    }
    std::vector<TIdInterfaceAddress> found;
    if (result == NO_ERROR) {
        for (auto* adapter = reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data());
             adapter != nullptr; adapter = adapter->Next) {
            const std::string name = AnsiName(adapter->FriendlyName);
            for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
                 unicast = unicast->Next) {
                const sockaddr* address = unicast->Address.lpSockaddr;
                if (address == nullptr || address->sa_family != AF_INET) {
                    continue;
                }
                TIdIPv4Address bytes{};
                std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr,
                            bytes.size());
                found.push_back({name, DottedAddressText(OctetsAddress(bytes)),
                                 MaskText(unicast->OnLinkPrefixLength)});
            }
        }
    }
    FreeLibrary(library);
    if (result != NO_ERROR && result != ERROR_NO_DATA) {
        Fail(result);
    }
    return found;
}
