// The road of one command on the headless main window: the member logs in
// through the panel, the site's cookie starts the relay worker, a relay
// command opens a play page, and twelve seconds of virtual time after its
// completion the full-screen double-click runs. The site is the scripted
// browser's; the relay and timer hosts are scripted servers on loopback.

#include <gtest/gtest.h>

#include <algorithm>

#include "../form1_fixture.h"
#include "app/relay/relay_worker.h"
#include "tests/http/support/environment.h"
#include "tests/http/support/script_server.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;
using http::testing::ok;
using http::testing::ScriptServer;
using http::testing::set_environment;

struct LoginToFullScreen : ::testing::Test, testing::Form1Harness {
    // The relay always holds one play command; the timer says it is fresh.
    ScriptServer relay{[](http::testing::Peer& peer) {
        while (peer.read_request())
            peer.send(ok("120|A321.5"));
    }};
    ScriptServer timer{[](http::testing::Peer& peer) {
        while (peer.read_request())
            peer.send(ok("125\r\n"));
    }};

    LoginToFullScreen() {
        set_environment("QIRELO_SITE_HOST", "site.test");
        set_environment("QIRELO_RELAY_HOST", "127.0.0.1:" + std::to_string(relay.port()));
        set_environment("QIRELO_TIMER_HOST", "127.0.0.1:" + std::to_string(timer.port()));
        web.add_page(u"http://site.test/jysc/checklogin.asp", u"<title>welcome</title>",
                     u"ASPSESSIONID=x; user%5Fid=42; nick=m");
        web.add_page(u"http://site.test/m0321/play5.html", u"<title>video 321</title>");
    }
    ~LoginToFullScreen() override { form->relay_worker->Stop(); }

    std::size_t double_clicks() {
        const auto lines = platform.calls.lines();
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](auto& line) {
            return line.starts_with("mouse_event");
        }));
    }
};

TEST_F(LoginToFullScreen, TypedLoginReachesTheSiteAndAPlayCommandEndsInFullScreen) {
    TForm1& f = create();
    f.edit_u.set_focus();
    f.edit_u.type_text("member1");
    f.edit_u.type_char('\t');
    ASSERT_EQ(f.active_control(), &f.edit_p);
    f.edit_p.type_text("secret");
    f.edit_p.type_char('\r');

    engine1->complete(); // the login page, which posts its form
    ASSERT_EQ(web.posts.size(), 1u);
    EXPECT_EQ(web.posts[0].field(u"username"), u"member1");
    EXPECT_EQ(web.posts[0].field(u"password"), u"secret");
    EXPECT_TRUE(f.MemberId.empty());

    engine1->complete(); // the site's answer sets the member's cookie
    EXPECT_EQ(f.MemberId.get(), "42");

    ASSERT_TRUE(pump_until([&] { return engine1->loading(); })) << "no relay command arrived";
    EXPECT_EQ(engine1->navigations.back(), u"http://site.test/m0321/play5.html");
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    EXPECT_NE(relay.requests().at(0).find("GET /monitor/42.jpg"), std::string::npos);

    engine1->complete(); // the play page loads
    EXPECT_TRUE(f.Timer1.enabled());
    EXPECT_EQ(f.MemberId.get(), "42"); // the same member: no restart
    const std::size_t before = double_clicks();
    clock().advance(11999ms);
    EXPECT_EQ(double_clicks(), before);
    clock().advance(1ms);
    EXPECT_EQ(double_clicks(), before + 4); // two clicks, down and up each
    EXPECT_EQ(f.window_state(), ui::WindowState::Maximized);
}

} // namespace
} // namespace qirelo::app
