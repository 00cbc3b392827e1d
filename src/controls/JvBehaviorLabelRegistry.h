#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/JvBehaviorLabel.h"

// The registry of label behaviours: one list for the whole program, sorted by name, names
// matched regardless of letter case.
struct TLabelBehaviorEntry {
    std::string name;
    std::string className;
    std::function<std::unique_ptr<TJvLabelBehavior>(TJvBehaviorLabel* label)> create;
};

// Adds an entry unless its name is present already.
void RegisterLabelBehavior(TLabelBehaviorEntry entry);
// nullptr when the name (or class) is not registered.
const TLabelBehaviorEntry* FindLabelBehavior(const std::string& name);
const TLabelBehaviorEntry* FindLabelBehaviorByClass(const std::string& className);
// The registered names in the registry's order.
std::vector<std::string> RegisteredLabelBehaviors();
// Registers the eight standard behaviours; the first label created calls it.
void RegisterStandardLabelBehaviors();

// The behaviours other than "Typing". Their animations are not used by this program: they keep
// their options, and Start and Stop only raise the label's events.
class TJvLabelNone : public TJvLabelBehavior {
public:
    explicit TJvLabelNone(TJvBehaviorLabel* label) : TJvLabelBehavior(label, "TJvLabelNone") {}
};

class TJvLabelBlink : public TJvLabelBehavior {
public:
    explicit TJvLabelBlink(TJvBehaviorLabel* label) : TJvLabelBehavior(label, "TJvLabelBlink") {}
    uint32_t Delay() const { return delay_; }
    void SetDelay(uint32_t value) { delay_ = value; }
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }

private:
    uint32_t delay_ = 100;
    uint32_t interval_ = 400;
};

class TJvLabelBounce : public TJvLabelBehavior {
public:
    explicit TJvLabelBounce(TJvBehaviorLabel* label) : TJvLabelBehavior(label, "TJvLabelBounce") {}
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }
    int32_t Pixels() const { return pixels_; }
    void SetPixels(int32_t value) { pixels_ = value; }

private:
    uint32_t interval_ = 20;
    int32_t pixels_ = 6;
};

enum class TJvLabelScrollDirection {
    sdLeftToRight,
    sdRightToLeft
};

class TJvLabelScroll : public TJvLabelBehavior {
public:
    explicit TJvLabelScroll(TJvBehaviorLabel* label) : TJvLabelBehavior(label, "TJvLabelScroll") {}
    bool Padding() const { return padding_; }
    void SetPadding(bool value) { padding_ = value; }
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }
    TJvLabelScrollDirection Direction() const { return direction_; }
    void SetDirection(TJvLabelScrollDirection value) { direction_ = value; }

private:
    bool padding_ = false;
    uint32_t interval_ = 50;
    TJvLabelScrollDirection direction_ = TJvLabelScrollDirection::sdLeftToRight;
};

enum class TJvAppearDirection {
    drFromLeft,
    drFromRight,
    drFromTop,
    drFromBottom
};

class TJvLabelAppear : public TJvLabelBehavior {
public:
    explicit TJvLabelAppear(TJvBehaviorLabel* label) : TJvLabelBehavior(label, "TJvLabelAppear") {}
    uint32_t Delay() const { return delay_; }
    void SetDelay(uint32_t value) { delay_ = value; }
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }
    int32_t Pixels() const { return pixels_; }
    void SetPixels(int32_t value) { pixels_ = value; }
    TJvAppearDirection AppearFrom() const { return appearFrom_; }
    void SetAppearFrom(TJvAppearDirection value) { appearFrom_ = value; }

private:
    uint32_t delay_ = 100;
    uint32_t interval_ = 20;
    int32_t pixels_ = 3;
    TJvAppearDirection appearFrom_ = TJvAppearDirection::drFromLeft;
};

class TJvLabelSpecial : public TJvLabelBehavior {
public:
    explicit TJvLabelSpecial(TJvBehaviorLabel* label)
        : TJvLabelBehavior(label, "TJvLabelSpecial") {}
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }

private:
    uint32_t interval_ = 20;
};

class TJvLabelCodeBreaker : public TJvLabelBehavior {
public:
    explicit TJvLabelCodeBreaker(TJvBehaviorLabel* label)
        : TJvLabelBehavior(label, "TJvLabelCodeBreaker") {}
    const std::string& DecodedText() const { return decodedText_; }
    void SetDecodedText(const std::string& value) { decodedText_ = value; }
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value) { interval_ = value; }

private:
    std::string decodedText_;
    uint32_t interval_ = 10;
};
