#include "http/errors.h"

namespace qirelo::http {

std::string socket_error_message(int code, const std::string& text) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + text;
}

EHttpResponseTooLarge::EHttpResponseTooLarge(std::uint64_t limit)
    : EHttpError("Response too large: the body exceeds the limit of " + std::to_string(limit) +
                 " bytes") {}

} // namespace qirelo::http
