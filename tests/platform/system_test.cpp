// The power-off switch for test runs, and on Windows the real token calls up
// to, never including, the power-off itself.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/system/power.h"
#ifdef _WIN32
#include "platform/win32/system.h"
#endif

namespace qirelo::platform::system {
namespace {

void set_fake_power(const char* value) {
#ifdef _WIN32
    _putenv_s("QIRELO_FAKE_POWER", value == nullptr ? "" : value);
#else
    if (value == nullptr) {
        ::unsetenv("QIRELO_FAKE_POWER");
    } else {
        ::setenv("QIRELO_FAKE_POWER", value, 1);
    }
#endif
}

TEST(FakePowerSwitchTest, OnlyTheValueOneAsksForTheAnnouncement) {
    set_fake_power(nullptr);
    EXPECT_FALSE(fake_power_requested());
    for (const char* other : {"0", "yes", "true", "1 ", "11"}) {
        set_fake_power(other);
        EXPECT_FALSE(fake_power_requested()) << other;
    }
    set_fake_power("1");
    EXPECT_TRUE(fake_power_requested());
}

#ifdef _WIN32
TEST(Win32PowerTest, TheProcessTokenOpensAndTakesTheShutdownPrivilege) {
    win32::Win32Power power;
    auto token = power.open_process_token();
    ASSERT_NE(token, nullptr);
    EXPECT_TRUE(token->enable_shutdown_privilege());
}

TEST(Win32PowerTest, PowerOffOnlyAnnouncesItselfUnderTheSwitch) {
    set_fake_power("1");
    // Never go on without the switch: this would ask the system to power off.
    ASSERT_TRUE(fake_power_requested());
    win32::Win32Power power;
    ::testing::internal::CaptureStdout();
    power.power_off();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "power-off requested\n");
}
#endif

} // namespace
} // namespace qirelo::platform::system
