// The stack's address parser: any text, every output requested; a dotted address that parses
// must also be recognised by the form queries.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/IdStack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint8_t bytes[4] = {};
    TIdAddressForm form = TIdAddressForm::Invalid;
    TIdAddressClass addressClass = TIdAddressClass::Unclassified;
    const bool parsed = TIdStack::ParseAddressText(text, &bytes[0], &bytes[1], &bytes[2], &bytes[3],
                                                   &form, &addressClass);
    if (parsed != TIdStack::IsAddressText(text)) {
        std::abort();
    }
    if (parsed && !TIdStack::IsAddressForm(text, form)) {
        std::abort();
    }
    TIdStack::ParseAddressText(text);
    return 0;
}
