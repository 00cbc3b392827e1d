#pragma once

#include <optional>
#include <string_view>

#include "platform/Platform.h"

// The background a window gives a static text or read-only edit it holds: the colour set for
// the control if there is one (clNone: transparent), otherwise clWindow for an edit (the class
// name compared without regard to case) and the window's own colour for anything else.
TColor ControlBackground(std::optional<TColor> assigned, std::string_view className,
                         TColor windowColor);
