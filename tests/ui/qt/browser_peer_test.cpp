// The browser control on Qt WebEngine (offscreen): the document's cookie as a
// DocumentComplete handler reads it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/qt/backend.h"
#include "ui/qt/browser_peer.h"
#include "ui/qt/peers.h"
#include "ui/web_browser.h"

namespace qirelo::ui::qt {
namespace {

class BrowserForm : public Form {
public:
    BrowserForm() : Form("BrowserForm") { set_bounds(0, 0, 400, 300); }
    WebBrowser web1{this, "web1"};
};

bool SpinUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A handler that starts a new load and then reads the cookie (act_cook after
// the play page's navigation, or the login page posting itself) gets the
// completed document's cookie, not nothing; and the read runs no event of
// the loop, so a later completion can never overtake it.
TEST(QtBrowserTest, TheCookieReadAfterANewLoadBeganIsTheDocumentsAndRunsNothingElse) {
    Backend backend;
    Application application(backend);
    BrowserForm form;
    form.web1.set_bounds(0, 0, 400, 300);
    BrowserPeer::set_about_base(QStringLiteral("http://127.0.0.1:9/"));
    realize(backend, form);

    std::vector<std::u16string> cookies;
    int inside = 0, overtaken = 0, ran_inside_read = 0;
    form.web1.OnDocumentComplete = [&](Component&, const BrowserAutomation&, const WideString&) {
        if (inside++)
            ++overtaken;
        auto ran = std::make_shared<bool>(false);
        QTimer::singleShot(0, [ran] { *ran = true; });
        if (cookies.empty())
            form.web1.Navigate(u"about:<p>next</p>"); // a new load begins
        cookies.push_back(form.web1.DocumentCookie());
        ran_inside_read += *ran ? 1 : 0;
        --inside;
    };
    form.web1.Navigate(u"about:<script>document.cookie = 'user%5Fid=10001; path=/';</script>");
    ASSERT_TRUE(SpinUntil([&] { return cookies.size() >= 2; }, std::chrono::seconds(20)));
    EXPECT_EQ(cookies[0], u"user%5Fid=10001");
    EXPECT_EQ(cookies[1], u"user%5Fid=10001");
    EXPECT_EQ(overtaken, 0);
    EXPECT_EQ(ran_inside_read, 0);
}

} // namespace
} // namespace qirelo::ui::qt

// The browser engine must be shut down by the application object's end, before
// the process's own exit handlers run: left to them (an application object
// that lives for the process) it corrupted the heap now and then at exit.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qirelo::ui::qt::BrowserPeer::prepare_engine();
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    int result = 0;
    {
        QApplication application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
