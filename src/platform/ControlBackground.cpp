#include "platform/ControlBackground.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

TColor ControlBackground(std::optional<TColor> assigned, std::string_view className,
                         TColor windowColor) {
    if (assigned) {
        return *assigned;
    }
    return EqualsIgnoringCase(className, "Edit") ? clWindow : windowColor;
}
