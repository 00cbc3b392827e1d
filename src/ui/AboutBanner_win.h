#pragma once

#include <string>

// The About box's banner for the support forum: the JPEG bytes stored in the executable as a
// resource (RCDATA IDR_BANNER). Empty when the running module has no such resource, which the
// About box shows as the panel without a picture.
std::string AboutBannerJpeg();
