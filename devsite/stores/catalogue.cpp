#include "devsite/stores/catalogue.h"

#include <algorithm>
#include <cctype>

namespace qirelo::devsite {
namespace {

bool all_digits(std::string_view text) {
    return !text.empty() && text.size() <= 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool is_video_id(std::string_view id) {
    return !id.empty() && id.size() <= 16 && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

const std::vector<Video>& catalogue() {
    static const std::vector<Video> videos = {
        {"321", "山海长歌", 5, false},
        {"512", "城南旧事", 3, false},
        {"1024", "星际迷航：归途", 1, false},
        {"678", "江湖夜雨（网络版）", 4, true},
    };
    return videos;
}

Video find_video(const std::string& id) {
    for (const auto& video : catalogue())
        if (video.id == id)
            return video;
    return {id, "视频" + id, 99, false};
}

std::string play_command(const Video& video, int episode) {
    auto n = std::to_string(episode);
    return video.play_web ? "B" + video.id + ".0-" + n : "A" + video.id + "." + n;
}

std::optional<PlayPage> parse_play_path(std::string_view path) {
    static constexpr std::string_view kPrefix = "/m0", kMiddle = "/play", kSuffix = ".html";
    if (path.substr(0, kPrefix.size()) != kPrefix || path.size() < kSuffix.size() ||
        path.substr(path.size() - kSuffix.size()) != kSuffix)
        return std::nullopt;
    path.remove_prefix(kPrefix.size());
    path.remove_suffix(kSuffix.size());
    auto middle = path.find(kMiddle);
    if (middle == path.npos)
        return std::nullopt;
    auto id = path.substr(0, middle);
    auto episode = path.substr(middle + kMiddle.size());
    if (!is_video_id(id) || !all_digits(episode))
        return std::nullopt;
    return PlayPage{std::string(id), std::stoi(std::string(episode))};
}

std::string play_page_address(const Video& video, int episode) {
    auto n = std::to_string(episode);
    return video.play_web ? "/m/play_web.asp?id=" + video.id + "&play=" + n
                          : "/m0" + video.id + "/play" + n + ".html";
}

} // namespace qirelo::devsite
