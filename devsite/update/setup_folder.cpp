#include "devsite/update/setup_folder.h"

#include "devsite/site/site.h"
#include "devsite/update/delivered_answer.h"

#include <algorithm>

namespace qirelo::devsite {
namespace {

std::string base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

bool authorized(const Request& request, const PathRule& rule) {
    auto given = request.header("Authorization");
    if (!given || given->size() < 6 || !iequals(given->substr(0, 6), "Basic "))
        return false;
    return given->substr(6) == base64(*rule.user + ":" + rule.password.value_or(""));
}

// The bytes of a generated file (byte i is i mod 251), copied from a few
// periods held once, so a large file goes out as fast as an uploaded one.
void append_generated(std::uint64_t from, std::size_t count, std::string& out) {
    static const std::string periods = [] {
        std::string bytes(251 * 64, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = UpdateFile{}.byte_at(i);
        return bytes;
    }();
    while (count > 0) {
        const std::size_t offset = static_cast<std::size_t>(from % 251);
        const std::size_t part = std::min(count, periods.size() - offset);
        out.append(periods, offset, part);
        from += part;
        count -= part;
    }
}

// What a behaviour answers instead of the file or page, if anything.
std::optional<Response> answer_of_rule(const PathRule& rule, const Request& request) {
    if (rule.user && !authorized(request, rule))
        return error_response(401, "authorization required")
            .with_header("WWW-Authenticate", "Basic realm=\"" + rule.realm + "\"");
    if (rule.status)
        return error_response(*rule.status, "answer set through the control API");
    if (rule.redirect)
        return text_response("", kTextType, rule.redirect_status)
            .with_header("Location", *rule.redirect);
    return std::nullopt;
}

Response file_answer(const UpdateFile& file, Delivery delivery) {
    Response head;
    head.with_header("Content-Type", "application/octet-stream");
    head.with_header("Last-Modified", file.last_modified);
    return delivered(
        std::move(head), file.size,
        [file](std::uint64_t from, std::size_t count, std::string& out) {
            if (file.bytes) {
                out.append(*file.bytes, static_cast<std::size_t>(from), count);
                return;
            }
            append_generated(from, count, out);
        },
        delivery);
}

// "NAME.sig" of an uploaded NAME, signed now, when the companion signs.
std::optional<UpdateFile> signature_file(const SiteState& state, const std::string& name) {
    constexpr std::string_view kSuffix = ".sig";
    if (!state.signer || !name.ends_with(kSuffix))
        return std::nullopt;
    const std::optional<UpdateFile> signed_file =
        state.update.file(name.substr(0, name.size() - kSuffix.size()));
    if (!signed_file || !signed_file->bytes)
        return std::nullopt; // generated files are not signed: too large to hash per request
    UpdateFile signature;
    signature.bytes =
        std::make_shared<const std::string>(state.signer->signature_of(*signed_file->bytes));
    signature.size = signature.bytes->size();
    signature.last_modified = signed_file->last_modified;
    return signature;
}

} // namespace

std::string basic_credentials(const std::string& user, const std::string& password) {
    return "Basic " + base64(user + ":" + password);
}

Response handle_site_with_updates(SiteState& state, const Request& request) {
    if (!request.path.starts_with(kSetupFolder))
        return handle_site(state, request);
    const std::string name = request.path.substr(kSetupFolder.size());
    const std::optional<PathRule> rule = state.update.rule(name);
    std::optional<UpdateFile> file = state.update.file(name);
    if (!file)
        file = signature_file(state, name);
    if (!rule && !file)
        return handle_site(state, request);

    const Delivery delivery = rule ? Delivery{rule->length, rule->cut, rule->stall} : Delivery{};
    if (rule)
        if (auto answer = answer_of_rule(*rule, request))
            return delivered(std::move(*answer), delivery);
    if (!file)
        return delivered(handle_site(state, request), delivery);
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    return file_answer(*file, delivery);
}

} // namespace qirelo::devsite
