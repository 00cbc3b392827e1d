// The integer conversion: the throwing and the non-throwing form agree, and an accepted text
// converts back to itself when written in the plain decimal form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Exception.h"
#include "base/IntConv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int32_t value = 0;
    const bool accepted = TryStrToInt(text, value);
    try {
        if (StrToInt(text) != value || !accepted) {
            std::abort();
        }
    } catch (const EConvertError& e) {
        if (accepted || e.Message() != ConvertErrorMessage(text)) {
            std::abort();
        }
    }
    if (accepted && TryStrToInt(std::to_string(value), value) == false) {
        std::abort();
    }
    int64_t wide = 0;
    TryStrToInt64(text, wide);
    return 0;
}
