#include "app/browser/play_page.h"

#include <string>

namespace qirelo::app::browser {

bool IsPlayPage(std::string_view url, std::string_view site_host) {
    const std::string prefix = "http://" + std::string(site_host) + "/m0";
    return url.starts_with(prefix) && url.ends_with(".html") &&
           url.find("play") != std::string_view::npos;
}

} // namespace qirelo::app::browser
