#include "cli/OptionWalk.h"

#include <algorithm>

namespace {

bool Contains(std::span<const char* const> names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Both walks; without `operands` an operand is an unknown option.
bool Walk(const std::vector<std::string>& arguments, std::span<const char* const> valueOptions,
          std::span<const char* const> flagOptions, const TOptionValueReader& readValue,
          std::vector<std::string>* operands, bool& help, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (operands != nullptr && name == "--") {
            operands->insert(operands->end(), arguments.begin() + i + 1, arguments.end());
            return true;
        }
        if (operands != nullptr && (name.empty() || name[0] != '-')) {
            operands->push_back(name);
            continue;
        }
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            help = true;
            continue;
        }
        if (Contains(flagOptions, name)) {
            if (hasValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            if (!readValue(name, value, error)) {
                return false;
            }
            continue;
        }
        if (!Contains(valueOptions, name)) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 == arguments.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = arguments[++i];
        }
        if (!readValue(name, value, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool WalkOptions(const std::vector<std::string>& arguments,
                 std::span<const char* const> valueOptions, const TOptionValueReader& readValue,
                 bool& help, std::string& error) {
    return Walk(arguments, valueOptions, {}, readValue, nullptr, help, error);
}

bool WalkArguments(const std::vector<std::string>& arguments,
                   std::span<const char* const> valueOptions,
                   std::span<const char* const> flagOptions, const TOptionValueReader& readValue,
                   std::vector<std::string>& operands, bool& help, std::string& error) {
    return Walk(arguments, valueOptions, flagOptions, readValue, &operands, help, error);
}
