#include "net/IdComponent.h"

#include "net/IdStack.h"

TIdComponent::TIdComponent() {
    RegisterStackUser();
}

TIdComponent::~TIdComponent() {
    UnregisterStackUser();
}
