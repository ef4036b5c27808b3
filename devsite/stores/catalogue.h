#pragma once

// The demo videos the pages list, and the play-page addresses the relay's
// A and B commands lead to.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::devsite {

struct Video {
    std::string id;
    std::string title; // UTF-8
    int episodes = 1;
    bool play_web = false; // opened by B ("/m/play_web.asp") rather than A ("/m0...")
};

const std::vector<Video>& catalogue();
// A catalogue video, or a nameless one for any other well-formed id, so any
// play page the relay may open has a page.
Video find_video(const std::string& id);

// The command a phone tap sends: "A<id>.<n>" or "B<id>.0-<n>".
std::string play_command(const Video& video, int episode);

struct PlayPage {
    std::string video_id;
    int episode = 0;
};

// "/m0<id>/play<n>.html"; nullopt for any other path.
std::optional<PlayPage> parse_play_path(std::string_view path);
// "/m0<id>/play<n>.html" or "/m/play_web.asp?id=<id>&play=<n>".
std::string play_page_address(const Video& video, int episode);

bool is_video_id(std::string_view id);

} // namespace qirelo::devsite
