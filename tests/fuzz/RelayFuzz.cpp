// The relay's decision and line on any datagram: the first four bytes are the source address,
// the next two its port and one more the milliseconds since the previous datagram; the rest is
// the datagram. Whatever arrives, only magic packets go out, and they go out unchanged.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/DottedText.h"
#include "relay/RelayForwarder.h"
#include "support/RecordingStack.h"
#include "wake/MagicPacket.h"

namespace {

struct Relay {
    Relay()
        : stack(CreateDefaultStack()),
          policy(TAllowList({{0x0A000000, 8}}), 2000, 20),
          forwarder(*stack, 7, {{"10.0.2.255", 9}}, policy) {
        policy.SetOwnSender({0x0A000201}, 50000);
    }

    ScopedRecordingStack recording;
    std::unique_ptr<TIdStack> stack;
    TRelayPolicy policy;
    TRelayForwarder forwarder;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Relay relay;  // kept between inputs, so the window and the rate see long runs
    static int64_t nowMs = 0;
    if (size < 7) {
        return 0;
    }
    const uint32_t source =
        (uint32_t{data[0]} << 24) | (uint32_t{data[1]} << 16) | (uint32_t{data[2]} << 8) | data[3];
    const int32_t port = (data[4] << 8) | data[5];
    nowMs += data[6] * 8;
    const std::string datagram(reinterpret_cast<const char*>(data) + 7, size - 7);
    // Only this input's datagram is kept: a long campaign must not grow with the recording.
    relay.recording.ClearRecords();
    const std::string line =
        relay.forwarder.Handle(datagram, DottedAddressText(source), port, nowMs);
    const bool sent = !relay.recording.Sent().empty();
    TMagicPacket packet;
    if (sent && (!DecodeMagicPacket(datagram, packet) ||
                 relay.recording.Sent().back().data != datagram || (source >> 24) != 10)) {
        std::abort();
    }
    if (sent != (line.find(" -> forwarded to 10.0.2.255:9") != std::string::npos) ||
        line.rfind("from " + DottedAddressText(source) + ":", 0) != 0) {
        std::abort();
    }
    return 0;
}
