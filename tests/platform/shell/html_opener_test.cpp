// The look-up of the command that opens .html files, over an in-memory
// registry branch; and the on-line rule of the dial-up value.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/fake/shell.h"
#include "platform/shell/html_opener.h"
#include "platform/shell/online.h"

namespace qirelo::platform::shell {
namespace {

using fake::FakeRegistryKeys;

TEST(FindHtmlOpener, TheClassOpenCommand) {
    FakeRegistryKeys registry;
    registry.add(".html", "htmlfile");
    registry.add("htmlfile\\shell\\edit\\command", "notepad.exe %1");
    registry.add("htmlfile\\shell\\open\\command", "\"C:\\IE\\iexplore.exe\" %1");
    EXPECT_EQ(FindHtmlOpener(registry), "\"C:\\IE\\iexplore.exe\" %1");
}

TEST(FindHtmlOpener, AnOpenCommandKeyWithoutValueMeansNoOpener) {
    FakeRegistryKeys registry;
    registry.add(".html", "htmlfile");
    registry.add("htmlfile\\shell\\open\\command");
    registry.add("htmlfile\\shell\\openNew\\command", "C:\\b.exe %1");
    EXPECT_EQ(FindHtmlOpener(registry), "");
}

TEST(FindHtmlOpener, WithoutOpenTheFirstVerbWhoseNameHoldsOpen) {
    FakeRegistryKeys registry;
    registry.add(".html", "FirefoxHTML");
    registry.add("FirefoxHTML\\shell\\print\\command", "C:\\print.exe %1");
    registry.add("FirefoxHTML\\shell\\OpenInNewWindow\\command", "C:\\ff.exe -new %1");
    registry.add("FirefoxHTML\\shell\\reopen\\command", "C:\\other.exe %1");
    EXPECT_EQ(FindHtmlOpener(registry), "C:\\ff.exe -new %1");
}

TEST(FindHtmlOpener, TheFirstOpenVerbCountsEvenWithAnEmptyCommand) {
    FakeRegistryKeys registry;
    registry.add(".html", "c");
    registry.add("c\\shell\\opennew\\command", "");
    registry.add("c\\shell\\openold\\command", "C:\\old.exe %1");
    EXPECT_EQ(FindHtmlOpener(registry), "");
}

TEST(FindHtmlOpener, WithoutAnOpenVerbTheFirstVerbWithACommand) {
    FakeRegistryKeys registry;
    registry.add(".html", "c");
    registry.add("c\\shell\\print");             // no command key
    registry.add("c\\shell\\edit\\command", ""); // an empty command
    registry.add("c\\shell\\view\\command", "C:\\viewer.exe %1");
    registry.add("c\\shell\\show\\command", "C:\\show.exe %1");
    EXPECT_EQ(FindHtmlOpener(registry), "C:\\viewer.exe %1");
}

TEST(FindHtmlOpener, NoClassNoClassKeyOrNoVerbMeansNoOpener) {
    FakeRegistryKeys empty;
    EXPECT_EQ(FindHtmlOpener(empty), "");

    FakeRegistryKeys blank_class;
    blank_class.add(".html", "");
    blank_class.add("\\shell\\open\\command", "C:\\b.exe %1");
    EXPECT_EQ(FindHtmlOpener(blank_class), "");

    FakeRegistryKeys missing_class;
    missing_class.add(".html", "htmlfile");
    EXPECT_EQ(FindHtmlOpener(missing_class), "");

    FakeRegistryKeys no_verbs;
    no_verbs.add(".html", "htmlfile");
    no_verbs.add("htmlfile\\shell");
    EXPECT_EQ(FindHtmlOpener(no_verbs), "");
}

TEST(IsOnlineByRemoteAccess, TheDialUpValueDecidesWhenItCanBeRead) {
    int asked = 0;
    const auto address = [&]() -> std::optional<std::string> {
        ++asked;
        return "192.168.1.20";
    };
    EXPECT_TRUE(IsOnlineByRemoteAccess(1u, address));
    EXPECT_FALSE(IsOnlineByRemoteAccess(0u, address));
    EXPECT_FALSE(IsOnlineByRemoteAccess(2u, address));
    EXPECT_EQ(asked, 0);
}

TEST(IsOnlineByRemoteAccess, OtherwiseTheLastLocalAddressUnlessLoopback) {
    const auto with = [](std::optional<std::string> last) {
        return IsOnlineByRemoteAccess(std::nullopt, [&] { return last; });
    };
    EXPECT_TRUE(with("192.168.1.20"));
    EXPECT_FALSE(with("127.0.0.1"));
    EXPECT_FALSE(with(std::nullopt));
    EXPECT_FALSE(with(""));
}

} // namespace
} // namespace qirelo::platform::shell
