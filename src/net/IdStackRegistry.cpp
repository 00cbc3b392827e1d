// The process-wide stack: the class it is made of, the one instance, and the count of transport
// components that keep it alive, all under one lock.
#include <memory>
#include <mutex>

#include "net/IdStack.h"

namespace {

struct StackState {
    std::mutex lock;
    TIdStackClass stackClass;
    std::unique_ptr<TIdStack> stack;
    int32_t users = 0;
};

StackState& State() {
    static StackState state;
    return state;
}

// A stack of the given class; an empty class means the platform's own stack.
std::unique_ptr<TIdStack> CreateStackOfClass(const TIdStackClass& stackClass) {
    return stackClass ? stackClass() : CreatePlatformStack();
}

}  // namespace

void SetDefaultStackClass(TIdStackClass stackClass) {
    std::lock_guard<std::mutex> guard(State().lock);
    State().stackClass = std::move(stackClass);
}

TIdStackClass DefaultStackClass() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().stackClass;
}

std::unique_ptr<TIdStack> CreateDefaultStack() {
    return CreateStackOfClass(DefaultStackClass());
}

TIdStack* GlobalStack() {
    return State().stack.get();
}

int32_t StackUsers() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().users;
}

std::mutex& StackLock() {
    return State().lock;
}

void RegisterStackUser() {
    StackState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.users == 0) {
        // Created before the count changes, so a failure leaves the count as it was. The class
        // is read under the lock already held, hence not through CreateDefaultStack.
        state.stack = CreateStackOfClass(state.stackClass);
    }
    ++state.users;
}

void UnregisterStackUser() {
    StackState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    --state.users;
    if (state.users == 0) {
        state.stack.reset();
    }
}
