#pragma once

#include <cstdint>
#include <string>

#include "base/Exception.h"

// Exceptions of the datagram transport. Every failure of the socket layer reaches the caller as
// one of these; the message is what the user sees.

class EIdException : public Exception {
public:
    using Exception::Exception;
};

// A platform socket call failed; ErrorCode is the Windows Sockets error number.
class EIdSocketError : public EIdException {
public:
    EIdSocketError(std::string message, int32_t errorCode)
        : EIdException(std::move(message)), errorCode_(errorCode) {}

    int32_t ErrorCode() const { return errorCode_; }

private:
    int32_t errorCode_;
};

class EIdInvalidSocket : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdInvalidServiceName : public EIdException {
public:
    using EIdException::EIdException;
};

// The socket library could not be loaded, or one of its functions was called while it was not
// loaded. The message is the heading alone when there is no system error, else the heading,
// ": " and the system's text.
class EIdWS2StubError : public EIdException {
public:
    EIdWS2StubError(uint32_t systemError, std::string systemErrorText, std::string heading)
        : EIdException(BuildMessage(systemError, systemErrorText, heading)),
          systemError_(systemError),
          systemErrorText_(std::move(systemErrorText)),
          heading_(std::move(heading)) {}

    uint32_t SystemError() const { return systemError_; }
    const std::string& SystemErrorText() const { return systemErrorText_; }
    const std::string& Heading() const { return heading_; }

    // A system message text without its trailing blanks, control characters and periods.
    static std::string TrimSystemText(std::string text) {
        while (!text.empty() &&
               (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) {
            text.pop_back();
        }
        return text;
    }

private:
    static std::string BuildMessage(uint32_t systemError, const std::string& systemErrorText,
                                    const std::string& heading) {
        if (systemError == 0) {
            return heading;
        }
        return heading + ": " + systemErrorText;
    }

    uint32_t systemError_;
    std::string systemErrorText_;
    std::string heading_;
};

class EIdStackError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdStackInitializationFailed : public EIdStackError {
public:
    using EIdStackError::EIdStackError;
};

class EIdStackSetSizeExceeded : public EIdStackError {
public:
    using EIdStackError::EIdStackError;
};

class EIdInvalidIPAddress : public EIdStackError {
public:
    using EIdStackError::EIdStackError;
};

// Failures of a socket binding while sending.
class EIdSocketHandleError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdPackageSizeTooBig : public EIdSocketHandleError {
public:
    using EIdSocketHandleError::EIdSocketHandleError;
};

class EIdNotAllBytesSent : public EIdSocketHandleError {
public:
    using EIdSocketHandleError::EIdSocketHandleError;
};
