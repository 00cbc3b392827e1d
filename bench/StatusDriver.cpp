// A status check of many machines through the check runner, as corvane-wake --status runs it:
// tcp:PORT to COUNT addresses from FIRST on, every target started at once, the runner keeping
// the connects within the open-file budget. Prints how many answered. Run it only inside a
// namespace that holds the addresses (bench/status-10k.sh).
//   corvane_status_driver FIRST COUNT PORT [TIMEOUT_MS]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "base/DottedText.h"
#include "check/CheckRunner.h"

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    uint32_t first = 0;
    if (argc < 4 || !ParseDottedQuad(argv[1], first)) {
        std::fprintf(stderr, "usage: corvane_status_driver FIRST COUNT PORT [TIMEOUT_MS]\n");
        return 2;
    }
    const size_t count = std::strtoul(argv[2], nullptr, 10);
    const std::vector<TCheckSpec> checks{{TCheckKind::Tcp, std::atoi(argv[3])}};
    const int64_t deadline = NowMs() + (argc > 4 ? std::atoi(argv[4]) : 3000);

    auto prober = CreateProber();
    TCheckRunner runner(*prober, ConnectBudget());
    const int64_t start = NowMs();
    for (size_t target = 0; target < count; ++target) {
        runner.Start(target, first + static_cast<uint32_t>(target), checks, start);
    }
    size_t answered = 0;
    std::vector<TCheckAnswer> answers;
    for (int64_t now = NowMs(); answered < count && now < deadline; now = NowMs()) {
        answers.clear();
        runner.Poll(now, static_cast<int32_t>(deadline - now), answers);
        for (const TCheckAnswer& answer : answers) {
            runner.Stop(answer.target);
        }
        answered += answers.size();
    }
    std::printf("%zu of %zu answered\n", answered, count);
    return answered == count ? 0 : 4;
}
