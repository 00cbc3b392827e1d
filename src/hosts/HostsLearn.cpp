#include "hosts/HostsLearn.h"

#include "base/DottedText.h"
#include "hosts/HostsFile.h"
#include "hosts/HostsPlatform.h"
#include "hosts/MacText.h"

std::string LearnedHostLine(const std::string& name, const std::string& mac, uint32_t address,
                            int32_t prefix) {
    std::string normalised;
    std::string line = name + " " +
                       (NormaliseMacAddress(mac, true, normalised) ? normalised : mac) + " " +
                       DottedAddressText(address);
    return prefix < 0 ? line : line + "/" + std::to_string(prefix);
}

TLearnStatus LearnHost(const std::string& path, const std::string& name, const std::string& mac,
                       uint32_t address, int32_t prefix, std::string& line,
                       std::vector<std::string>& errors) {
    std::string old;
    bool exists = false;
    std::string error;
    if (!ReadFileBytes(path, old, exists, error)) {
        errors.push_back(error);
        return TLearnStatus::NotWritten;
    }
    std::vector<THost> hosts;
    if (!ParseHostsFile(old, path, hosts, errors)) {
        return TLearnStatus::FileInvalid;
    }
    // Checked alone first: a blank or a MAC in the name would shift the fields, and the parser
    // would then blame another field.
    if (!CheckHostName(name, error)) {
        errors.push_back(error);
        return TLearnStatus::LineRefused;
    }
    // The whole new text is parsed again, so the new line meets every rule of the file
    // (a taken name, a bad name) with the parser's own texts and line number.
    line = LearnedHostLine(name, mac, address, prefix);
    // The file's own line end style: CRLF when it has one, else LF.
    const std::string lineEnd = old.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string text = old;
    if (!text.empty() && text.back() != '\n') {
        text += lineEnd;
    }
    text += line + lineEnd;
    if (!ParseHostsFile(text, path, hosts, errors)) {
        return TLearnStatus::LineRefused;
    }
    if (!ReplaceFileBytes(path, text, error)) {
        errors.push_back(error);
        return TLearnStatus::NotWritten;
    }
    return TLearnStatus::Appended;
}
