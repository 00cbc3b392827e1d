// The one table of socket error texts and the message every socket error carries.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/IdErrorText.h"
#include "support/RecordingStack.h"

namespace {

TEST(IdErrorText, ErrorTextGivesNumberLineBreakAndTableText) {
    TRecordingStack stack(std::make_shared<RecordingState>());
    // Every row, typed apart from the table in the code: users see these texts.
    const struct {
        int32_t code;
        std::string text;
    } rows[] = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
        {11004, ""},  // outside the table: the number and the line break alone
        {10093, ""},
        {0, ""},
        {-1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(SocketErrorText(row.code), row.text);
        EXPECT_EQ(SocketErrorMessage(row.code),
                  "Socket Error # " + std::to_string(row.code) + "\r\n" + row.text);
        // A stack's message is the table's, host-not-found included.
        EXPECT_EQ(stack.ErrorText(row.code), SocketErrorMessage(row.code));
    }
    // The texts that break the pattern of the others, spelled out whole.
    EXPECT_EQ(stack.ErrorText(10035), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_EQ(stack.ErrorText(10066), "Socket Error # 10066\r\nDirectory not empty");
    EXPECT_EQ(stack.ErrorText(11004), "Socket Error # 11004\r\n");
}

}  // namespace
