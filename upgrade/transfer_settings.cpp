#include "upgrade/transfer_settings.h"

#include "platform/inet/local_system.h"

#include <array>
#include <utility>

namespace qirelo::upgrade {

void TupProxy::SetProxyServer(const std::string& server) {
    if (AccessType == TProxyAccessType::atUseProxy) {
        server_ = server;
    }
}

void TupProxy::SetProxyBypass(const std::string& bypass) {
    if (AccessType == TProxyAccessType::atUseProxy) {
        bypass_ = bypass;
    }
}

std::uint32_t FileAttributeBits(TFileAttributes attributes) {
    namespace a = platform::inet::attributes;
    constexpr std::array<std::pair<TFileAttribute, std::uint32_t>, 6> kBits{{
        {TFileAttribute::atrArchive, a::kArchive},
        {TFileAttribute::atrHidden, a::kHidden},
        {TFileAttribute::atrReadOnly, a::kReadOnly},
        {TFileAttribute::atrSystem, a::kSystem},
        {TFileAttribute::atrTemporary, a::kTemporary},
        {TFileAttribute::atrOffline, a::kOffline},
    }};
    std::uint32_t bits = 0;
    for (const auto& [attribute, bit] : kBits) {
        if (attributes.Contains(attribute)) {
            bits |= bit;
        }
    }
    return bits;
}

} // namespace qirelo::upgrade
