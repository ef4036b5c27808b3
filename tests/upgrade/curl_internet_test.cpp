// The libcurl boundary hands over what has arrived without waiting for more.
// Its idle wait is an hour here: a read that waits on the socket while curl
// has bytes for it, or while curl is paused and reads no socket, never ends.

#include "platform/linux/curl_internet.h"
#include "tests/http/support/script_server.h"
#include "tests/upgrade/support/watchdog.h"

#include <gtest/gtest.h>

#include <string>

namespace qirelo::platform::inet {
namespace {

using http::testing::Peer;
using http::testing::ScriptServer;
using upgrade::testing::Watchdog;

std::string Body(std::size_t size) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>(i * 13 % 251);
    }
    return body;
}

// Far more than the boundary holds for its reader, sent at once: curl is
// paused and resumed again and again, each time filling the same amount.
TEST(CurlInternetTest, ABodyLargerThanWhatIsHeldBackIsReadWholeWithoutWaiting) {
    const std::string body = Body(24 << 20);
    ScriptServer server([&](Peer& peer) {
        if (peer.read_request()) {
            peer.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                      "\r\n\r\n" + body);
            peer.stall(); // kept alive: the end of the body is the only end
        }
    });
    const auto internet = curl_internet(std::chrono::hours(1));
    const HInternet session = internet->Open({});
    const HInternet connection = internet->Connect(session, "127.0.0.1", server.port(), "", "");
    const HInternet request = internet->OpenRequest(connection, "GET", "/", "", "", 0);
    ASSERT_TRUE(internet->SendRequest(request, "", ""));

    std::string received;
    {
        Watchdog watchdog(std::chrono::seconds(60), "reading a body that has been sent");
        char buffer[4096];
        std::size_t read = 0;
        while (internet->ReadFile(request, buffer, sizeof buffer, read) && read > 0) {
            received.append(buffer, read);
        }
    }
    EXPECT_EQ(received.size(), body.size());
    EXPECT_TRUE(received == body);

    internet->CloseHandle(request);
    internet->CloseHandle(connection);
    internet->CloseHandle(session);
}

} // namespace
} // namespace qirelo::platform::inet
