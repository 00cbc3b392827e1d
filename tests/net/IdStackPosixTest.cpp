// The POSIX stack's error mapping and its name lookup (from the hosts file only: no resolver).
#include <gtest/gtest.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cerrno>

#include "net/IdException.h"
#include "net/IdStackPosix.h"

namespace {

TEST(IdStackPosix, ErrnoMapsToWindowsSocketsNumbers) {
    const struct {
        int error;
        int32_t expected;
    } rows[] = {
        {EINTR, 10004},       {EBADF, 10009},        {EACCES, 10013},       {EPERM, 10013},
        {EFAULT, 10014},      {EINVAL, 10022},       {EMFILE, 10024},       {EAGAIN, 10035},
        {EWOULDBLOCK, 10035}, {EINPROGRESS, 10036},  {ENOTSOCK, 10038},     {EMSGSIZE, 10040},
        {ENOPROTOOPT, 10042}, {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},    {ENETUNREACH, 10051},  {ECONNRESET, 10054},   {ENOBUFS, 10055},
        {ETIMEDOUT, 10060},   {ECONNREFUSED, 10061}, {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(TIdStackPosix::MapErrno(row.error), row.expected);
    }
}

TEST(IdStackPosix, LookupFailuresMapToHostErrors) {
    const struct {
        int error;
        int32_t expected;
    } rows[] = {
        {EAI_NONAME, 11001}, {EAI_AGAIN, 11002}, {EAI_FAIL, 11003}, {EAI_MEMORY, 11003},
#ifdef EAI_NODATA
        {EAI_NODATA, 11004},
#endif
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(TIdStackPosix::MapLookupError(row.error, 0), row.expected);
    }
    EXPECT_EQ(TIdStackPosix::MapLookupError(EAI_SYSTEM, ENOBUFS), 10055);
}

TEST(IdStackPosix, UsesThePlatformsBroadcastOptionAndAddsHostNotFound) {
    TIdStackPosix stack;
    EXPECT_EQ(stack.SocketOptionLevel(), SOL_SOCKET);
    EXPECT_EQ(stack.BroadcastOptionName(), SO_BROADCAST);
    EXPECT_EQ(stack.ErrorText(11001), "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(stack.ErrorText(11002), "Socket Error # 11002\r\n");
}

TEST(IdStackPosix, NameLookupGivesTheFirstIPv4Address) {
    TIdStackPosix stack;
    // "localhost" comes from the hosts file, so no query leaves the machine.
    EXPECT_EQ(stack.SysGetHostByName("localhost"), "127.0.0.1");
    EXPECT_EQ(stack.SysGetHostByName(std::string("localhost\0ignored", 17)), "127.0.0.1");
}

TEST(IdStackPosix, FailedCallsReportMappedNumbers) {
    TIdStackPosix stack;
    EXPECT_EQ(stack.SysCloseSocket(-1), -1);
    EXPECT_EQ(stack.SysGetLastError(), 10009);
    EXPECT_EQ(stack.SysSendTo(-1, "x", 1, 0, "127.0.0.1", 9), -1);
    EXPECT_EQ(stack.SysGetLastError(), 10009);
    try {
        stack.CheckResult(-1);
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.Message(), "Socket Error # 10009\r\nBad file number.");
    }
}

}  // namespace
