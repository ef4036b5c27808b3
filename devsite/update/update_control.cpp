#include "devsite/update/update_control.h"

#include "devsite/http/text_codec.h"
#include "devsite/site/site.h"

#include <charconv>

namespace qirelo::devsite {
namespace {

constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFull; // the upgrader's lengths are 32-bit
constexpr std::uint64_t kMaxStallMs = 60000;

// A refused setting: 400 with the reason.
class BadSetting : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint64_t number(const std::map<std::string, std::string>& fields, const std::string& name,
                     std::uint64_t low, std::uint64_t high) {
    const std::string& text = fields.at(name);
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw BadSetting(name + " must be a number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    return value;
}

std::optional<std::string> text(const std::map<std::string, std::string>& fields,
                                const std::string& name) {
    auto found = fields.find(name);
    return found == fields.end() ? std::nullopt : std::optional(found->second);
}

bool is_write(const Request& request) {
    return request.method == "PUT" || request.method == "POST";
}

// Header values go out as they are: no line breaks may sneak into them.
void require_one_line(const std::map<std::string, std::string>& fields) {
    for (const auto& [name, value] : fields)
        if (value.find_first_of("\r\n") != std::string::npos)
            throw BadSetting(name + " holds a line break");
}

UpdateFile file_from(const Request& request) {
    const auto fields = parse_form(request.query);
    require_one_line(fields);
    UpdateFile file;
    file.last_modified =
        text(fields, "last-modified").value_or(http_date(std::chrono::system_clock::now()));
    if (fields.count("size")) {
        if (!request.body.empty())
            throw BadSetting("size is for a generated file: send no body with it");
        file.size = number(fields, "size", 0, kMaxFileSize);
    } else {
        file.bytes = std::make_shared<const std::string>(request.body);
        file.size = request.body.size();
    }
    return file;
}

PathRule rule_from(const Request& request) {
    auto fields = parse_form(request.query);
    for (auto& [name, value] : parse_form(request.body))
        fields.insert_or_assign(name, value);
    require_one_line(fields);
    PathRule rule;
    if (fields.count("status"))
        rule.status = static_cast<int>(number(fields, "status", 100, 599));
    rule.user = text(fields, "user");
    rule.password = text(fields, "password");
    rule.realm = text(fields, "realm").value_or(rule.realm);
    if (rule.password && !rule.user)
        throw BadSetting("a password needs a user");
    rule.redirect = text(fields, "redirect");
    if (fields.count("redirect-status")) {
        rule.redirect_status = static_cast<int>(number(fields, "redirect-status", 301, 307));
        if (rule.redirect_status != 301 && rule.redirect_status != 302 &&
            rule.redirect_status != 303 && rule.redirect_status != 307)
            throw BadSetting("redirect-status must be 301, 302, 303 or 307");
    }
    if (fields.count("cut"))
        rule.cut = number(fields, "cut", 0, kMaxFileSize);
    if (fields.count("stall"))
        rule.stall = std::chrono::milliseconds(number(fields, "stall", 0, kMaxStallMs));
    const std::string length = text(fields, "length").value_or("announced");
    if (length == "chunked")
        rule.length = BodyLength::chunked;
    else if (length == "none")
        rule.length = BodyLength::none;
    else if (length != "announced")
        throw BadSetting("length must be announced, chunked or none");
    return rule;
}

std::string file_json(const std::string& name, const UpdateFile& file) {
    return "{\"name\":" + json_string(name) + ",\"size\":" + std::to_string(file.size) +
           ",\"generated\":" + (file.bytes ? "false" : "true") +
           ",\"last-modified\":" + json_string(file.last_modified) + "}";
}

std::string rule_json(const std::string& name, const PathRule& rule) {
    static constexpr const char* kLengths[] = {"announced", "chunked", "none"};
    std::string json = "{\"path\":" + json_string("/setup/" + name);
    if (rule.status)
        json += ",\"status\":" + std::to_string(*rule.status);
    if (rule.user)
        json += ",\"user\":" + json_string(*rule.user) + ",\"realm\":" + json_string(rule.realm);
    if (rule.redirect)
        json += ",\"redirect\":" + json_string(*rule.redirect) +
                ",\"redirect-status\":" + std::to_string(rule.redirect_status);
    if (rule.cut)
        json += ",\"cut\":" + std::to_string(*rule.cut);
    json += ",\"stall\":" + std::to_string(rule.stall.count()) + ",\"length\":\"" +
            kLengths[static_cast<int>(rule.length)] + "\"}";
    return json;
}

template <typename Item, typename Write>
Response json_list(const std::map<std::string, Item>& items, Write write) {
    std::string json = "[";
    for (const auto& [name, item] : items)
        json += (json.size() > 1 ? ",\n" : "\n") + write(name, item);
    return text_response(json + "\n]\n", kJsonType);
}

Response no_content() {
    return text_response("", kTextType, 204);
}

Response files(UpdateStore& store, const Request& request, const std::string& name) {
    if (name.empty())
        return is_get(request) ? json_list(store.files(), file_json)
                               : method_not_allowed("GET, HEAD");
    if (request.method == "DELETE")
        return store.remove_file(name) ? no_content() : error_response(404, "no such file");
    if (is_get(request)) {
        auto file = store.file(name);
        return file ? text_response(file_json(name, *file) + "\n", kJsonType)
                    : error_response(404, "no such file");
    }
    if (!is_write(request))
        return method_not_allowed("GET, HEAD, PUT, POST, DELETE");
    UpdateFile file = file_from(request);
    store.put_file(name, file);
    return text_response(file_json(name, file) + "\n", kJsonType);
}

Response paths(UpdateStore& store, const Request& request, const std::string& name) {
    if (name.empty())
        return is_get(request) ? json_list(store.rules(), rule_json)
                               : method_not_allowed("GET, HEAD");
    if (request.method == "DELETE")
        return store.remove_rule(name) ? no_content() : error_response(404, "no such behaviour");
    if (is_get(request)) {
        auto rule = store.rule(name);
        return rule ? text_response(rule_json(name, *rule) + "\n", kJsonType)
                    : error_response(404, "no such behaviour");
    }
    if (!is_write(request))
        return method_not_allowed("GET, HEAD, PUT, POST, DELETE");
    PathRule rule = rule_from(request);
    store.set_rule(name, rule);
    return text_response(rule_json(name, rule) + "\n", kJsonType);
}

} // namespace

std::optional<Response> handle_update_control(UpdateStore& store, const Request& request) {
    const std::string& path = request.path;
    if (path == "/update") {
        if (request.method != "DELETE")
            return method_not_allowed("DELETE");
        store.reset();
        return no_content();
    }
    try {
        for (std::string_view prefix : {"/update/files", "/update/paths"}) {
            if (path != prefix && !path.starts_with(std::string(prefix) + "/"))
                continue;
            const std::string name = path.substr(std::min(path.size(), prefix.size() + 1));
            return prefix == "/update/files" ? files(store, request, name)
                                             : paths(store, request, name);
        }
    } catch (const BadSetting& error) {
        return error_response(400, error.what());
    }
    return std::nullopt;
}

} // namespace qirelo::devsite
