/* The least a wake can cost: one UDP socket with the broadcast permission and one sendto of
 * the 102-byte magic packet for 00-11-22-33-44-55. Usage: raw-wake IP PORT */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv) {
    static const unsigned char mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    unsigned char packet[102];
    struct sockaddr_in to;
    int fd, on = 1, i;
    if (argc != 3) {
        return 2;
    }
    memset(packet, 0xFF, 6);
    for (i = 0; i < 16; ++i) {
        memcpy(packet + 6 + 6 * i, mac, 6);
    }
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons((unsigned short)atoi(argv[2]));
    if (inet_pton(AF_INET, argv[1], &to.sin_addr) != 1) {
        return 1;
    }
    fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        return 1;
    }
    if (sendto(fd, packet, sizeof packet, 0, (struct sockaddr*)&to, sizeof to) != sizeof packet) {
        return 1;
    }
    close(fd);
    return 0;
}
