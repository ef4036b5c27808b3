#include <gtest/gtest.h>

#include "ui/fake/scripted_browser.h"
#include "ui/form.h"

namespace qirelo::ui {
namespace {

using fake::ScriptedBrowser;
using fake::ScriptedWeb;

struct BrowserFixture : ::testing::Test {
    ScriptedWeb web;
    Form form{"form"};
    WebBrowser web1{&form, "web1"};
    WebBrowser web2{&form, "web2"};
    ScriptedBrowser& engine1 = ScriptedBrowser::attach(web1, web);
    ScriptedBrowser& engine2 = ScriptedBrowser::attach(web2, web);
    std::vector<std::u16string> events;

    BrowserFixture() {
        web1.OnStatusTextChange = [this](Component&, const WideString& t) {
            events.push_back(u"status " + t);
        };
        web1.OnProgressChange = [this](Component&, long p, long) {
            events.push_back(u"progress " + WideString(p < 0 ? u"-" : p == 0 ? u"0" : u"+"));
        };
        web1.OnCommandStateChange = [this](Component&, long c, bool e) {
            events.push_back(WideString(c == kCommandNavigateBack ? u"back " : u"forward ") +
                             (e ? u"on" : u"off"));
        };
        web1.OnTitleChange = [this](Component&, const WideString& t) {
            events.push_back(u"title " + t);
        };
        web1.OnDocumentComplete = [this](Component&, const BrowserAutomation&,
                                         const WideString& url) {
            events.push_back(u"complete " + url);
        };
    }
};

TEST(WebBrowser, WithoutAnEngineEveryOperationRaises) {
    Form form("form");
    WebBrowser browser(&form, "web1");
    EXPECT_FALSE(browser.has_engine());
    EXPECT_THROW(browser.Navigate(u"about:blank"), BrowserError);
    EXPECT_THROW(browser.LocationURL(), BrowserError);
    EXPECT_THROW(browser.Application(), BrowserError);
}

TEST_F(BrowserFixture, AboutPageRendersItsOwnHtmlWithTheTitleBeforeCompletion) {
    web1.Navigate(u"about:<head><title>默认</title></head><body>hi</body>");
    EXPECT_TRUE(events.empty()); // loads complete later, never inside Navigate
    EXPECT_TRUE(engine1.loading());
    engine1.complete();
    const WideString url = u"about:<head><title>默认</title></head><body>hi</body>";
    EXPECT_EQ(events, (std::vector<std::u16string>{u"status " + url, u"progress 0", u"back off",
                                                   u"forward off", u"title 默认", u"progress +",
                                                   u"complete " + url, u"progress -", u"status "}));
    EXPECT_EQ(web1.LocationURL(), url);
    EXPECT_EQ(web1.DocumentCookie(), u"");
}

TEST_F(BrowserFixture, PageWithoutATitleShowsItsAddressAsTitle) {
    web1.Navigate(u"http://127.0.0.1:12860/none.html");
    engine1.complete();
    EXPECT_EQ(engine1.title(), u"http://127.0.0.1:12860/none.html");
}

TEST_F(BrowserFixture, SiteCookieSetByAPageIsTheDocumentCookieOfItsHostOnly) {
    web.add_page(u"http://site:80/login.asp", u"<title>ok</title>", u"user%5Fid=123; x=1");
    web1.Navigate(u"http://site:80/login.asp");
    engine1.complete();
    EXPECT_EQ(web1.DocumentCookie(), u"user%5Fid=123; x=1");
    web1.Navigate(u"http://other/page");
    engine1.complete();
    EXPECT_EQ(web1.DocumentCookie(), u"");
    engine1.cookie_override = u"set by test";
    EXPECT_EQ(web1.DocumentCookie(), u"set by test");
}

TEST_F(BrowserFixture, ScriptThatSubmitsAFormPostsItsFieldsAndLoadsTheAction) {
    web1.Navigate(u"about:<head><title>自动登录</title></head><body><form style=\"display:none\" "
                  u"name=\"form1\" "
                  u"action=\"http://site/jysc/checklogin.asp\" method=post> <input type=\"input\" "
                  u"name=\"username\" value=\"张三\"><input type=\"password\" name=\"password\" "
                  u"value=\"p w\"></form><script>form1.submit()</script></body>");
    engine1.complete();
    ASSERT_EQ(web.posts.size(), 1u);
    EXPECT_EQ(web.posts[0].action, u"http://site/jysc/checklogin.asp");
    EXPECT_EQ(web.posts[0].method, u"post");
    EXPECT_EQ(web.posts[0].field(u"username"), u"张三");
    EXPECT_EQ(web.posts[0].field(u"password"), u"p w");
    ASSERT_TRUE(engine1.loading());
    engine1.complete();
    EXPECT_EQ(web1.LocationURL(), u"http://site/jysc/checklogin.asp");
}

TEST_F(BrowserFixture, HistoryDrivesBackAndForwardAndTheirCommandStates) {
    for (auto url : {u"about:a", u"about:b", u"about:c"}) {
        web1.Navigate(url);
        engine1.complete();
    }
    events.clear();
    web1.GoBack();
    engine1.complete();
    EXPECT_EQ(web1.LocationURL(), u"about:b");
    EXPECT_NE(std::find(events.begin(), events.end(), u"back on"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), u"forward on"), events.end());
    web1.GoForward();
    engine1.complete();
    EXPECT_EQ(web1.LocationURL(), u"about:c");
    EXPECT_THROW(web1.GoForward(), BrowserError); // nothing ahead: a failing status

    web1.GoBack();
    engine1.complete();
    web1.Navigate(u"about:d"); // a new page drops what was ahead
    engine1.complete();
    EXPECT_THROW(web1.GoForward(), BrowserError);
}

TEST_F(BrowserFixture, StopDropsTheLoadUnderWay) {
    web1.Navigate(u"about:x");
    web1.Stop();
    engine1.complete();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(engine1.calls, (std::vector<std::string>{"Navigate", "Stop"}));
}

TEST_F(BrowserFixture, NewWindowGoesToTheBrowserWhoseApplicationTheHandlerGives) {
    web1.OnNewWindow2 = [this](Component&, BrowserAutomation& target, bool&) {
        target = web2.Application();
    };
    engine1.open_new_window(u"http://site/popup.html");
    EXPECT_EQ(engine2.navigations, (std::vector<std::u16string>{u"http://site/popup.html"}));
    EXPECT_TRUE(engine1.navigations.empty());

    web1.OnNewWindow2 = nullptr;
    engine1.open_new_window(u"http://site/lost.html");
    EXPECT_EQ(engine1.new_top_level_windows,
              (std::vector<std::u16string>{u"http://site/lost.html"}));
}

TEST_F(BrowserFixture, FailingControlRaisesFromEveryOperation) {
    engine1.failing = true;
    EXPECT_THROW(web1.Navigate(u"about:x"), BrowserError);
    EXPECT_THROW(web1.Stop(), BrowserError);
    EXPECT_THROW(web1.DocumentCookie(), BrowserError);
}

TEST_F(BrowserFixture, AcceleratorMessagesAreRecordedAndAnsweredAsConfigured) {
    Message tab{7, kKeyDown, kVkTab, 0};
    EXPECT_FALSE(web1.TranslateAccelerator(tab));
    engine1.accelerator_takes = true;
    EXPECT_TRUE(web1.TranslateAccelerator(tab));
    ASSERT_EQ(engine1.accelerator_messages.size(), 2u);
    EXPECT_EQ(engine1.accelerator_messages[0].wparam, kVkTab);
}

} // namespace
} // namespace qirelo::ui
