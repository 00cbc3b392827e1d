#include "controls/JvBehaviorLabelRegistry.h"

#include <algorithm>
#include <cctype>

#include "controls/JvLabelTyping.h"

namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Kept sorted by lower-cased name. Lives until the program ends.
std::vector<TLabelBehaviorEntry>& Registry() {
    static std::vector<TLabelBehaviorEntry> registry;
    return registry;
}

template <typename T>
void Register(const char* name, const char* className) {
    RegisterLabelBehavior(
        {name, className, [](TJvBehaviorLabel* label) -> std::unique_ptr<TJvLabelBehavior> {
             return std::make_unique<T>(label);
         }});
}

}  // namespace

void RegisterLabelBehavior(TLabelBehaviorEntry entry) {
    if (FindLabelBehavior(entry.name) != nullptr) {
        return;
    }
    auto& registry = Registry();
    const std::string key = Lower(entry.name);
    const auto at = std::find_if(registry.begin(), registry.end(),
                                 [&](const TLabelBehaviorEntry& e) { return Lower(e.name) > key; });
    registry.insert(at, std::move(entry));
}

const TLabelBehaviorEntry* FindLabelBehavior(const std::string& name) {
    const std::string key = Lower(name);
    for (const TLabelBehaviorEntry& entry : Registry()) {
        if (Lower(entry.name) == key) {
            return &entry;
        }
    }
    return nullptr;
}

const TLabelBehaviorEntry* FindLabelBehaviorByClass(const std::string& className) {
    for (const TLabelBehaviorEntry& entry : Registry()) {
        if (entry.className == className) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<std::string> RegisteredLabelBehaviors() {
    std::vector<std::string> names;
    for (const TLabelBehaviorEntry& entry : Registry()) {
        names.push_back(entry.name);
    }
    return names;
}

void RegisterStandardLabelBehaviors() {
    Register<TJvLabelNone>("(none)", "TJvLabelNone");
    Register<TJvLabelBlink>("Blinking", "TJvLabelBlink");
    Register<TJvLabelBounce>("Bouncing", "TJvLabelBounce");
    Register<TJvLabelScroll>("Scrolling", "TJvLabelScroll");
    Register<TJvLabelTyping>("Typing", "TJvLabelTyping");
    Register<TJvLabelAppear>("Appearing", "TJvLabelAppear");
    Register<TJvLabelSpecial>("Special", "TJvLabelSpecial");
    Register<TJvLabelCodeBreaker>("CodeBreaker", "TJvLabelCodeBreaker");
}
