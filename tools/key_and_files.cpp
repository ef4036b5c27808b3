#include "tools/key_and_files.h"

#include <ostream>

#include "tools/command.h"

namespace qirelo::tools {
namespace {

std::nullopt_t usage_error(std::ostream& err, std::string_view command, std::string_view what) {
    err << "qirelo-tool " << command << ": " << what << " (qirelo-tool " << command << " --help)\n";
    return std::nullopt;
}

} // namespace

std::optional<KeyAndFiles> read_key_and_files(std::span<const std::string> args,
                                              std::string_view command, std::string_view key_name,
                                              std::ostream& err) {
    KeyAndFiles read;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--key") {
            if (i + 1 == args.size()) {
                return usage_error(err, command, "--key needs " + std::string(key_name));
            }
            read.key = args[++i];
        } else if (args[i].starts_with("--")) {
            return usage_error(err, command, "unknown option " + one_line(args[i]));
        } else {
            read.files.push_back(args[i]);
        }
    }
    if (read.key.empty()) {
        return usage_error(err, command, "--key " + std::string(key_name) + " is required");
    }
    if (read.files.empty()) {
        return usage_error(err, command, "no FILE given");
    }
    return read;
}

} // namespace qirelo::tools
