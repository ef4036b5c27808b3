#pragma once

// HTML written from 8-bit text (GB2312 or UTF-8): the client's login page and
// the companion's pages both put untrusted text into markup.

#include <string>
#include <string_view>

namespace qirelo::text {

// Text safe between tags and inside a quoted attribute value: & < > " ' become
// character references, every other byte is kept. Byte-wise is enough for both
// code pages: GB2312 trail bytes and UTF-8 continuation bytes are all 0x80 and
// above, so no half of a character is ever touched.
std::string html_escape(std::string_view text);

} // namespace qirelo::text
