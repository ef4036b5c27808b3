#include "http/errors.h"

namespace qirelo::http {

std::string socket_error_message(int code, const std::string& text) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + text;
}

} // namespace qirelo::http
