// sleeping-machine: stands in for computers that sleep on a test LAN inside a network namespace.
// A test helper only (built with the tests, never installed).
//
// usage: sleeping-machine [--log FILE] [--timeout SECONDS]
//            [--delay-ms N] [--after N | --never | --awake] --machine DEV,MAC,ADDRESS/PREFIX ...
//
// Each --machine is an interface of this namespace that carries the machine's MAC and has no IPv4
// address, so nothing answers for it. The helper reads every IPv4 frame of the namespace with one
// AF_PACKET socket (a UDP socket would see nothing on an interface without an address) and picks
// the UDP datagrams received on a machine's interface whose payload is a magic packet for its MAC
// (6 x 0xff, the MAC 16 times, any password bytes after), whatever their destination and port.
// At its Nth such packet (--after N, default 1) the machine wakes: --delay-ms N later (default 0)
// the helper adds ADDRESS/PREFIX to DEV (over rtnetlink, as `ip addr add ADDRESS/PREFIX brd + dev
// DEV` does), and from then on the kernel answers ARP, ICMP echo and TCP for it. --never: it never
// wakes; --awake: it has its address from the start.
// --delay-ms, --after, --never and --awake apply to the --machine entries that follow them.
//
// Lines (to FILE, else standard output), one per event, written whole as they happen:
//   TIME DEV MAC packet SOURCE:PORT DESTINATION:PORT LENGTH    (LENGTH: the UDP payload's bytes)
//   TIME DEV MAC awake ADDRESS/PREFIX                          (the address was added)
//   TIME DEV MAC failed ADDRESS/PREFIX                         (the kernel refused the address)
// TIME is the wall clock in seconds with microseconds (the kernel's receive time for packets).
// "listening for N machines" on standard error says it is ready. It runs until SIGTERM or SIGINT,
// or for --timeout SECONDS. Exit 0, or 2 for bad usage or when the socket cannot be opened.
#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if_packet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: sleeping-machine [--log FILE] [--timeout SECONDS]\n"
    "           [--delay-ms N] [--after N | --never | --awake] --machine DEV,MAC,ADDRESS/PREFIX "
    "...\n";
constexpr size_t kMagicLength = 6 + 16 * 6;

enum class TWakeMode {
    kAfter,
    kNever,
    kAwake
};

struct TMachine {
    std::string device;
    std::array<unsigned char, 6> mac{};
    std::string macText;
    std::string address;  // ADDRESS/PREFIX as given
    int ifIndex = 0;
    TWakeMode mode = TWakeMode::kAfter;
    int after = 1;
    long delayMs = 0;
    int packets = 0;
    bool scheduled = false;
};

volatile sig_atomic_t stopRequested = 0;
int logFd = STDOUT_FILENO;

void OnStopSignal(int) {
    stopRequested = 1;
}

[[noreturn]] void Usage(const std::string& why) {
    std::fprintf(stderr, "sleeping-machine: %s\n%s", why.c_str(), kUsage);
    std::exit(2);
}

double Seconds(const timespec& t) {
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

timespec Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t;
}

long NumberOption(const std::string& name, const char* text) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0) {
        Usage(name + " wants a number, not '" + text + "'");
    }
    return value;
}

bool ParseMac(const std::string& text, std::array<unsigned char, 6>& mac) {
    unsigned int b[6];
    char s[5];
    if (std::sscanf(text.c_str(), "%2x%c%2x%c%2x%c%2x%c%2x%c%2x", &b[0], &s[0], &b[1], &s[1], &b[2],
                    &s[2], &b[3], &s[3], &b[4], &s[4], &b[5]) != 11 ||
        text.size() != 17) {
        return false;
    }
    for (char c : s) {
        if (c != ':' && c != '-') {
            return false;
        }
    }
    for (int i = 0; i < 6; ++i) {
        mac[i] = static_cast<unsigned char>(b[i]);
    }
    return true;
}

// DEV,MAC,ADDRESS/PREFIX with the settings given so far.
TMachine ParseMachine(const std::string& text, const TMachine& settings) {
    TMachine machine = settings;
    size_t first = text.find(',');
    size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos) {
        Usage("--machine wants DEV,MAC,ADDRESS/PREFIX, not '" + text + "'");
    }
    machine.device = text.substr(0, first);
    machine.macText = text.substr(first + 1, second - first - 1);
    machine.address = text.substr(second + 1);
    if (!ParseMac(machine.macText, machine.mac)) {
        Usage("not a MAC address: '" + machine.macText + "'");
    }
    if (machine.address.find('/') == std::string::npos) {
        Usage("the address wants a /PREFIX: '" + machine.address + "'");
    }
    machine.ifIndex = static_cast<int>(if_nametoindex(machine.device.c_str()));
    if (machine.ifIndex == 0) {
        Usage("no interface '" + machine.device + "' in this namespace");
    }
    return machine;
}

