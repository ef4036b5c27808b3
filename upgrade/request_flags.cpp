#include "upgrade/request_flags.h"

#include "platform/inet/internet.h"

#include <array>
#include <utility>

namespace qirelo::upgrade {

std::uint32_t RequestFlags(std::string_view scheme, TCacheOptions cache, TInternetOptions options) {
    namespace f = platform::inet::flags;
    constexpr std::array<std::pair<TCacheOption, std::uint32_t>, 6> kCacheFlags{{
        {TCacheOption::coAlwaysReload, f::kReload},
        {TCacheOption::coReloadIfNoExpireInformation, f::kHyperlink},
        {TCacheOption::coReloadUpdatedObjects, f::kResynchronize},
        {TCacheOption::coPragmaNoCache, f::kPragmaNoCache},
        {TCacheOption::coNoCacheWrite, f::kNoCacheWrite},
        {TCacheOption::coUseCacheIfNetFail, f::kCacheIfNetFail},
    }};
    constexpr std::array<std::pair<TInternetOption, std::uint32_t>, 8> kOptionFlags{{
        {TInternetOption::ioIgnoreCertificateInvalid, f::kIgnoreCertCnInvalid},
        {TInternetOption::ioIgnoreCertificateDateInvalid, f::kIgnoreCertDateInvalid},
        {TInternetOption::ioIgnoreRedirectToHTTP, f::kIgnoreRedirectToHttp},
        {TInternetOption::ioIgnoreRedirectToHTTPS, f::kIgnoreRedirectToHttps},
        {TInternetOption::ioKeepConnection, f::kKeepConnection},
        {TInternetOption::ioNoAuthentication, f::kNoAuth},
        {TInternetOption::ioNoAutoRedirect, f::kNoAutoRedirect},
        {TInternetOption::ioNoCookies, f::kNoCookies},
    }};

    std::uint32_t flags = 0;
    if (scheme == "https") {
        flags |= f::kSecure;
    } else if (cache.Contains(TCacheOption::coCreateTempFilesIfCantCache)) {
        flags |= f::kNeedFile;
    }
    for (const auto& [option, flag] : kCacheFlags) {
        if (cache.Contains(option)) {
            flags |= flag;
        }
    }
    for (const auto& [option, flag] : kOptionFlags) {
        if (options.Contains(option)) {
            flags |= flag;
        }
    }
    return flags;
}

} // namespace qirelo::upgrade
