// Parsing a generated hosts file of 100,000 lines (both line orders, options, comments), and
// selecting every host with its directed broadcast.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/Targets.h"

namespace {

std::string GeneratedHostsFile(int lines) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "# name MAC address/prefix options\n";
    for (int i = 0; i < lines; ++i) {
        std::string mac = "02-00-00-00-00-00";
        for (int digit = 0, value = i; digit < 6; ++digit, value >>= 4) {
            mac[16 - digit - digit / 2] = kHex[value & 15];
        }
        const std::string address = "10." + std::to_string((i >> 16) & 255) + "." +
                                    std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255);
        const std::string name = "host" + std::to_string(i);
        switch (i % 4) {
        case 0:
            text += name + " " + mac + " " + address + "/16 check=tcp:445\n";
            break;
        case 1:
            text += name + "\t" + mac + " " + address + "/24 group=lab,floor2 to=10.0.0.5:9\n";
            break;
        case 2:
            std::replace(mac.begin(), mac.end(), '-', ':');
            text += mac + " " + name + " " + address + "/8 port=9 pw=abc # ethers order\n";
            break;
        default:
            text += name + " " + mac + "\n";
            break;
        }
    }
    return text;
}

void BM_ParseHostsFile100k(benchmark::State& state) {
    const std::string text = GeneratedHostsFile(100000);
    for (auto _ : state) {
        std::vector<THost> hosts;
        std::vector<std::string> errors;
        if (!ParseHostsFile(text, "hosts", hosts, errors) || hosts.size() != 100000) {
            state.SkipWithError("the generated file did not parse");
            return;
        }
        benchmark::DoNotOptimize(hosts.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseHostsFile100k)->Unit(benchmark::kMillisecond);

void BM_SelectAll100k(benchmark::State& state) {
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    ParseHostsFile(GeneratedHostsFile(100000), "hosts", hosts, errors);
    for (auto _ : state) {
        std::vector<TWakeTarget> targets;
        std::string error;
        SelectTargets(hosts, "hosts", {"all"}, {}, targets, error);
        benchmark::DoNotOptimize(targets.data());
    }
}
BENCHMARK(BM_SelectAll100k)->Unit(benchmark::kMillisecond);

}  // namespace
