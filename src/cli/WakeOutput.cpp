#include "cli/WakeOutput.h"

#include <cstdio>

#include "cli/WakeOptions.h"

namespace {

const char* StateText(TWakeOutcome outcome) {
    switch (outcome) {
    case TWakeOutcome::Sent:
        return "sent";
    case TWakeOutcome::SendFailed:
        return "send failed";
    case TWakeOutcome::Up:
        return "up";
    case TWakeOutcome::NoAnswer:
        return "no answer";
    case TWakeOutcome::Down:
        return "down";
    }
    return "";
}

std::string PacketsText(int32_t packets) {
    return std::to_string(packets) + (packets == 1 ? " packet" : " packets");
}

// The length of the UTF-8 sequence at text[i], or 0 when it is not a well-formed one
// (overlong forms, surrogates and values above U+10FFFF included).
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char first = byte(i);
    size_t length = 0;
    uint32_t value = 0;
    if (first < 0x80) {
        return 1;
    } else if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        value = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        value = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        value = first & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    if (overlong || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        return 0;
    }
    return length;
}

}  // namespace

std::string SentLine(const std::string& name, const std::vector<std::string>& sentTo) {
    std::string line = name + ": sent to ";
    for (size_t i = 0; i < sentTo.size(); ++i) {
        line += (i == 0 ? "" : ", ") + sentTo[i];
    }
    return line;
}

std::string SendFailedLine(const std::string& name, const std::string& destination,
                           const std::string& error) {
    return name + ": send to " + destination + " failed: " + error;
}

std::string SettledLine(const TWakeReport& report, int64_t timeoutMs) {
    const std::string& name = report.name;
    switch (report.outcome) {
    case TWakeOutcome::Up:
        if (report.packets == 0) {
            return name + ": up (" + report.answered + ")";
        }
        return name + ": up after " + TenthsText(report.millis) + " s (" + report.answered + ", " +
               PacketsText(report.packets) + ")";
    case TWakeOutcome::NoAnswer:
        return name + ": no answer after " + TimeoutText(timeoutMs) + " s (" +
               PacketsText(report.packets) + ")";
    case TWakeOutcome::Down:
        return name + ": down";
    case TWakeOutcome::Sent:
        return SentLine(name, report.sentTo);
    case TWakeOutcome::SendFailed:
        break;
    }
    return name + ": send failed: " + report.error;
}

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8Length(text, i);
        if (length == 0) {
            json += "\\ufffd";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c == '\n') {
            json += "\\n";
        } else if (c == '\r') {
            json += "\\r";
        } else if (c == '\t') {
            json += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            json += escaped;
        } else {
            json.append(text, i, length);
        }
        i += length;
    }
    return json + "\"";
}

std::string JsonLine(const TWakeReport& report) {
    std::string sentTo = "[";
    for (size_t i = 0; i < report.sentTo.size(); ++i) {
        sentTo += (i == 0 ? "" : ",") + JsonString(report.sentTo[i]);
    }
    sentTo += "]";
    const auto orNull = [](const std::string& text) {
        return text.empty() ? std::string("null") : JsonString(text);
    };
    const std::string seconds = report.millis < 0 ? "null" : TenthsText(report.millis);
    return "{\"name\":" + JsonString(report.name) + ",\"mac\":" + JsonString(report.mac) +
           ",\"sent_to\":" + sentTo + ",\"packets\":" + std::to_string(report.packets) +
           ",\"state\":" + JsonString(StateText(report.outcome)) + ",\"seconds\":" + seconds +
           ",\"answered\":" + orNull(report.answered) + ",\"error\":" + orNull(report.error) + "}";
}

std::string SummaryLine(bool status, int64_t elapsedMs, const std::vector<TWakeReport>& reports) {
    size_t counts[5] = {};
    for (const TWakeReport& report : reports) {
        ++counts[static_cast<int>(report.outcome)];
    }
    const auto count = [&counts](TWakeOutcome outcome) {
        return std::to_string(counts[static_cast<int>(outcome)]);
    };
    std::string line = (status ? "checked " : "waited ") + TenthsText(elapsedMs) +
                       " s: " + count(TWakeOutcome::Up) + " up, ";
    line +=
        status ? count(TWakeOutcome::Down) + " down" : count(TWakeOutcome::NoAnswer) + " no answer";
    if (counts[static_cast<int>(TWakeOutcome::SendFailed)] != 0) {
        line += ", " + count(TWakeOutcome::SendFailed) + " send failed";
    }
    if (counts[static_cast<int>(TWakeOutcome::Sent)] != 0) {
        line += ", " + count(TWakeOutcome::Sent) + " sent (not checked)";
    }
    return line;
}

std::string ProgressLine(size_t up, size_t waiting, int64_t elapsedMs) {
    return std::to_string(up) + " up, " + std::to_string(waiting) + " waiting, " +
           TenthsText(elapsedMs) + " s";
}

int WakeExitStatus(const std::vector<TWakeReport>& reports) {
    bool failed = false;
    bool notUp = false;
    for (const TWakeReport& report : reports) {
        failed = failed || report.outcome == TWakeOutcome::SendFailed || !report.error.empty();
        notUp = notUp || report.outcome == TWakeOutcome::NoAnswer ||
                report.outcome == TWakeOutcome::Down;
    }
    return failed ? kWakeSendFailed : notUp ? kWakeNoAnswer : kWakeAllDone;
}

std::string TenthsText(int64_t millis) {
    const int64_t tenths = (millis + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string TimeoutText(int64_t millis) {
    if (millis % 1000 == 0) {
        return std::to_string(millis / 1000);
    }
    std::string text =
        std::to_string(millis / 1000) + "." + std::to_string(1000 + millis % 1000).substr(1);
    while (text.back() == '0') {
        text.pop_back();
    }
    return text;
}
