#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusInterface>
#include <QtDBus/QDBusReply>

#include <cstdio>

#include "platform/linux/system.h"

namespace qirelo::platform::native {
namespace {

const char* const kService = "org.freedesktop.login1";
const char* const kPath = "/org/freedesktop/login1";
const char* const kManager = "org.freedesktop.login1.Manager";

class LogindToken final : public system::ProcessToken {
public:
    explicit LogindToken(bool fake) : fake_(fake) {}

    bool enable_shutdown_privilege() override {
        if (fake_)
            return true;
        QDBusInterface manager(kService, kPath, kManager, QDBusConnection::systemBus());
        const QDBusReply<QString> answer = manager.call("CanPowerOff");
        return answer.isValid() && PowerOffPermitted(answer.value().toStdString());
    }

private:
    bool fake_;
};

} // namespace

bool PowerOffPermitted(std::string_view can_power_off) {
    return can_power_off == "yes";
}

std::unique_ptr<system::ProcessToken> LogindPower::open_process_token() {
    if (system::fake_power_requested())
        return std::make_unique<LogindToken>(true);
    if (!QDBusConnection::systemBus().isConnected())
        return nullptr;
    return std::make_unique<LogindToken>(false);
}

void LogindPower::power_off() {
    if (system::fake_power_requested()) {
        std::puts("power-off requested");
        std::fflush(stdout);
        return;
    }
    QDBusInterface manager(kService, kPath, kManager, QDBusConnection::systemBus());
    manager.call("PowerOff", false); // not interactive: no polkit prompt
}

} // namespace qirelo::platform::native
