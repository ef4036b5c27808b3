#include "platform/fake/shell.h"

#include "text/ascii.h"

namespace qirelo::platform::fake {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string FakeShell::html_open_command() {
    log_.record("html open command -> " + Quoted(html_command), true);
    return html_command;
}

bool FakeShell::program_file_exists(const std::string& program) {
    const bool exists = existing_programs.contains(program);
    log_.record("program file exists " + Quoted(program) + (exists ? " -> yes" : " -> no"), true);
    return exists;
}

void FakeShell::shell_execute(const std::string& file, const std::string& parameters) {
    log_.record("ShellExecuteA open " + Quoted(file) + " " + Quoted(parameters));
}

FakeRegistryKeys::Key& FakeRegistryKeys::key_at(const std::string& path) {
    const std::size_t separator = path.rfind('\\');
    if (!keys_.contains(text::ascii_lower(path)) && separator != std::string::npos) {
        key_at(path.substr(0, separator)).subkeys.push_back(path.substr(separator + 1));
    }
    return keys_[text::ascii_lower(path)];
}

void FakeRegistryKeys::add(const std::string& path, std::optional<std::string> value) {
    key_at(path).value = std::move(value);
}

bool FakeRegistryKeys::key_exists(const std::string& path) {
    return keys_.contains(text::ascii_lower(path));
}

std::optional<std::string> FakeRegistryKeys::default_value(const std::string& path) {
    const auto key = keys_.find(text::ascii_lower(path));
    return key == keys_.end() ? std::nullopt : key->second.value;
}

std::vector<std::string> FakeRegistryKeys::subkey_names(const std::string& path) {
    const auto key = keys_.find(text::ascii_lower(path));
    return key == keys_.end() ? std::vector<std::string>() : key->second.subkeys;
}

bool FakeOnlineCheck::is_online() {
    log_.record(std::string("IsOnline -> ") + (online ? "yes" : "no"), true);
    return online;
}

} // namespace qirelo::platform::fake
