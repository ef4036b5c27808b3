#include "app/update/version_check.h"

#include "app/version.h"
#include "platform/profile/codepage.h"
#include "ui/message_box.h"

namespace qirelo::app::update {
namespace {

using platform::gb;

// The line break of the new-version text: line feed first, twice.
constexpr const char* kLineBreaks = "\n\r\n\r";

std::string DownloadFolder(const std::string& siteHost) {
    return "http://" + siteHost + "/setup/";
}

// The new-version text says that the download page was opened: true only of
// the redirect method. With a download method the component's wizard carries
// the upgrade through to the restart, and closing the window would cut it off.
bool PageOpened(const upgrade::TupAutoUpdater& updater1) {
    return updater1.InfoUpgradeMethod() == upgrade::TupUpgradeMethod::umRedirectToURL;
}

} // namespace

void ConfigureUpdater1(upgrade::TupAutoUpdater& updater1, const std::string& siteHost) {
    using namespace upgrade;
    updater1.InfoFileURL = "http://" + siteHost + "/setup/qirelo_play.inf";
    updater1.VersionControl = TupVersionControl::byNumber;
    updater1.VersionNumber = kVersion;
    updater1.VersionDate = "08/09/2013";
    updater1.VersionDateAutoSet = true;
    updater1.ShowMessages = {TupShowMessages::mConnLost, TupShowMessages::mLostFile,
                             TupShowMessages::mPasswordRequest};
    updater1.InfoFile.Files = {DownloadFolder(siteHost)};
    updater1.InfoFile.UpgradeMethod = TupUpgradeMethod::umRedirectToURL;
    updater1.InfoFile.UpgradeMsg = gb("请在") + siteHost + gb("/setup下载安装最新版") + "\r\n";
}

std::string NewVersionText(const std::string& siteHost) {
    return gb("新版本已发布，请下载安装后再使用") + kLineBreaks + gb("安装网址(已打开)") +
           siteHost + "/setup";
}

VersionCheck::VersionCheck(UpdateControls controls, ui::Application& application,
                           std::string siteHost)
    : controls_(controls), application_(application), siteHost_(std::move(siteHost)) {}

void VersionCheck::act_upExecute() {
    if (!controls_.updater1.CheckUpdate() || !PageOpened(controls_.updater1)) {
        return;
    }
    application_.message_box(NewVersionText(siteHost_), gb("Qirelo在线客户端"),
                             ui::kMbIconInformation);
    controls_.Form1.close();
}

void VersionCheck::Button1Click() {
    const std::string caption = gb("升级提示");
    if (controls_.updater1.CheckUpdate()) {
        if (PageOpened(controls_.updater1)) {
            application_.message_box(NewVersionText(siteHost_), caption, ui::kMbIconInformation);
        }
    } else {
        application_.message_box(gb("当前已是最新版本！"), caption, ui::kMbIconInformation);
    }
}

} // namespace qirelo::app::update
