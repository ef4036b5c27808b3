#pragma once

// UTF-8 and UTF-16, without the operating system. One decoder, the strict
// one: overlong forms, surrogates and code points past U+10FFFF are not
// characters, whichever way the text came in.

#include <cstddef>
#include <string>
#include <string_view>

namespace qirelo::text {

// Length of the well-formed UTF-8 character at `at`, 0 when there is none.
std::size_t utf8_sequence_length(std::string_view text, std::size_t at);
bool is_utf8(std::string_view text);

// A byte that does not start a well-formed character becomes '?', and the
// decoding goes on at the next byte.
std::u16string utf16_from_utf8(std::string_view utf8);
// An unpaired surrogate becomes '?'.
std::string utf8_from_utf16(std::u16string_view utf16);

} // namespace qirelo::text
