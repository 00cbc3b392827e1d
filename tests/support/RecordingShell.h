#pragma once

#include <vector>

#include "platform/Platform.h"

// Records every shell open instead of launching anything; installed for its lifetime.
class RecordingShell {
public:
    RecordingShell() {
        previous_ = SetShellOpenFunction(
            [this](const TShellOpenRequest& request) { requests_.push_back(request); });
    }
    ~RecordingShell() { SetShellOpenFunction(std::move(previous_)); }
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    const std::vector<TShellOpenRequest>& Requests() const { return requests_; }

private:
    std::vector<TShellOpenRequest> requests_;
    TShellOpenFunction previous_;
};
