// The login panel and the member-id pick-up on the headless main window with
// scripted browsers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../form1_fixture.h"
#include "app/login/convert_error.h"
#include "app/login/login_page.h"
#include "app/login/login_panel.h"
#include "app/login/password_scrambler.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "platform/profile/ini_file.h"

namespace qirelo::app {
namespace {

using platform::gb;
using platform::utf16_from_gb;

// What a browser makes of an attribute value: the character references the
// login page writes become their characters again.
std::string decoded_attribute(const ui::WideString& value) {
    std::string text = platform::gb_from_utf16(value);
    const std::pair<std::string, std::string> references[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&#39;", "'"}, {"&amp;", "&"}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [reference, character] : references)
            if (text.compare(i, reference.size(), reference) == 0) {
                out += character;
                i += reference.size();
                replaced = true;
                break;
            }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

struct LoginPanelTest : ::testing::Test, testing::Form1Harness {
    TForm1& f = create();
    int starts = 0;
    int stops = 0;

    LoginPanelTest() {
        f.login_panel->StartRelayWorker = [this] { ++starts; };
        f.login_panel->StopRelayWorker = [this] { ++stops; };
    }

    std::string file() { return platform.profile.files[users_ini()]; }
    std::string memo() {
        return "[memo]\r\n" + gb("说明=密码已绑定本机二次加密") + "\r\n" +
               gb("版本=Qirelo在线客户端2013.8.9.0") + "\r\n";
    }
    std::string login_page(const std::string& name, const std::string& password) {
        return login::BuildLoginPage(config::site_host(), name, password);
    }
    // A fresh start of the program over the same users.ini.
    TForm1& restart() {
        form.reset();
        return create();
    }
    void type(ui::Edit& edit, const std::string& text) {
        edit.set_focus();
        edit.type_text(text);
    }
};

TEST_F(LoginPanelTest, LoginButtonNeedsMoreThanThreeBytesInBothBoxes) {
    f.edit_u.set_text("abcd");
    f.edit_p.set_text("abc");
    EXPECT_FALSE(f.BitBtn2.enabled());
    f.edit_p.set_text("abcd");
    EXPECT_TRUE(f.BitBtn2.enabled());
    f.edit_u.set_text("abc");
    EXPECT_FALSE(f.BitBtn2.enabled());
    f.edit_u.set_text(gb("张三")); // two Chinese characters are four bytes
    EXPECT_TRUE(f.BitBtn2.enabled());
    f.edit_u.set_text(gb("张") + "x");
    EXPECT_FALSE(f.BitBtn2.enabled());
}

TEST_F(LoginPanelTest, EnterInTheNameBoxDoesNothingWhileTheButtonIsDisabled) {
    f.edit_u.set_text("member1");
    EXPECT_EQ(f.edit_u.key_press('\r'), '\r');
    EXPECT_FALSE(platform.profile.files.contains(users_ini()));
    EXPECT_THAT(engine1->navigations, ::testing::IsEmpty());
}

TEST_F(LoginPanelTest, EnterInTheNameBoxLogsInOnceTheButtonIsEnabled) {
    f.edit_u.set_text("member1");
    f.edit_p.set_text("secret");
    f.edit_u.key_press('\r');
    EXPECT_EQ(engine1->navigations, std::vector{utf16_from_gb(login_page("member1", "secret"))});
}

TEST_F(LoginPanelTest, EnterInThePasswordBoxLogsInEvenWithTheButtonDisabled) {
    f.edit_u.set_text("ab");
    f.edit_p.set_text("x");
    ASSERT_FALSE(f.BitBtn2.enabled());
    EXPECT_EQ(f.edit_p.key_press('\r'), '\r');
    EXPECT_TRUE(platform.profile.files.contains(users_ini()));
    EXPECT_EQ(engine1->navigations, std::vector{utf16_from_gb(login_page("ab", "x"))});
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
}

TEST_F(LoginPanelTest, TabMovesFromNameToPasswordToTheRememberBox) {
    f.edit_u.set_focus();
    EXPECT_EQ(f.edit_u.key_press('\t'), '\t');
    EXPECT_EQ(f.active_control(), &f.edit_p);
    EXPECT_EQ(f.edit_p.key_press('\t'), '\t');
    EXPECT_EQ(f.active_control(), &f.CheckBox1);
}

TEST_F(LoginPanelTest, FirstLoginWritesTheFileInItsOrderAndTheScrambledPassword) {
    f.edit_u.set_text(gb("会员张三"));
    f.edit_p.set_text("pa55word");
    f.BitBtn2.click();

    const std::string text = file();
    const std::string head = "[user]\r\nname=" + gb("会员张三") + "\r\npass=";
    ASSERT_TRUE(text.starts_with(head)) << text;
    const std::string pass = text.substr(head.size(), text.find("\r\n", head.size()) - head.size());
    EXPECT_EQ(text, head + pass + "\r\n" + memo());
    EXPECT_EQ(pass.size(), 2 + 2 * 8u);
    EXPECT_EQ(login::UnscramblePassword(pass, platform.machine.name), "pa55word");
}

TEST_F(LoginPanelTest, RememberUntickedLeavesAnEmptyPassAndTheNextStartAnEmptyBox) {
    f.edit_u.set_text("member1");
    f.edit_p.set_text("secret");
    f.CheckBox1.set_checked(false);
    f.BitBtn2.click();
    EXPECT_EQ(file(), "[user]\r\nname=member1\r\npass=\r\n" + memo());

    TForm1& again = restart();
    EXPECT_EQ(again.edit_u.text(), "member1");
    EXPECT_EQ(again.edit_p.text(), "");
    EXPECT_TRUE(again.CheckBox1.checked()); // never stored: ticked at every start
}

TEST_F(LoginPanelTest, RememberedPasswordComesBackAtTheNextStart) {
    type(f.edit_u, "member1");
    type(f.edit_p, gb("密码") + "42");
    f.edit_p.type_char('\r');

    TForm1& again = restart();
    EXPECT_EQ(again.edit_u.text(), "member1");
    EXPECT_EQ(again.edit_p.text(), gb("密码") + "42");
    EXPECT_TRUE(again.BitBtn2.enabled());
}

TEST_F(LoginPanelTest, EmptyPasswordIsStoredAsTheSeedAloneAndComesBackEmpty) {
    f.edit_u.set_text("member1");
    f.edit_p.key_press('\r');
    const std::string text = file();
    const std::string head = "[user]\r\nname=member1\r\npass=";
    ASSERT_TRUE(text.starts_with(head));
    EXPECT_EQ(text.find("\r\n", head.size()), head.size() + 2) << text;

    TForm1& again = restart();
    EXPECT_EQ(again.edit_p.text(), "");
    EXPECT_TRUE(backend.boxes().shown.empty());
}

TEST_F(LoginPanelTest, DamagedSavedPasswordIsReportedAndSkipsTheRestOfStartUp) {
    platform.profile.files[users_ini()] = "[user]\r\nname=member1\r\npass=12ZZ\r\n";
    TForm1& again = restart();
    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "'$ZZ' is not a valid integer value.");
    EXPECT_EQ(again.edit_p.text(), "12ZZ");           // no partial result
    EXPECT_NE(again.active_control(), &again.edit_u); // the focus step did not run
    again.show_form();                                // the window still opens
    EXPECT_TRUE(again.visible());
}

TEST_F(LoginPanelTest, UnwritableFileIsReportedAndNothingAfterTheFailedWriteRuns) {
    platform.profile.read_only.insert(users_ini());
    f.edit_u.set_text("member1");
    f.edit_p.set_text("secret");
    EXPECT_THROW(f.BitBtn2.click(), platform::IniWriteError);
    application.guard([&] { f.BitBtn2.click(); });
    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "Unable to write to " + users_ini() + ".");
    EXPECT_THAT(engine1->navigations, ::testing::IsEmpty());
    EXPECT_EQ(f.pag1.active_page(), &f.tb3);
}

TEST_F(LoginPanelTest, TheLoginPagePostsNameAndPasswordToTheSiteExactlyAsTyped) {
    const std::string name = gb("张三") + " \"<b>&'";
    const std::string password = "p\"><script>alert(1)</script>";
    f.edit_u.set_text(name);
    f.edit_p.set_text(password);
    f.BitBtn2.click();
    engine1->complete_all();

    ASSERT_EQ(web.posts.size(), 1u);
    const ui::fake::FormPost& post = web.posts[0];
    EXPECT_EQ(platform::gb_from_utf16(post.action),
              "http://" + config::site_host() + "/jysc/checklogin.asp");
    EXPECT_EQ(post.method, u"post");
    ASSERT_EQ(post.fields.size(), 2u);
    EXPECT_EQ(decoded_attribute(post.field(u"username")), name);
    EXPECT_EQ(decoded_attribute(post.field(u"password")), password);
}

TEST_F(LoginPanelTest, ForgettingThePasswordEmptiesPassOnlyAndUnticksTheBox) {
    f.edit_u.set_text("member1");
    f.edit_p.set_text("secret");
    f.BitBtn2.click();
    f.BitBtn3.click();
    EXPECT_EQ(file(), "[user]\r\nname=member1\r\npass=\r\n" + memo());
    EXPECT_FALSE(f.CheckBox1.checked());
    EXPECT_EQ(f.edit_p.text(), "secret");
}

TEST_F(LoginPanelTest, OneKeyLoginAndRegisterOpenTheSitesPagesInWeb1) {
    f.SpeedButton4.click();
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    f.pag1.set_active_page(&f.tb3);
    f.Label3.click();
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    const std::string site = "http://" + config::site_host();
    EXPECT_EQ(engine1->navigations, (std::vector{utf16_from_gb(site + "/temp/redirect.asp"),
                                                 utf16_from_gb(site + "/jysc/reg2.asp")}));
    EXPECT_FALSE(platform.profile.files.contains(users_ini()));
}

// --- The member-id pick-up ---------------------------------------------------

// The pick-up while web1 shows a page of the site, whose cookie the tests set.
struct PickUpTest : LoginPanelTest {
    const ui::WideString site_page = utf16_from_gb("http://" + config::site_host() + "/jysc/");

