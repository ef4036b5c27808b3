#pragma once

#include "upgrade/transfer_settings.h"

#include <cstdint>
#include <string_view>

namespace qirelo::upgrade {

// The flags of HttpOpenRequestA for a URL of `scheme` under the two option sets.
std::uint32_t RequestFlags(std::string_view scheme, TCacheOptions cache, TInternetOptions options);

} // namespace qirelo::upgrade
