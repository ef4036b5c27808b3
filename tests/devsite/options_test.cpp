#include "devsite/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace qirelo::devsite {
namespace {

TEST(CommandLine, DefaultPortsAreTheClientsDefaultHosts) {
    auto options = parse_command_line({}).companion;
    EXPECT_EQ(options.listen, "127.0.0.1");
    EXPECT_EQ(options.relay_port, 12861);
    // The hosts may be overridden in the environment; the ports follow them.
    EXPECT_EQ(options.site_port,
              port_of(std::getenv("QIRELO_SITE_HOST") ? std::getenv("QIRELO_SITE_HOST")
                                                      : "127.0.0.1:12860",
                      12860));
    EXPECT_EQ(options.control_port, kDefaultControlPort);
    EXPECT_FALSE(options.data_file);
}

TEST(CommandLine, OptionsSetAddressPortsAndFiles) {
    auto line = parse_command_line({"--listen", "0.0.0.0", "--site-port", "8080", "--mobile-port",
                                    "0", "--data", "site.dat", "--ports-file", "ports",
                                    "--update-key", "private.pem"});
    EXPECT_EQ(line.companion.listen, "0.0.0.0");
    EXPECT_EQ(line.companion.site_port, 8080);
    EXPECT_EQ(line.companion.mobile_port, 0);
    EXPECT_EQ(line.companion.data_file.value_or(""), "site.dat");
    EXPECT_EQ(line.ports_file.value_or(""), "ports");
    EXPECT_EQ(line.companion.update_key.value_or(""), "private.pem");
    auto ephemeral = parse_command_line({"--ephemeral"}).companion;
    for (auto port : {ephemeral.site_port, ephemeral.relay_port, ephemeral.timer_port,
                      ephemeral.mobile_port, ephemeral.control_port})
        EXPECT_EQ(port, 0);
}

TEST(CommandLine, RefusesUnknownOptionsMissingValuesAndBadPorts) {
    for (std::vector<std::string> arguments : {std::vector<std::string>{"--frobnicate"},
                                               {"--data"},
                                               {"--update-key"},
                                               {"--site-port", "65536"},
                                               {"--site-port", "12a"},
                                               {"--site-port", ""},
                                               {"--relay-port", "-1"}})
        EXPECT_THROW(parse_command_line(arguments), UsageError) << arguments[0];
}

TEST(PortOf, TakesThePortAfterTheLastColon) {
    EXPECT_EQ(port_of("127.0.0.1:12860", 1), 12860);
    EXPECT_EQ(port_of("example.org", 80), 80);
    EXPECT_EQ(port_of("host:notaport", 81), 81);
}

} // namespace
} // namespace qirelo::devsite
