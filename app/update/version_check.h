#pragma once

// The version check of the main window: silently once at start-up (act_up,
// run by FormShow) and on demand (the program tab's "检查版本"), both through
// the upgrade component updater1. When the silent check finds a newer
// version on the download page, the user is told where to get it and the
// program ends; a version the component downloads itself is left to its
// wizard, which restarts the program.

#include <string>

#include "ui/application.h"
#include "ui/form.h"
#include "upgrade/auto_updater.h"

namespace qirelo::app::update {

// What the check works with.
struct UpdateControls {
    ui::Form& Form1; // closed after a newer version was announced at start-up
    upgrade::TupAutoUpdater& updater1;
};

// updater1's settings as they stand in the main window's layout; `siteHost`
// is the site's main host, which also serves the updates.
void ConfigureUpdater1(upgrade::TupAutoUpdater& updater1, const std::string& siteHost);

// "新版本已发布，请下载安装后再使用", LF CR LF CR, "安装网址(已打开)" and the
// download page without its scheme.
std::string NewVersionText(const std::string& siteHost);

class VersionCheck {
public:
    // `application` shows the boxes.
    VersionCheck(UpdateControls controls, ui::Application& application, std::string siteHost);

    void act_upExecute();
    void Button1Click();

private:
    UpdateControls controls_;
    ui::Application& application_;
    std::string siteHost_;
};

} // namespace qirelo::app::update
