#pragma once

#include <cstdint>
#include <string>

// The error numbers every stack reports, whatever the platform: the Windows Sockets numbering
// (10000 + the BSD number, and 11001 to 11004 for failed name lookups). Code compares them by
// these names; the numbers themselves appear only here.
enum TIdErrorCode : int32_t {
    kIdErrorInterrupted = 10004,
    kIdErrorBadFile = 10009,
    kIdErrorAccessDenied = 10013,
    kIdErrorBadAddress = 10014,
    kIdErrorInvalidArgument = 10022,
    kIdErrorTooManyOpenFiles = 10024,
    kIdErrorWouldBlock = 10035,
    kIdErrorInProgress = 10036,
    kIdErrorAlreadyInProgress = 10037,
    kIdErrorNotSocket = 10038,
    kIdErrorDestinationRequired = 10039,
    kIdErrorMessageTooLong = 10040,
    kIdErrorWrongProtocolType = 10041,
    kIdErrorBadProtocolOption = 10042,
    kIdErrorProtocolNotSupported = 10043,
    kIdErrorSocketTypeNotSupported = 10044,
    kIdErrorOperationNotSupported = 10045,
    kIdErrorProtocolFamilyNotSupported = 10046,
    kIdErrorAddressFamilyNotSupported = 10047,
    kIdErrorAddressInUse = 10048,
    kIdErrorAddressNotAvailable = 10049,
    kIdErrorNetworkDown = 10050,
    kIdErrorNetworkUnreachable = 10051,
    kIdErrorNetworkReset = 10052,
    kIdErrorConnectionAborted = 10053,
    kIdErrorConnectionReset = 10054,
    kIdErrorNoBufferSpace = 10055,
    kIdErrorAlreadyConnected = 10056,
    kIdErrorNotConnected = 10057,
    kIdErrorShutDown = 10058,
    kIdErrorTooManyReferences = 10059,
    kIdErrorTimedOut = 10060,
    kIdErrorConnectionRefused = 10061,
    kIdErrorTooManyLinks = 10062,
    kIdErrorNameTooLong = 10063,
    kIdErrorHostDown = 10064,
    kIdErrorHostUnreachable = 10065,
    kIdErrorNotEmpty = 10066,
    kIdErrorNotInitialised = 10093,
    kIdErrorHostNotFound = 11001,
    kIdErrorTryAgain = 11002,
    kIdErrorNoRecovery = 11003,
    kIdErrorNoData = 11004,
};

// The readable text of an error number; empty for a number the table does not hold.
std::string SocketErrorText(int32_t code);

// "Socket Error # <code>\r\n<text>": the message of every socket error.
std::string SocketErrorMessage(int32_t code);
