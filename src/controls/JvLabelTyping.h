#pragma once

#include <cstdint>
#include <memory>

#include "controls/JvBehaviorLabel.h"
#include "platform/Platform.h"

// The program-wide random source: seed := seed * 134775813 + 1 (mod 2^32) on every draw, and
// a draw in 0..range-1 is (range * seed) div 2^32.
uint32_t RandSeed();
void SetRandSeed(uint32_t seed);
int32_t RandomInt(int32_t range);
// Re-seeds from the installed clock: the milliseconds of the current UTC time of day.
void Randomize();

// Types the label's caption out letter by letter, now and then showing a wrong letter that the
// next step corrects, and then shows the plain caption again.
class TJvLabelTyping : public TJvLabelBehavior {
public:
    explicit TJvLabelTyping(TJvBehaviorLabel* label);
    ~TJvLabelTyping() override;

    bool MakeErrors() const { return makeErrors_; }
    void SetMakeErrors(bool makeErrors);
    // Milliseconds per letter; a change restarts a running typing from the first letter.
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t interval);

protected:
    void Start() override;
    void Stop() override;

private:
    void Tick();

    bool makeErrors_ = true;
    uint32_t interval_ = 100;
    // Created by the first Start and kept, stopped, after Stop: Stop can run inside the
    // timer's own callback (the last tick), where the timer must not be destroyed.
    std::unique_ptr<TPlatformTimer> timer_;
    size_t nextPosition_ = 1;
};
