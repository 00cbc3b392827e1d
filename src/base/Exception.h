#pragma once

#include <exception>
#include <string>

// The base of every exception the program raises: it carries the message that the error box
// (or the command line's standard error) shows to the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A text that is not an integer of the accepted forms.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file operation that failed; ErrorCode is the run-time library's code (2, 3, 5, ...).
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}

    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};
