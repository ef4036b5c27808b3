#pragma once

// The transfer engine's settings that are objects of their own (proxy, range,
// time-outs, output-file attributes) and its option sets. Assigning one of
// the objects from nothing resets it to its defaults; from another object of
// its class copies every field.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace qirelo::upgrade {

// A set of the values of enumeration E (at most 32 of them).
template <typename E> class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E value : values) {
            bits_ |= Bit(value);
        }
    }
    constexpr bool Contains(E value) const { return (bits_ & Bit(value)) != 0; }
    constexpr TEnumSet& Include(E value) {
        bits_ |= Bit(value);
        return *this;
    }
    constexpr TEnumSet& Exclude(E value) {
        bits_ &= ~Bit(value);
        return *this;
    }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr std::uint32_t Bit(E value) { return 1u << static_cast<unsigned>(value); }
    std::uint32_t bits_ = 0;
};

enum class TCacheOption {
    coAlwaysReload,
    coReloadIfNoExpireInformation,
    coReloadUpdatedObjects,
    coPragmaNoCache,
    coNoCacheWrite,
    coCreateTempFilesIfCantCache,
    coUseCacheIfNetFail,
};
using TCacheOptions = TEnumSet<TCacheOption>;

inline constexpr TCacheOptions kDefaultCacheOptions{TCacheOption::coReloadIfNoExpireInformation,
                                                    TCacheOption::coReloadUpdatedObjects,
                                                    TCacheOption::coCreateTempFilesIfCantCache};

enum class TInternetOption {
    ioIgnoreCertificateInvalid,
    ioIgnoreCertificateDateInvalid,
    ioIgnoreRedirectToHTTP,
    ioIgnoreRedirectToHTTPS,
    ioKeepConnection,
    ioNoAuthentication,
    ioNoAutoRedirect,
    ioNoCookies,
};
using TInternetOptions = TEnumSet<TInternetOption>;

// 0 automatic (POST when there is form data, else GET), 1 GET, 2 POST.
enum class TRequestMethod { rmAutomatic, rmGet, rmPost };

enum class TProxyAccessType { atPreconfig, atDirect, atUseProxy };

class TupProxy {
public:
    void Assign(const TupProxy* from) { *this = from ? *from : TupProxy{}; }

    TProxyAccessType AccessType = TProxyAccessType::atPreconfig;
    int ProxyPort = 8080;
    std::string ProxyUsername;
    std::string ProxyPassword;

    // Stored only while AccessType is atUseProxy.
    const std::string& ProxyServer() const { return server_; }
    const std::string& ProxyBypass() const { return bypass_; }
    void SetProxyServer(const std::string& server);
    void SetProxyBypass(const std::string& bypass);

private:
    std::string server_;
    std::string bypass_ = "127.0.0.1;";
};

class TupRange {
public:
    void Assign(const TupRange* from) { *this = from ? *from : TupRange{}; }

    std::uint32_t StartRange = 0;
    std::uint32_t EndRange = 0;
};

// Milliseconds; 0 leaves the library's own value.
class TupTimeouts {
public:
    void Assign(const TupTimeouts* from) { *this = from ? *from : TupTimeouts{}; }

    std::uint32_t ConnectTimeout = 0;
    std::uint32_t ReceiveTimeout = 0;
    std::uint32_t SendTimeout = 0;
};

enum class TFileAttribute {
    atrArchive,
    atrHidden,
    atrReadOnly,
    atrSystem,
    atrTemporary,
    atrOffline
};
using TFileAttributes = TEnumSet<TFileAttribute>;

// SetFileAttributesA's value of a set.
std::uint32_t FileAttributeBits(TFileAttributes attributes);

class TupOutputFileAttributes {
public:
    void Assign(const TupOutputFileAttributes* from) {
        *this = from ? *from : TupOutputFileAttributes{};
    }

    TFileAttributes Complete{TFileAttribute::atrArchive};
    TFileAttributes Incomplete{TFileAttribute::atrArchive, TFileAttribute::atrTemporary};
};

} // namespace qirelo::upgrade
