#pragma once

// The small text encodings of the web: form fields, cookies, HTML and JSON
// escaping, and the percent-encoding the site uses for cookie values.

#include "devsite/http/http_request.h"
#include "text/html.h"
#include "text/utf.h"

#include <map>
#include <string>
#include <string_view>

namespace qirelo::devsite {

// "a=1&b=x+y" into fields; a repeated name keeps its first value. Raises
// HttpRequestError(400) on a broken escape.
std::map<std::string, std::string> parse_form(std::string_view text);

// The fields of a request: its query, and for a form post also its body.
std::map<std::string, std::string> request_fields(const Request& request);

// The cookies a request carries, by name (names and values as sent).
std::map<std::string, std::string> request_cookies(const Request& request);

// Every byte but letters and digits as %XX, as the site's ASP pages write
// cookie names and values ("user_id" becomes "user%5Fid").
std::string percent_encode(std::string_view text);

using text::html_escape;
using text::is_utf8;
using text::utf8_sequence_length;
std::string json_string(std::string_view text); // quoted, escaped JSON string

} // namespace qirelo::devsite
