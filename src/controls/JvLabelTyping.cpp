#include "controls/JvLabelTyping.h"

#include <string>

namespace {

uint32_t& Seed() {
    static uint32_t seed = 0;
    return seed;
}

}  // namespace

uint32_t RandSeed() {
    return Seed();
}

void SetRandSeed(uint32_t seed) {
    Seed() = seed;
}

int32_t RandomInt(int32_t range) {
    Seed() = Seed() * 134775813u + 1u;
    return static_cast<int32_t>((static_cast<uint64_t>(static_cast<uint32_t>(range)) * Seed()) >>
                                32);
}

void Randomize() {
    Seed() = static_cast<uint32_t>(Clock().UtcTimeOfDayMs());
}

TJvLabelTyping::TJvLabelTyping(TJvBehaviorLabel* label)
    : TJvLabelBehavior(label, "TJvLabelTyping") {}

TJvLabelTyping::~TJvLabelTyping() {
    // Stop without events while this object can still run its own Stop.
    Release();
}

void TJvLabelTyping::SetMakeErrors(bool makeErrors) {
    if (makeErrors != makeErrors_) {
        ChangeOption([&] { makeErrors_ = makeErrors; });
    }
}

void TJvLabelTyping::SetInterval(uint32_t interval) {
    if (interval != interval_) {
        ChangeOption([&] { interval_ = interval; });
    }
}

void TJvLabelTyping::Start() {
    TJvLabelBehavior::Start();
    TJvBehaviorLabel& label = OwnerLabel();
    if (label.Destroying()) {
        return;
    }
    if (!timer_) {
        timer_ = CreatePlatformTimer();
        timer_->onTimer = [this] { Tick(); };
    }
    Randomize();
    label.SetShownText("");
    label.SetUseShownText(true);
    nextPosition_ = 1;
    timer_->Start(interval_);
}

void TJvLabelTyping::Stop() {
    if (timer_) {
        timer_->Stop();
    }
    OwnerLabel().SetUseShownText(false);
    TJvLabelBehavior::Stop();
}

void TJvLabelTyping::Tick() {
    timer_->Stop();
    TJvBehaviorLabel& label = OwnerLabel();
    // The caption may have changed since the last step: continue with its letters.
    const std::string caption = label.Caption();
    if (caption.size() < nextPosition_) {
        SetActive(false);
        return;
    }
    std::string shown = caption.substr(0, nextPosition_ - 1);
    const char letter = caption[nextPosition_ - 1];
    const int32_t r = RandomInt(10);
    const bool wrongLetter = r == 7 && makeErrors_;
    if (wrongLetter) {
        // May hit the right letter by chance.
        shown += static_cast<char>(static_cast<unsigned char>(letter) - RandomInt(10));
    } else {
        shown += letter;
    }
    const uint32_t next = makeErrors_ && r != 7 ? interval_ : 2 * interval_;
    label.SetShownText(shown);
    label.Repaint();
    ++nextPosition_;
    timer_->Start(next);
}
