#include "cli/DatagramSocket.h"

TDatagramSocket::TDatagramSocket(TIdStack& stack)
    : stack_(stack), socket_(stack.CreateSocket(kIdSockDgram, 0)) {}

TDatagramSocket::~TDatagramSocket() {
    stack_.SysCloseSocket(socket_);
}
