#include "wake/CommandLineArgs.h"

#include <cstddef>

namespace {

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads the item that starts at or after `pos`; leaves `pos` behind it. An empty result means
// nothing is left (or only a quote that opens nothing).
std::string NextItem(std::string_view text, std::size_t& pos) {
    for (;;) {
        while (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
        }
        if (pos + 1 < text.size() && text[pos] == '"' && text[pos + 1] == '"') {
            pos += 2;
            continue;
        }
        break;
    }
    std::string item;
    while (pos < text.size() && text[pos] != '\0' && !IsSeparator(text[pos])) {
        if (text[pos] == '"') {
            ++pos;
            while (pos < text.size() && text[pos] != '\0' && text[pos] != '"') {
                item += text[pos++];
            }
            if (pos < text.size() && text[pos] == '"') {
                ++pos;
            }
        } else {
            item += text[pos++];
        }
    }
    return item;
}

std::string_view UpToZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    const std::string_view text = UpToZero(commandLine);
    std::vector<std::string> items;
    std::size_t pos = 0;
    for (;;) {
        std::string item = NextItem(text, pos);
        if (item.empty()) {
            return items;
        }
        items.push_back(std::move(item));
    }
}

std::vector<std::string> CommandLineArguments(std::string_view commandLine) {
    std::vector<std::string> items = SplitCommandLine(commandLine);
    if (!items.empty()) {
        items.erase(items.begin());
    }
    return items;
}