void WriteLine(const TMachine& machine, double time, const std::string& rest) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f", time);
    std::string line =
        std::string(stamp) + " " + machine.device + " " + machine.macText + " " + rest + "\n";
    if (write(logFd, line.data(), line.size()) < 0) {
        std::perror("sleeping-machine: write");
    }
}

std::string Endpoint(uint32_t address, uint16_t port) {
    char text[INET_ADDRSTRLEN];
    in_addr a{address};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(port));
}

struct TDatagram {
    std::string source, destination;  // ADDRESS:PORT
    const unsigned char* payload = nullptr;
    size_t size = 0;
};

// The UDP datagram in an IPv4 packet (unfragmented), or nothing.
std::optional<TDatagram> ParseDatagram(const unsigned char* data, size_t size) {
    if (size < sizeof(iphdr)) {
        return std::nullopt;
    }
    iphdr ip;
    std::memcpy(&ip, data, sizeof ip);
    size_t headerSize = size_t(ip.ihl) * 4;
    size_t totalSize = ntohs(ip.tot_len);
    if (ip.version != 4 || ip.protocol != IPPROTO_UDP || headerSize < sizeof(iphdr) ||
        (ntohs(ip.frag_off) & 0x3fff) != 0 || totalSize > size ||
        totalSize < headerSize + sizeof(udphdr)) {
        return std::nullopt;
    }
    udphdr udp;
    std::memcpy(&udp, data + headerSize, sizeof udp);
    size_t udpSize = ntohs(udp.len);
    if (udpSize < sizeof(udphdr) || headerSize + udpSize > totalSize) {
        return std::nullopt;
    }
    return TDatagram{Endpoint(ip.saddr, udp.source), Endpoint(ip.daddr, udp.dest),
                     data + headerSize + sizeof(udphdr), udpSize - sizeof(udphdr)};
}

bool IsMagicFor(const TMachine& machine, const unsigned char* payload, size_t size) {
    if (size < kMagicLength) {
        return false;
    }
    for (size_t i = 0; i < 6; ++i) {
        if (payload[i] != 0xff) {
            return false;
        }
    }
    for (size_t i = 6; i < kMagicLength; i += 6) {
        if (std::memcmp(payload + i, machine.mac.data(), 6) != 0) {
            return false;
        }
    }
    return true;
}

// Adds the machine's address to its interface: RTM_NEWADDR with local, address and broadcast,
// answered by the kernel's acknowledgement. Writes the "awake" or "failed" line.
void AddAddress(const TMachine& machine) {
    std::string address = machine.address.substr(0, machine.address.find('/'));
    int prefix = std::atoi(machine.address.c_str() + address.size() + 1);
    in_addr local{};
    bool ok = inet_pton(AF_INET, address.c_str(), &local) == 1 && prefix >= 0 && prefix <= 32;
    if (ok) {
        uint32_t hostBits = prefix == 32 ? 0 : 0xffffffffu >> prefix;
        in_addr broadcast{htonl(ntohl(local.s_addr) | hostBits)};
        struct {
            nlmsghdr header;
            ifaddrmsg message;
            char attributes[64];
        } request{};
        request.header.nlmsg_type = RTM_NEWADDR;
        request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK | NLM_F_CREATE | NLM_F_EXCL;
        request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg));
        request.message.ifa_family = AF_INET;
        request.message.ifa_prefixlen = static_cast<unsigned char>(prefix);
        request.message.ifa_index = static_cast<unsigned>(machine.ifIndex);
        for (auto [type, value] : {std::pair{IFA_LOCAL, local}, std::pair{IFA_ADDRESS, local},
                                   std::pair{IFA_BROADCAST, broadcast}}) {
            auto* attribute = reinterpret_cast<rtattr*>(reinterpret_cast<char*>(&request) +
                                                        NLMSG_ALIGN(request.header.nlmsg_len));
            attribute->rta_type = type;
            attribute->rta_len = RTA_LENGTH(sizeof value);
            std::memcpy(RTA_DATA(attribute), &value, sizeof value);
            request.header.nlmsg_len = NLMSG_ALIGN(request.header.nlmsg_len) + attribute->rta_len;
        }
        int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
        struct {
            nlmsghdr header;
            nlmsgerr error;
        } answer{};
        ok = fd >= 0 && send(fd, &request, request.header.nlmsg_len, 0) >= 0 &&
             recv(fd, &answer, sizeof answer, 0) >= ssize_t(sizeof answer) &&
             answer.header.nlmsg_type == NLMSG_ERROR && answer.error.error == 0;
        if (!ok && answer.error.error != 0) {
            std::fprintf(stderr, "sleeping-machine: %s on %s: %s\n", machine.address.c_str(),
                         machine.device.c_str(), std::strerror(-answer.error.error));
        }
        if (fd >= 0) {
            close(fd);
        }
    }
    WriteLine(machine, Seconds(Now(CLOCK_REALTIME)),
              std::string(ok ? "awake " : "failed ") + machine.address);
}

