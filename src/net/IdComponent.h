#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Base of the transport components. Each live component is a user of the process-wide socket
// stack: the first one created makes the stack, the last one destroyed frees it.
class TIdComponent {
public:
    // Status notification (status number and text); nothing in the program raises it.
    using TIdStatusEvent =
        std::function<void(TIdComponent& sender, int32_t status, const std::string& text)>;

    // Raises when the stack cannot be created; the user count is then unchanged.
    TIdComponent();
    virtual ~TIdComponent();
    TIdComponent(const TIdComponent&) = delete;
    TIdComponent& operator=(const TIdComponent&) = delete;

    void SetOnStatus(TIdStatusEvent handler) { onStatus_ = std::move(handler); }

protected:
    // Work-progress notifications for long transfers; datagrams never report progress.
    virtual void BeginWork(int32_t /*maximum*/) {}
    virtual void DoWork(int32_t /*count*/) {}
    virtual void EndWork() {}

private:
    TIdStatusEvent onStatus_;
};
