#include "platform/crypto/pem.h"

#include <string>

#include "platform/crypto/der.h"

namespace qirelo::platform::crypto {
namespace {

int base64_value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<std::uint8_t> base64_decode(std::string_view text) {
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int bit_count = 0;
    int padding = 0;
    int symbols = 0;
    for (const char c : text) {
        if (is_blank(c)) {
            continue;
        }
        if (c == '=') {
            ++padding;
            ++symbols;
            continue;
        }
        const int value = base64_value(c);
        if (value < 0 || padding > 0) {
            throw DerError("bad base64 in PEM");
        }
        ++symbols;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        bit_count += 6;
        if (bit_count >= 8) {
            bit_count -= 8;
            out.push_back(static_cast<std::uint8_t>(bits >> bit_count));
        }
    }
    // Whole groups of four; the bits the padding leaves over must be zero.
    if (symbols % 4 != 0 || padding > 2 || (bits & ((1u << bit_count) - 1)) != 0) {
        throw DerError("bad base64 padding in PEM");
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> der_from_pem(std::string_view pem, std::string_view label) {
    const std::string begin = "-----BEGIN " + std::string(label) + "-----";
    const std::string end = "-----END " + std::string(label) + "-----";
    const auto start = pem.find(begin);
    if (start == std::string_view::npos) {
        throw DerError("no \"" + begin + "\" line");
    }
    const auto body = start + begin.size();
    const auto stop = pem.find(end, body);
    if (stop == std::string_view::npos) {
        throw DerError("no \"" + end + "\" line");
    }
    return base64_decode(pem.substr(body, stop - body));
}

} // namespace qirelo::platform::crypto
