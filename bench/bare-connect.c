/* The floor of a TCP status check of many machines: non-blocking connects to COUNT addresses
 * from FIRST on (FIRST, FIRST+1, ...), at most INFLIGHT at a time, all waited for with one
 * epoll set; a completed connect and a refusal both count as an answer. Prints how many
 * answered. Run it only inside a namespace that holds the addresses (bench/status-10k.sh).
 *   bare-connect FIRST COUNT PORT [INFLIGHT] [TIMEOUT_MS] */
#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

static long long NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: bare-connect FIRST COUNT PORT [INFLIGHT] [TIMEOUT_MS]\n");
        return 2;
    }
    struct in_addr first;
    if (inet_pton(AF_INET, argv[1], &first) != 1) {
        return 2;
    }
    const unsigned count = (unsigned)atoi(argv[2]);
    const unsigned short port = (unsigned short)atoi(argv[3]);
    const unsigned most = argc > 4 ? (unsigned)atoi(argv[4]) : 4096;
    const long long deadline = NowMs() + (argc > 5 ? atoi(argv[5]) : 3000);
    const int epoll = epoll_create1(0);
    unsigned next = 0, inFlight = 0, answered = 0;
    struct epoll_event events[256];
    while ((next < count || inFlight > 0) && NowMs() < deadline) {
        while (next < count && inFlight < most) {
            const int s = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (s < 0) {
                break;
            }
            const struct linger abortive = {1, 0};
            setsockopt(s, SOL_SOCKET, SO_LINGER, &abortive, sizeof(abortive));
            struct sockaddr_in to;
            memset(&to, 0, sizeof(to));
            to.sin_family = AF_INET;
            to.sin_port = htons(port);
            to.sin_addr.s_addr = htonl(ntohl(first.s_addr) + next++);
            if (connect(s, (struct sockaddr*)&to, sizeof(to)) == 0 || errno == ECONNREFUSED) {
                ++answered;
                close(s);
            } else if (errno == EINPROGRESS) {
                struct epoll_event event = {.events = EPOLLOUT, .data.fd = s};
                epoll_ctl(epoll, EPOLL_CTL_ADD, s, &event);
                ++inFlight;
            } else {
                close(s);
            }
        }
        const long long left = deadline - NowMs();
        const int ready = epoll_wait(epoll, events, 256, left > 0 ? (int)left : 0);
        for (int i = 0; i < ready; ++i) {
            int error = 0;
            socklen_t length = sizeof(error);
            getsockopt(events[i].data.fd, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error == 0 || error == ECONNREFUSED || error == ECONNRESET) {
                ++answered;
            }
            close(events[i].data.fd);
            --inFlight;
        }
    }
    printf("%u of %u answered\n", answered, count);
    return answered == count ? 0 : 4;
}
