/* Sends REQUESTS requests "GET PATH" from CLIENTS threads at once to 127.0.0.1:PORT (one
 * connection each, as corvane-web closes after every answer) and prints the throughput and the
 * 50th and 99th percentile latencies.
 *   web-load PORT PATH TOKEN CLIENTS REQUESTS */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

static int port, requests, clients;
static const char *path, *token;
static double *latencies;
static int next_request, failures;
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static int one_request(void) {
    char request[512];
    int length = snprintf(request, sizeof request,
                          "GET %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nAuthorization: Bearer %s\r\n\r\n",
                          path, port, token);
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons((unsigned short)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, (struct sockaddr *)&address, sizeof address) != 0 ||
        send(fd, request, (size_t)length, 0) != length) {
        close(fd);
        return 0;
    }
    char buffer[65536];
    ssize_t got, total = 0;
    int ok = 0;
    while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
        if (total == 0) {
            ok = got >= 12 && memcmp(buffer, "HTTP/1.1 200", 12) == 0;
        }
        total += got;
    }
    close(fd);
    return ok;
}

static void *client(void *unused) {
    (void)unused;
    for (;;) {
        pthread_mutex_lock(&lock);
        int mine = next_request < requests ? next_request++ : -1;
        pthread_mutex_unlock(&lock);
        if (mine < 0) {
            return NULL;
        }
        double start = now();
        int ok = one_request();
        latencies[mine] = now() - start;
        if (!ok) {
            pthread_mutex_lock(&lock);
            ++failures;
            pthread_mutex_unlock(&lock);
        }
    }
}

static int by_value(const void *a, const void *b) {
    double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

int main(int argc, char **argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: web-load PORT PATH TOKEN CLIENTS REQUESTS\n");
        return 2;
    }
    port = atoi(argv[1]);
    path = argv[2];
    token = argv[3];
    clients = atoi(argv[4]);
    requests = atoi(argv[5]);
    latencies = calloc((size_t)requests, sizeof *latencies);
    pthread_t *threads = calloc((size_t)clients, sizeof *threads);
    double start = now();
    for (int i = 0; i < clients; ++i) {
        pthread_create(&threads[i], NULL, client, NULL);
    }
    for (int i = 0; i < clients; ++i) {
        pthread_join(threads[i], NULL);
    }
    double elapsed = now() - start;
    qsort(latencies, (size_t)requests, sizeof *latencies, by_value);
    printf("%d requests of GET %s from %d clients: %.1f s, %.0f requests/s, "
           "latency p50 %.1f ms, p99 %.1f ms, %d failed\n",
           requests, path, clients, elapsed, requests / elapsed,
           latencies[requests / 2] * 1e3, latencies[requests * 99 / 100] * 1e3, failures);
    return failures == 0 ? 0 : 1;
}
