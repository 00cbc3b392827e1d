#pragma once

#include "net/IdStack.h"

// Owns a UDP socket of the stack for a console program's run and closes it on every way out.
class TDatagramSocket {
public:
    explicit TDatagramSocket(TIdStack& stack);
    ~TDatagramSocket();
    TDatagramSocket(const TDatagramSocket&) = delete;
    TDatagramSocket& operator=(const TDatagramSocket&) = delete;

    TIdStackSocketHandle Handle() const { return socket_; }

private:
    TIdStack& stack_;
    TIdStackSocketHandle socket_;
};
