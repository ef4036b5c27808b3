// The Linux client's entry: Qt and its browser engine, the application object
// and its title, the main window on the Linux platform, the message loop
// until the window closes.
//
// Qt WebEngine needs its sandbox off when run as root (Xvfb sessions, CI) and
// no GPU on a virtual screen; the browser peer sets both, before Qt starts,
// unless the environment says otherwise.

#include <QApplication>
#include <QByteArray>
#include <QLoggingCategory>

#include <cstdio>
#include <memory>

#include "app/form1.h"
#include "config/hosts.h"
#include "platform/linux/services.h"
#include "platform/profile/codepage.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/qt/backend.h"
#include "ui/qt/browser_peer.h"
#include "ui/qt/peers.h"

int main(int argc, char** argv) {
    using namespace qirelo;
    ui::qt::BrowserPeer::prepare_engine();
    // The engine's start-up report is for its own developers.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qirelo"));

    ui::qt::Backend backend;
    ui::Application application(backend);
    application.set_title(platform::gb("Qirelo在线客户端"));
    ui::qt::BrowserPeer::set_about_base(
        QString::fromStdString("http://" + config::site_host() + "/"));

    std::unique_ptr<platform::native::LinuxPlatform> system;
    try {
        system = std::make_unique<platform::native::LinuxPlatform>(
            [&application] {
                application.synchronize([&application] {
                    application.message_box("Invalid KeyName", "SendKeys", ui::kMbOk);
                });
            },
            [&application] { application.synchronize(ui::qt::Backend::settle_input); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qirelo: %s\n", error.what());
        return 1;
    }
    platform::Services services = system->services();
    auto form = std::make_unique<app::TForm1>(application, services);
    ui::qt::realize(backend, *form);
    application.set_main_form(*form);
    application.run();
    form.reset();
    return 0;
}
