#include "platform/shell/html_opener.h"

#include <algorithm>

#include "text/ascii.h"

namespace qirelo::platform::shell {

namespace {

std::string VerbCommand(RegistryKeys& registry, const std::string& shell_key,
                        const std::string& verb) {
    return registry.default_value(shell_key + "\\" + verb + "\\command").value_or("");
}

// Without an "open" verb key of its own, the class's verbs are looked at in
// the order the registry lists them.
std::string CommandOfListedVerbs(RegistryKeys& registry, const std::string& shell_key) {
    const std::vector<std::string> verbs = registry.subkey_names(shell_key);
    const auto open_verb = std::find_if(verbs.begin(), verbs.end(), [](const std::string& verb) {
        return text::ascii_lower(verb).find("open") != std::string::npos;
    });
    if (open_verb != verbs.end()) {
        return VerbCommand(registry, shell_key, *open_verb);
    }
    for (const std::string& verb : verbs) {
        std::string command = VerbCommand(registry, shell_key, verb);
        if (!command.empty()) {
            return command;
        }
    }
    return {};
}

} // namespace

std::string FindHtmlOpener(RegistryKeys& classes_root) {
    const std::string html_class = classes_root.default_value(".html").value_or("");
    if (html_class.empty() || !classes_root.key_exists(html_class)) {
        return {};
    }
    const std::string shell_key = html_class + "\\shell";
    const std::string open_command_key = shell_key + "\\open\\command";
    if (classes_root.key_exists(open_command_key)) {
        return classes_root.default_value(open_command_key).value_or("");
    }
    return CommandOfListedVerbs(classes_root, shell_key);
}

} // namespace qirelo::platform::shell
