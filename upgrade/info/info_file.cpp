#include "upgrade/info/info_file.h"

#include <algorithm>

#include "text/ascii.h"

namespace qirelo::upgrade {

namespace {

bool IsControlCharacter(char c) {
    // GB2312 bytes are above 127 and must not end a value.
    return static_cast<unsigned char>(c) < 32;
}

std::string KeyText(std::string_view name, InfoValueForm form) {
    std::string key = "#" + std::string(name) + "=";
    if (form == InfoValueForm::MultiLine) {
        key += "{";
    }
    return key;
}

} // namespace

std::string ReadInfoValue(std::string_view file_text, std::string_view name, InfoValueForm form) {
    const std::string key = KeyText(name, form);
    // Only ASCII letters change case, so every byte keeps its place and the
    // value is cut from the text as read.
    const std::size_t key_at = text::ascii_lower(file_text).find(key);
    if (key_at == std::string::npos) {
        return {};
    }
    const std::string_view rest = file_text.substr(key_at + key.size());
    const auto end = form == InfoValueForm::MultiLine
                         ? std::find(rest.begin(), rest.end(), '}')
                         : std::find_if(rest.begin(), rest.end(), IsControlCharacter);
    return std::string(rest.begin(), end);
}

std::vector<std::string> ReadUpgradeFiles(std::string_view file_text) {
    std::vector<std::string> files;
    for (const std::string_view unnumbered : {"url", "url0"}) {
        std::string value = ReadInfoValue(file_text, unnumbered);
        if (!value.empty()) {
            files.push_back(std::move(value));
        }
    }
    for (std::size_t number = files.size() + 1;; ++number) {
        std::string value =
            ReadInfoValue(file_text, std::string(kInfoUrl) + std::to_string(number));
        if (value.empty()) {
            return files;
        }
        files.push_back(std::move(value));
    }
}

TupUpgradeMethod ReadUpgradeMethod(std::string_view file_text) {
    const std::string value = ReadInfoValue(file_text, kInfoMethod);
    if (value.starts_with('1')) {
        return TupUpgradeMethod::umUseExternalSetup;
    }
    if (value.starts_with('2')) {
        return TupUpgradeMethod::umRedirectToURL;
    }
    return TupUpgradeMethod::umSelfUpgrade;
}

} // namespace qirelo::upgrade
