#pragma once

#include <string>

// The About box's banner for the support forum: the JPEG bytes built into the program.
std::string AboutBannerJpeg();
