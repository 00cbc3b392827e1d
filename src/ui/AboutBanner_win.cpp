#include "ui/AboutBanner_win.h"

#include "base/WinApi.h"
#include "ui/Resources.h"

std::string AboutBannerJpeg() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_BANNER), MAKEINTRESOURCEA(10));
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    // Resources live as long as the module: nothing to free.
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}
