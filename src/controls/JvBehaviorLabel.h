#pragma once

#include <functional>
#include <memory>
#include <string>

class TJvBehaviorLabel;

// Base of the label behaviours. Start and Stop only raise the label's OnStart and OnStop;
// derived behaviours animate what the label paints (never its caption).
class TJvLabelBehavior {
public:
    // Throws Exception "Cannot call <className>.Create with ALabel = nil" without a label.
    explicit TJvLabelBehavior(TJvBehaviorLabel* label, const char* className = "TJvLabelBehavior");
    virtual ~TJvLabelBehavior() = default;
    TJvLabelBehavior(const TJvLabelBehavior&) = delete;
    TJvLabelBehavior& operator=(const TJvLabelBehavior&) = delete;

    const std::string& ClassName() const { return className_; }
    TJvBehaviorLabel& OwnerLabel() const { return *label_; }

    bool Active() const { return active_; }
    // Activating an active behaviour does not restart it; a change stops before it starts.
    void SetActive(bool active);

    virtual void OwnerResized() {}

    // Stops without raising OnStop; the label calls it before it destroys the behaviour.
    void Release();

protected:
    virtual void Start();
    virtual void Stop();
    // Changes an option around a quiet stop and restart: a running behaviour starts again from
    // the beginning, and neither OnStart nor OnStop is raised.
    void ChangeOption(const std::function<void()>& change);

private:
    TJvBehaviorLabel* label_;
    std::string className_;
    bool active_ = false;
    bool paused_ = false;
};

// A label that can run one behaviour chosen by its registered name ("Typing", ...). Painting is
// left to the platform part, which asks DisplayText() whenever the repaint hook is called.
class TJvBehaviorLabel {
public:
    using NotifyEvent = std::function<void(TJvBehaviorLabel& sender)>;

    TJvBehaviorLabel();
    ~TJvBehaviorLabel();
    TJvBehaviorLabel(const TJvBehaviorLabel&) = delete;
    TJvBehaviorLabel& operator=(const TJvBehaviorLabel&) = delete;

    // The label's text; a running behaviour never changes it.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // Registered name of the behaviour; default "(none)". Unknown names are ignored.
    const std::string& Behavior() const { return behavior_; }
    void SetBehavior(const std::string& name);

    // The behaviour object, created on first use for the class registered under Behavior().
    TJvLabelBehavior& BehaviorOptions();
    // Selects the behaviour registered for the class of `options` when the label has none yet
    // or one of another class; nullptr names no behaviour and is ignored.
    void SetBehaviorOptions(const TJvLabelBehavior* options);

    bool UseShownText() const { return useShownText_; }
    void SetUseShownText(bool use);
    const std::string& ShownText() const { return shownText_; }
    void SetShownText(const std::string& text) { shownText_ = text; }
    // What the label paints: ShownText while UseShownText is set, else Caption.
    const std::string& DisplayText() const { return useShownText_ ? shownText_ : caption_; }

    void SetOnStart(NotifyEvent handler) { onStart_ = std::move(handler); }
    void SetOnStop(NotifyEvent handler) { onStop_ = std::move(handler); }
    // The platform part's immediate repaint.
    void SetOnRepaint(NotifyEvent handler) { onRepaint_ = std::move(handler); }

    void Repaint();
    // The platform part reports a size change; the behaviour may adapt.
    void Resized();
    bool Destroying() const { return destroying_; }

private:
    friend class TJvLabelBehavior;
    void DoStart();
    void DoStop();

    std::string caption_;
    std::string behavior_ = "(none)";
    std::unique_ptr<TJvLabelBehavior> options_;
    bool useShownText_ = false;
    std::string shownText_;
    bool destroying_ = false;
    NotifyEvent onStart_;
    NotifyEvent onStop_;
    NotifyEvent onRepaint_;
};
