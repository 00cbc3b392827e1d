#include "support/RecordingStack.h"

#include <cstring>

#include "net/IdException.h"

TRecordingStack::TRecordingStack(std::shared_ptr<RecordingState> state) : state_(std::move(state)) {
    if (state_->failStackCreation) {
        throw EIdStackInitializationFailed("Winsock Initialization Error.");
    }
    ++state_->stacksCreated;
}

TRecordingStack::~TRecordingStack() {
    ++state_->stacksDestroyed;
}

int32_t TRecordingStack::Fail(int32_t code) {
    lastError_ = code;
    return -1;
}

int32_t TRecordingStack::SysBind(TIdStackSocketHandle, const std::string& ip, int32_t) {
    if (!ip.empty()) {
        TextToAddress(ip);
    }
    return 0;
}

int32_t TRecordingStack::SysCloseSocket(TIdStackSocketHandle socket) {
    state_->closed.push_back(socket);
    return 0;
}

std::string TRecordingStack::SysGetHostByName(const std::string& name) {
    state_->lookups.push_back(name);
    const auto found = state_->hosts.find(name);
    if (found == state_->hosts.end()) {
        CheckResult(Fail(state_->failLookupsWith));
        return {};
    }
    return found->second;
}

uint16_t TRecordingStack::SysHtons(uint16_t hostShort) {
    return static_cast<uint16_t>((hostShort >> 8) | (hostShort << 8));
}

int32_t TRecordingStack::SysRecvFrom(TIdStackSocketHandle, void*, int32_t, int32_t, std::string&,
                                     int32_t&) {
    return Fail(10035);  // nothing ever arrives
}

int32_t TRecordingStack::SysSelect(std::vector<TIdStackSocketHandle>* read,
                                   std::vector<TIdStackSocketHandle>* write,
                                   std::vector<TIdStackSocketHandle>* except, int32_t) {
    CheckSetSize(read);
    CheckSetSize(write);
    CheckSetSize(except);
    for (auto* list : {read, write, except}) {
        if (list != nullptr) {
            list->clear();
        }
    }
    return 0;
}

int32_t TRecordingStack::SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                                   int32_t, const std::string& ip, int32_t port) {
    const TIdIPv4Address address = TextToAddress(ip);
    if (state_->failSendsWith != 0) {
        return Fail(state_->failSendsWith);
    }
    const auto failing = state_->failSendsTo.find(AddressToText(address));
    if (failing != state_->failSendsTo.end()) {
        return Fail(failing->second);
    }
    if (length < 0) {
        return Fail(10022);
    }
    state_->sent.push_back(RecordedDatagram{
        AddressToText(address), static_cast<uint16_t>(port),
        std::string(static_cast<const char*>(buffer), static_cast<size_t>(length))});
    state_->sendSockets.push_back(socket);
    return length - state_->shortenSendsBy;
}

int32_t TRecordingStack::SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                                       const void* value, int32_t length) {
    int32_t number = 0;
    if (value != nullptr && length >= static_cast<int32_t>(sizeof(number))) {
        std::memcpy(&number, value, sizeof(number));
    }
    state_->options.push_back(RecordedOption{socket, level, name, number});
    if (state_->failOptionsWith != 0) {
        return Fail(state_->failOptionsWith);
    }
    return 0;
}

TIdStackSocketHandle TRecordingStack::SysSocket(int32_t, int32_t, int32_t) {
    if (state_->failSocketCreation) {
        return Fail(kIdErrorTooManyOpenFiles);
    }
    const TIdStackSocketHandle socket = state_->nextSocket++;
    state_->socketsCreated.push_back(socket);
    return socket;
}

int32_t TRecordingStack::SysShutdown(TIdStackSocketHandle socket, int32_t) {
    state_->shutdowns.push_back(socket);
    return 0;
}

void TRecordingStack::SysGetSockName(TIdStackSocketHandle, int32_t& family, std::string& ip,
                                     int32_t& port) {
    family = kIdAfInet;
    ip = "0.0.0.0";
    port = 0;
}

ScopedRecordingStack::ScopedRecordingStack()
    : state_(std::make_shared<RecordingState>()),
      previous_(DefaultStackClass()),
      options(state_->options),
      lookups(state_->lookups),
      socketsCreated(state_->socketsCreated),
      sendSockets(state_->sendSockets),
      shutdowns(state_->shutdowns),
      closed(state_->closed),
      stacksCreated(state_->stacksCreated),
      stacksDestroyed(state_->stacksDestroyed) {
    std::shared_ptr<RecordingState> state = state_;
    SetDefaultStackClass([state]() -> std::unique_ptr<TIdStack> {
        return std::make_unique<TRecordingStack>(state);
    });
}

ScopedRecordingStack::~ScopedRecordingStack() {
    SetDefaultStackClass(previous_);
}

void ScopedRecordingStack::ClearRecords() {
    state_->sent.clear();
    state_->sendSockets.clear();
    state_->options.clear();
    state_->lookups.clear();
    state_->socketsCreated.clear();
    state_->shutdowns.clear();
    state_->closed.clear();
}
