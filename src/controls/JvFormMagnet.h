#pragma once

#include <cstdint>
#include <optional>

#include "platform/Platform.h"

// What the magnet needs from the windowing system besides the moving notification itself.
class TJvFormMagnetHost {
public:
    virtual ~TJvFormMagnetHost() = default;
    virtual TRect WorkArea() = 0;
    // Every form of the application, visible or hidden, in the application's order.
    virtual int32_t FormCount() = 0;
    virtual TRect FormBounds(int32_t index) = 0;
    virtual void SetFormLeft(int32_t index, int32_t left) = 0;
    virtual void SetFormTop(int32_t index, int32_t top) = 0;
    virtual std::optional<TRect> MainFormBounds() = 0;  // none when there is no main form
};

// When each edge last snapped, in milliseconds of Clock().NowMs().
struct TMagnetStamps {
    static constexpr int64_t kNever = INT64_MIN / 2;  // always long past
    int64_t right = kNever;
    int64_t left = kNever;
    int64_t top = kNever;
    int64_t bottom = kNever;
};

constexpr int64_t kMagnetHoldMs = 250;

// The snap rules. `form` is the form's current rectangle, `proposed` the rectangle the platform
// is about to give it; both functions change `proposed` and the stamps of the edges they place.
void ApplyScreenMagnet(const TRect& form, TRect& proposed, const TRect& workArea, uint32_t area,
                       TMagnetStamps& stamps, int64_t nowMs);
void ApplyMainFormMagnet(const TRect& form, TRect& proposed, const TRect& mainForm, uint32_t area,
                         TMagnetStamps& stamps, int64_t nowMs);
// Moves every form that touches `form` by the distance from `form` to `proposed`.
void ApplyFormGlue(const TRect& form, const TRect& proposed, TJvFormMagnetHost& host);

// Makes its form snap to the work-area edges while dragged, drags touching forms along, and can
// make the form snap to the outside of the main form.
class TJvFormMagnet {
public:
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    bool ScreenMagnet() const { return screenMagnet_; }
    void SetScreenMagnet(bool value) { screenMagnet_ = value; }
    uint32_t Area() const { return area_; }
    void SetArea(uint32_t value) { area_ = value; }
    bool FormGlue() const { return formGlue_; }
    void SetFormGlue(bool value) { formGlue_ = value; }
    bool MainFormMagnet() const { return mainFormMagnet_; }
    void SetMainFormMagnet(bool value) { mainFormMagnet_ = value; }

    // The moving notification: `form` is where the form is now, `proposed` where the platform
    // is about to put it; the magnet may change `proposed`.
    void Moving(const TRect& form, TRect& proposed, TJvFormMagnetHost& host);

    const TMagnetStamps& Stamps() const { return stamps_; }

private:
    bool active_ = false;
    bool screenMagnet_ = true;
    uint32_t area_ = 15;
    bool formGlue_ = true;
    bool mainFormMagnet_ = false;
    TMagnetStamps stamps_;
};