    PickUpTest() {
        web.add_page(site_page, u"<title>site</title>");
        show_in_web1(site_page);
        starts = stops = 0;
    }
    void show_in_web1(const ui::WideString& url) {
        engine1->navigate(url);
        engine1->complete();
    }
};

TEST_F(PickUpTest, IdFollowedBySemicolonLogsInAndStartsTheWorkerOnce) {
    engine1->cookie_override = u"ASPSESSIONID=abc; user%5Fid=123; nick=x";
    f.act_cook.execute();
    EXPECT_EQ(f.MemberId.get(), "123");
    EXPECT_EQ(starts, 1);
    f.act_cook.execute();
    EXPECT_EQ(starts, 1);
}

TEST_F(PickUpTest, IdLastWithoutSemicolonIsEmptyButStillStartsTheWorker) {
    engine1->cookie_override = u"nick=x; user%5Fid=123";
    f.act_cook.execute();
    EXPECT_EQ(f.MemberId.get(), "");
    EXPECT_EQ(starts, 1);
    f.act_cook.execute(); // still no id held: started again
    EXPECT_EQ(starts, 2);
}

TEST_F(PickUpTest, CookieWithoutTheKeyStopsTheWorkerAndLogsOut) {
    engine1->cookie_override = u"user%5Fid=123;";
    f.act_cook.execute();
    engine1->cookie_override = u"other=1";
    f.act_cook.execute();
    EXPECT_EQ(f.MemberId.get(), "");
    EXPECT_EQ(stops, 1);
    f.act_cook.execute(); // applied again, to an idle worker
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(starts, 1);
}

TEST_F(PickUpTest, SecondIdReplacesTheFirstWithoutRestart) {
    engine1->cookie_override = u"user%5Fid=123;";
    f.act_cook.execute();
    engine1->cookie_override = u"user%5Fid=456;";
    f.act_cook.execute();
    EXPECT_EQ(f.MemberId.get(), "456");
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 0);
}

TEST_F(PickUpTest, AlwaysWeb1sCookieWhicheverBrowserCompleted) {
    engine1->cookie_override = u"user%5Fid=7;";
    engine2->cookie_override = u"other=1";
    engine2->navigate(u"about:<title>x</title>");
    engine2->complete();
    EXPECT_EQ(f.MemberId.get(), "7");
}

TEST_F(PickUpTest, CookieThatCannotBeReadKeepsTheMemberId) {
    engine1->cookie_override = u"user%5Fid=123;";
    f.act_cook.execute();
    engine1->failing = true;
    EXPECT_THROW(f.act_cook.execute(), ui::BrowserError);
    EXPECT_EQ(f.MemberId.get(), "123");
    EXPECT_EQ(stops, 0);
}

TEST_F(PickUpTest, ACookieThatAnotherSitesPageSetsNeitherLogsInNorStartsTheWorker) {
    web.add_page(u"http://evil.test/", u"<title>evil</title>", u"user%5Fid=666; x=1");
    show_in_web1(u"http://evil.test/");
    EXPECT_TRUE(f.MemberId.empty());
    EXPECT_EQ(starts, 0);
}

TEST_F(PickUpTest, PagesOfOtherHostsLeaveTheMemberAndTheWorkerAsTheyAre) {
    engine1->cookie_override = u"user%5Fid=123;";
    f.act_cook.execute();
    ASSERT_EQ(f.MemberId.get(), "123");
    for (const ui::WideString url : {u"http://evil.test/", u"about:<title>home</title>"}) {
        engine1->cookie_override = u"user%5Fid=666;"; // another member's id
        show_in_web1(url);
        EXPECT_EQ(f.MemberId.get(), "123");
        engine1->cookie_override = u"other=1"; // no member id at all
        f.act_cook.execute();
        EXPECT_EQ(f.MemberId.get(), "123");
    }
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 0);
    // Back on the site, its cookie decides again.
    show_in_web1(site_page);
    EXPECT_TRUE(f.MemberId.empty());
    EXPECT_EQ(stops, 1);
}

TEST_F(PickUpTest, TheKeyInsideAnotherCookieIsNoMemberId) {
    engine1->cookie_override = u"nick=user%5Fid=666; a=b";
    f.act_cook.execute();
    EXPECT_TRUE(f.MemberId.empty());
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(stops, 1);
}

} // namespace
} // namespace qirelo::app
