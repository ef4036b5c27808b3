#pragma once

// The private-profile rules over the text of one INI file, for the platforms
// that have no such functions of their own (the native build and the fakes).
// They follow the Windows functions: values are trimmed of blanks and of one
// pair of enclosing quotes when read; the first matching section and key win;
// a new key goes after the last line of its section, a new section at the
// end; lines end in CRLF.

#include <cstddef>
#include <optional>
#include <string>

namespace qirelo::platform {

std::optional<std::string> ini_read(const std::string& text, const std::string& section,
                                    const std::string& key);
std::string ini_write(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& value);

// What GetPrivateProfileStringA hands back: the value or the default (whose
// trailing blanks go), cut to buffer_size - 1 bytes.
std::string ini_result(const std::optional<std::string>& value, const std::string& default_value,
                       std::size_t buffer_size);

} // namespace qirelo::platform
