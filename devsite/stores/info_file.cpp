#include "devsite/stores/info_file.h"

#include "platform/profile/codepage.h"

namespace qirelo::devsite {

std::string default_info_file(std::string_view site_host) {
    std::string host(site_host);
    std::string text = "#version=" + std::string(kClientVersion) + "\r\n";
    text += "#method=2\r\n";
    text += "#url=http://" + host + "/setup/\r\n";
    text += "#message={" + platform::strict_gb_from_utf8("请在" + host + "/setup下载安装最新版") +
            "}\r\n";
    return text;
}

std::string InfoFile::text(std::string_view site_host) const {
    std::lock_guard lock(mutex_);
    return override_ ? *override_ : default_info_file(site_host);
}

void InfoFile::set(std::string content) {
    std::lock_guard lock(mutex_);
    override_ = std::move(content);
}

void InfoFile::reset() {
    std::lock_guard lock(mutex_);
    override_.reset();
}

} // namespace qirelo::devsite
