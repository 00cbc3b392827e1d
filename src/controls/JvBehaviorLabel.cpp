#include "controls/JvBehaviorLabel.h"

#include "base/Exception.h"
#include "controls/JvBehaviorLabelRegistry.h"

TJvLabelBehavior::TJvLabelBehavior(TJvBehaviorLabel* label, const char* className)
    : label_(label), className_(className) {
    if (label == nullptr) {
        throw Exception("Cannot call " + className_ + ".Create with ALabel = nil");
    }
}

void TJvLabelBehavior::SetActive(bool active) {
    if (active == active_) {
        return;
    }
    if (active_) {
        Stop();
    }
    active_ = active;
    if (active) {
        Start();
    }
}

void TJvLabelBehavior::Release() {
    paused_ = true;
    SetActive(false);
}

void TJvLabelBehavior::Start() {
    if (!paused_) {
        label_->DoStart();
    }
}

void TJvLabelBehavior::Stop() {
    if (!paused_) {
        label_->DoStop();
    }
}

void TJvLabelBehavior::ChangeOption(const std::function<void()>& change) {
    const bool wasActive = active_;
    paused_ = true;
    SetActive(false);
    change();
    SetActive(wasActive);
    paused_ = false;
}

TJvBehaviorLabel::TJvBehaviorLabel() {
    RegisterStandardLabelBehaviors();
}

TJvBehaviorLabel::~TJvBehaviorLabel() {
    destroying_ = true;
    if (options_) {
        options_->Release();
        options_.reset();
    }
}

void TJvBehaviorLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    Repaint();
}

void TJvBehaviorLabel::SetBehavior(const std::string& name) {
    if (name == behavior_ || FindLabelBehavior(name) == nullptr) {
        return;
    }
    behavior_ = name;
    if (options_) {
        options_->Release();
        options_.reset();
    }
}

TJvLabelBehavior& TJvBehaviorLabel::BehaviorOptions() {
    if (!options_) {
        const TLabelBehaviorEntry* entry = FindLabelBehavior(behavior_);
        options_ =
            entry != nullptr ? entry->create(this) : std::make_unique<TJvLabelBehavior>(this);
    }
    return *options_;
}

void TJvBehaviorLabel::SetBehaviorOptions(const TJvLabelBehavior* options) {
    if (options == nullptr) {
        SetBehavior("");  // the empty name is not registered: nothing changes
        return;
    }
    if (!options_ || options_->ClassName() != options->ClassName()) {
        const TLabelBehaviorEntry* entry = FindLabelBehaviorByClass(options->ClassName());
        SetBehavior(entry != nullptr ? entry->name : "");
    }
}

void TJvBehaviorLabel::SetUseShownText(bool use) {
    if (use == useShownText_) {
        return;
    }
    useShownText_ = use;
    if (!destroying_) {
        Repaint();
    }
}

void TJvBehaviorLabel::Repaint() {
    if (onRepaint_) {
        onRepaint_(*this);
    }
}

void TJvBehaviorLabel::Resized() {
    if (options_) {
        options_->OwnerResized();
    }
}

void TJvBehaviorLabel::DoStart() {
    if (onStart_) {
        onStart_(*this);
    }
}

void TJvBehaviorLabel::DoStop() {
    if (onStop_) {
        onStop_(*this);
    }
}
