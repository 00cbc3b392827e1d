#include "net/IdErrorText.h"

namespace {

struct ErrorRow {
    TIdErrorCode code;
    const char* text;
};

// 10035 ends in a blank and 10066 has no period: these are the texts users have always seen.
constexpr ErrorRow kErrorRows[] = {
    {kIdErrorInterrupted, "Interrupted system call."},
    {kIdErrorBadFile, "Bad file number."},
    {kIdErrorAccessDenied, "Access denied."},
    {kIdErrorBadAddress, "Bad address."},
    {kIdErrorInvalidArgument, "Invalid argument."},
    {kIdErrorTooManyOpenFiles, "Too many open files."},
    {kIdErrorWouldBlock, "Operation would block. "},
    {kIdErrorInProgress, "Operation now in progress."},
    {kIdErrorAlreadyInProgress, "Operation already in progress."},
    {kIdErrorNotSocket, "Socket operation on non-socket."},
    {kIdErrorDestinationRequired, "Destination address required."},
    {kIdErrorMessageTooLong, "Message too long."},
    {kIdErrorWrongProtocolType, "Protocol wrong type for socket."},
    {kIdErrorBadProtocolOption, "Bad protocol option."},
    {kIdErrorProtocolNotSupported, "Protocol not supported."},
    {kIdErrorSocketTypeNotSupported, "Socket type not supported."},
    {kIdErrorOperationNotSupported, "Operation not supported on socket."},
    {kIdErrorProtocolFamilyNotSupported, "Protocol family not supported."},
    {kIdErrorAddressFamilyNotSupported, "Address family not supported by protocol family."},
    {kIdErrorAddressInUse, "Address already in use."},
    {kIdErrorAddressNotAvailable, "Cannot assign requested address."},
    {kIdErrorNetworkDown, "Network is down."},
    {kIdErrorNetworkUnreachable, "Network is unreachable."},
    {kIdErrorNetworkReset, "Net dropped connection or reset."},
    {kIdErrorConnectionAborted, "Software caused connection abort."},
    {kIdErrorConnectionReset, "Connection reset by peer."},
    {kIdErrorNoBufferSpace, "No buffer space available."},
    {kIdErrorAlreadyConnected, "Socket is already connected."},
    {kIdErrorNotConnected, "Socket is not connected."},
    {kIdErrorShutDown, "Cannot send or receive after socket is closed."},
    {kIdErrorTooManyReferences, "Too many references, cannot splice."},
    {kIdErrorTimedOut, "Connection timed out."},
    {kIdErrorConnectionRefused, "Connection refused."},
    {kIdErrorTooManyLinks, "Too many levels of symbolic links."},
    {kIdErrorNameTooLong, "File name too long."},
    {kIdErrorHostDown, "Host is down."},
    {kIdErrorHostUnreachable, "No route to host."},
    {kIdErrorNotEmpty, "Directory not empty"},
    {kIdErrorHostNotFound, "Host not found."},
};

}  // namespace

std::string SocketErrorText(int32_t code) {
    for (const ErrorRow& row : kErrorRows) {
        if (row.code == code) {
            return row.text;
        }
    }
    return {};
}

std::string SocketErrorMessage(int32_t code) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + SocketErrorText(code);
}
