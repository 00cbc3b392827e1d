#include "net/IdNeighbours.h"

#include <cstdio>

std::string NeighbourMacText(const uint8_t (&bytes)[6]) {
    char text[18];
    std::snprintf(text, sizeof(text), "%02x-%02x-%02x-%02x-%02x-%02x", bytes[0], bytes[1], bytes[2],
                  bytes[3], bytes[4], bytes[5]);
    return text;
}
