#pragma once

// Splitting the engine's URL into what the connection and the request need.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qirelo::upgrade {

struct TransferUrl {
    std::string scheme; // lower case
    std::string host;
    std::uint16_t port = 0;
    std::string user;
    std::string password;
    std::string path;  // from the first "/" on ("/" when none)
    std::string extra; // from the first "?" or "#" on, as given
};

// Puts "http://" in front when the URL has no "://". nullopt when the URL
// cannot be split (no host for http(s), a port that is not one).
std::optional<TransferUrl> SplitTransferUrl(std::string_view url);

// The extra information as it goes on the request line: every byte below 32
// or from 128 up, and each of blank, "#", "%", "*", "+", "<" and ">", becomes
// "%" and two upper-case hexadecimal digits.
std::string EncodeExtraInfo(std::string_view extra);

// The local path a "file" URL names: the part after "file://", with %XX
// decoded and the "/" before a drive letter dropped.
std::string LocalFilePath(std::string_view url);

} // namespace qirelo::upgrade