int OpenPacketSocket() {
    int fd = socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_IP));
    if (fd < 0) {
        std::perror("sleeping-machine: AF_PACKET socket");
        std::exit(2);
    }
    // Hundreds of machines see every broadcast on every interface: a large buffer keeps a burst.
    int size = 8 << 20;
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    return fd;
}

// One frame: the receiving interface, the kernel's receive time, the IPv4 packet.
struct TFrame {
    int ifIndex = 0;
    bool outgoing = false;
    double time = 0;
    size_t size = 0;
};

bool ReceiveFrame(int fd, unsigned char* buffer, size_t capacity, TFrame& frame) {
    sockaddr_ll from{};
    iovec io{buffer, capacity};
    alignas(cmsghdr) char control[256];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got = recvmsg(fd, &message, MSG_DONTWAIT);
    if (got < 0) {
        return false;
    }
    frame.ifIndex = from.sll_ifindex;
    frame.outgoing = from.sll_pkttype == PACKET_OUTGOING;
    frame.size = size_t(got);
    frame.time = Seconds(Now(CLOCK_REALTIME));
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp;
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            frame.time = Seconds(stamp);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<TMachine> machines;
    TMachine settings;
    double timeout = 0;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        if (option == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option == "--never") {
            settings.mode = TWakeMode::kNever;
        } else if (option == "--awake") {
            settings.mode = TWakeMode::kAwake;
        } else if (!hasValue) {
            Usage("unknown option or missing value: " + option);
        } else if (option == "--log") {
            logFd = open(argv[++i], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
            if (logFd < 0) {
                Usage(std::string("cannot open ") + argv[i] + ": " + std::strerror(errno));
            }
        } else if (option == "--timeout") {
            timeout = double(NumberOption(option, argv[++i]));
        } else if (option == "--delay-ms") {
            settings.delayMs = NumberOption(option, argv[++i]);
        } else if (option == "--after") {
            settings.mode = TWakeMode::kAfter;
            settings.after = int(NumberOption(option, argv[++i]));
            if (settings.after < 1) {
                Usage("--after wants 1 or more");
            }
        } else if (option == "--machine") {
            machines.push_back(ParseMachine(argv[++i], settings));
        } else {
            Usage("unknown option: " + option);
        }
    }
    if (machines.empty()) {
        Usage("no --machine given");
    }
    signal(SIGTERM, OnStopSignal);
    signal(SIGINT, OnStopSignal);

    int fd = OpenPacketSocket();
    std::map<int, TMachine*> byInterface;
    std::multimap<double, TMachine*> dueWakes;  // monotonic seconds -> machine
    for (TMachine& machine : machines) {
        byInterface[machine.ifIndex] = &machine;
        if (machine.mode == TWakeMode::kAwake) {
            machine.scheduled = true;
            AddAddress(machine);
        }
    }
    std::fprintf(stderr, "listening for %zu machines\n", machines.size());

    double end = timeout > 0 ? Seconds(Now(CLOCK_MONOTONIC)) + timeout : 0;
    std::vector<unsigned char> buffer(65536);
    while (!stopRequested) {
        double now = Seconds(Now(CLOCK_MONOTONIC));
        if (end > 0 && now >= end) {
            break;
        }
        while (!dueWakes.empty() && dueWakes.begin()->first <= now) {
            TMachine* machine = dueWakes.begin()->second;
            dueWakes.erase(dueWakes.begin());
            AddAddress(*machine);
        }

        // Sleep until a frame, the next wake or the end.
        double wait = 1.0;
        if (!dueWakes.empty()) {
            wait = std::min(wait, dueWakes.begin()->first - now);
        }
        if (end > 0) {
            wait = std::min(wait, end - now);
        }
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, wait > 0 ? int(wait * 1000) + 1 : 0) <= 0) {
            continue;
        }
        // A bounded batch, so that a stream of frames cannot hold back a due wake.
        TFrame frame;
        for (int batch = 0; batch < 64 && ReceiveFrame(fd, buffer.data(), buffer.size(), frame);
             ++batch) {
            auto found = byInterface.find(frame.ifIndex);
            if (frame.outgoing || found == byInterface.end()) {
                continue;
            }
            TMachine& machine = *found->second;
            auto datagram = ParseDatagram(buffer.data(), frame.size);
            if (!datagram || !IsMagicFor(machine, datagram->payload, datagram->size)) {
                continue;
            }
            ++machine.packets;
            WriteLine(machine, frame.time,
                      "packet " + datagram->source + " " + datagram->destination + " " +
                          std::to_string(datagram->size));
            if (machine.mode == TWakeMode::kAfter && !machine.scheduled &&
                machine.packets >= machine.after) {
                machine.scheduled = true;
                // The delay counts from the packet's arrival, not from when it was read.
                double arrivedAgo = std::max(0.0, Seconds(Now(CLOCK_REALTIME)) - frame.time);
                double due =
                    Seconds(Now(CLOCK_MONOTONIC)) - arrivedAgo + double(machine.delayMs) / 1000.0;
                dueWakes.emplace(due, &machine);
            }
        }
    }
    return 0;
}
