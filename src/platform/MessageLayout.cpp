#include "platform/MessageLayout.h"

#include <algorithm>

namespace {

constexpr int32_t kMargin = 12;
constexpr int32_t kGap = 12;
constexpr int32_t kButtonWidth = 75;
constexpr int32_t kButtonHeight = 25;

}  // namespace

int32_t MessageTextMaxWidth(int32_t screenWidth) {
    return screenWidth / 2;
}

TMessageLayout MessageBoxLayout(int32_t textWidth, int32_t textHeight) {
    TMessageLayout layout;
    layout.clientWidth = std::max(textWidth, kButtonWidth) + 2 * kMargin;
    layout.clientHeight = kMargin + textHeight + kGap + kButtonHeight + kMargin;
    layout.text = Bounds(kMargin, kMargin, textWidth, textHeight);
    layout.button = Bounds((layout.clientWidth - kButtonWidth) / 2, kMargin + textHeight + kGap,
                           kButtonWidth, kButtonHeight);
    return layout;
}
