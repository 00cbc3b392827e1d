#pragma once

#include <string>

// The text the error box shows for an exception's message: a final "." is added when the
// message is not empty and its last character sorts after "." (code 46), so sentences end
// with a period but "...)." or "x." are not doubled.
inline std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}
