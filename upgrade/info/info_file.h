#pragma once

// Reading the update server's info file: a plain 8-bit text of keyed values
// ("#version=2013.8.9.0", "#method=2", "#message={...}", "#url0=http://...")
// with no sections and no fixed order. Keys match in any letter case; values
// are taken as they stand in the file.

#include <string>
#include <string_view>
#include <vector>

#include "upgrade/info/upgrade_method.h"

namespace qirelo::upgrade {

// The key names the component reads; ReadInfoValue adds "#" and "=".
inline constexpr std::string_view kInfoVersion = "version";
inline constexpr std::string_view kInfoDate = "date";
inline constexpr std::string_view kInfoMethod = "method";
inline constexpr std::string_view kInfoMessage = "message";
inline constexpr std::string_view kInfoUrl = "url";

enum class InfoValueForm {
    OneLine,  // "#name=value", ended by any character below 32 (CR, LF, tab, ...)
    MultiLine // "#name={value}", ended by the first "}", line breaks kept
};

// The value after the first occurrence of "#" + name + "=" (and "{" for the
// multi-line form), the key matched in any letter case. A value without its
// terminator runs to the end of the file; nothing is trimmed; a key that does
// not occur gives an empty value. `name` is lower case.
std::string ReadInfoValue(std::string_view file_text, std::string_view name,
                          InfoValueForm form = InfoValueForm::OneLine);

// The files of the new version: "#url=", then "#url0=", each when not empty,
// then "#url<n>=" from n = (entries so far + 1) upwards until a value is
// empty. So "#url0=" and "#url1=" alone give only the "#url0=" entry.
std::vector<std::string> ReadUpgradeFiles(std::string_view file_text);

// "#method=": a first character "1" is umUseExternalSetup, "2"
// umRedirectToURL, anything else (or no value) umSelfUpgrade.
TupUpgradeMethod ReadUpgradeMethod(std::string_view file_text);

} // namespace qirelo::upgrade
