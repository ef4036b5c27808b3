// The browser shell on the headless main window with scripted browsers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../form1_fixture.h"
#include "app/browser/home_page.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;
using platform::gb;
using platform::utf16_from_gb;

struct BrowserShellTest : ::testing::Test, testing::Form1Harness {
    TForm1& f = create();
    const std::string site = "http://" + config::site_host();
    const std::string play_url = site + "/m0/12/play_345.html";

    ui::WideString home() {
        return utf16_from_gb(browser::BuildHomePage(config::site_host(), config::mobile_host()));
    }
    // Loads `url` in web1 with the title `title`, completed.
    void load_in_web1(const std::string& url, const std::string& title) {
        web.add_page(utf16_from_gb(url), utf16_from_gb("<title>" + title + "</title>"));
        f.web1.Navigate(utf16_from_gb(url));
        engine1->complete();
    }
    bool double_clicked() const { return !platform.calls.effects().empty(); }
    void pick_tab(ui::TabSheet& tab) {
        f.pag1.select_tab(static_cast<std::size_t>(tab.page_index()));
    }
};

TEST_F(BrowserShellTest, ShowingTheWindowLoadsTheHomePageInBothBrowsers) {
    f.show_form();
    EXPECT_EQ(engine1->navigations, std::vector{home()});
    EXPECT_EQ(engine2->navigations, std::vector{home()});
}

// --- Titles, the play page and Timer1 ----------------------------------------

TEST_F(BrowserShellTest, TitleGoesToTheShowingTabCutTo40Utf16Units) {
    f.pag1.set_active_page(&f.tb1);
    const std::u16string title =
        u"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十ABC";
    f.web1.title_change(title);
    EXPECT_EQ(
        f.tb1.caption(),
        gb("一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十"));
    f.web2.title_change(u"short"); // either browser's title goes to the showing tab
    EXPECT_EQ(f.tb1.caption(), "short");
    EXPECT_EQ(f.tb2.caption(), gb("空白页"));
}

TEST_F(BrowserShellTest, OnTheProgramTabTitlesChangeNoCaptionAndClearTheFlag) {
    f.PlayPageFlag = 1;
    f.Timer1.set_enabled(true);
    f.web1.title_change(u"anything");
    EXPECT_EQ(f.tb1.caption(), gb("空白页"));
    EXPECT_EQ(f.PlayPageFlag, 0);
    EXPECT_FALSE(f.Timer1.enabled());
}

TEST_F(BrowserShellTest, PlayPageArmsTimer1AndTwelveSecondsLaterAction1Runs) {
    f.pag1.set_active_page(&f.tb1);
    load_in_web1(play_url, "video");
    EXPECT_TRUE(f.Timer1.enabled());
    EXPECT_EQ(f.PlayPageFlag, 0); // consumed by the completion
    clock().advance(11999ms);
    EXPECT_FALSE(double_clicked());
    clock().advance(1ms);
    EXPECT_TRUE(double_clicked());
    EXPECT_EQ(f.window_state(), ui::WindowState::Maximized);
}

TEST_F(BrowserShellTest, AnotherPageWithinTwelveSecondsDisarmsTheFullScreen) {
    f.pag1.set_active_page(&f.tb1);
    load_in_web1(play_url, "video");
    clock().advance(5s);
    load_in_web1(site + "/index.html", "home");
    EXPECT_FALSE(f.Timer1.enabled());
    clock().advance(30s);
    EXPECT_FALSE(double_clicked());
}

TEST_F(BrowserShellTest, PlayPageTestUsesTheShowingTabsBrowser) {
    f.pag1.set_active_page(&f.tb2);
    load_in_web1(play_url, "video"); // web1 loads a play page while tb2 shows
    EXPECT_FALSE(f.Timer1.enabled());
}

// --- Document completion, tabs and the address bar ---------------------------

TEST_F(BrowserShellTest, CompletedDocumentShowsTheShowingBrowsersAddress) {
    f.pag1.set_active_page(&f.tb1);
    load_in_web1(site + "/a.html", "a");
    EXPECT_EQ(f.edit_url.text(), site + "/a.html");
    EXPECT_FALSE(f.edit_url.read_only());
    EXPECT_EQ(f.CurrentBrowser, &f.web1);
}

TEST_F(BrowserShellTest, AboutPagesShowAsAboutBlank) {
    f.pag1.set_active_page(&f.tb1);
    f.web1.Navigate(u"about:<title>x</title>hello");
    engine1->complete();
    EXPECT_EQ(f.edit_url.text(), "about:blank");
}

TEST_F(BrowserShellTest, PickingATabFollowsItsBrowser) {
    f.pag1.set_active_page(&f.tb1);
    load_in_web1(site + "/a.html", "a");
    pick_tab(f.tb2);
    EXPECT_EQ(f.CurrentBrowser, &f.web2);
    EXPECT_EQ(f.edit_url.text(), "");
    pick_tab(f.tb3);
    EXPECT_TRUE(f.edit_url.read_only());
    EXPECT_EQ(f.edit_url.text(), "");
    EXPECT_EQ(f.CurrentBrowser, &f.web2); // unchanged on the program tab
    pick_tab(f.tb1);
    EXPECT_EQ(f.edit_url.text(), site + "/a.html");
    EXPECT_EQ(f.CurrentBrowser, &f.web1);
}

TEST_F(BrowserShellTest, AboutBlankInTheBarLoadsTheHomePageAndKeepsReadingAboutBlank) {
    pick_tab(f.tb2);
    f.edit_url.set_text("about:blank");
    std::uint16_t enter = ui::kVkReturn;
    f.edit_url.key_down(enter);
    EXPECT_EQ(engine2->navigations, std::vector{home()});
    EXPECT_EQ(f.edit_url.text(), "about:blank");
}

TEST_F(BrowserShellTest, OtherAddressesGoAsTyped) {
    pick_tab(f.tb1);
    f.edit_url.set_text(" www.example.com ");
    f.edit_url.click_button();
    f.edit_url.set_text("about:<b>x</b>");
    f.edit_url.click_button();
    EXPECT_EQ(engine1->navigations,
              (std::vector<ui::WideString>{u" www.example.com ", u"about:<b>x</b>"}));
    engine1->complete();
    EXPECT_EQ(f.edit_url.text(), "about:blank");
}

TEST_F(BrowserShellTest, EnteringTheBarSelectsAllOfIt) {
    pick_tab(f.tb1);
    f.edit_url.set_text("http://x/");
    f.edit_url.set_focus();
    EXPECT_EQ(f.edit_url.selected_text(), "http://x/");
}

TEST_F(BrowserShellTest, ProgramTabBarIsReadOnlyAndItsButtonsLoadNothing) {
    pick_tab(f.tb1);
    pick_tab(f.tb3);
    EXPECT_TRUE(f.edit_url.read_only());
    f.edit_url.click_button();
    f.spb1.click();
    f.btn1.click();
    f.btn2.click();
    f.btn_c.click();
    EXPECT_EQ(f.edit_url.text(), "about:blank");
    EXPECT_THAT(engine1->calls, ::testing::IsEmpty());
    EXPECT_THAT(engine2->calls, ::testing::IsEmpty());
}

TEST_F(BrowserShellTest, CrossStopsAndLoadsTheHomePageInTheShowingBrowser) {
    pick_tab(f.tb2);
    f.btn_c.click();
    EXPECT_EQ(engine2->calls, (std::vector<std::string>{"Stop", "Navigate"}));
    EXPECT_EQ(engine2->navigations, std::vector{home()});
    EXPECT_EQ(f.edit_url.text(), "about:blank");
    EXPECT_THAT(engine1->calls, ::testing::IsEmpty());
}

TEST_F(BrowserShellTest, BackForwardAndStopActOnTheShowingBrowser) {
    pick_tab(f.tb1);
    load_in_web1(site + "/a.html", "a");
    load_in_web1(site + "/b.html", "b");
    EXPECT_TRUE(f.btn1.enabled());
    EXPECT_FALSE(f.btn2.enabled());
    f.btn1.click();
    engine1->complete();
    EXPECT_EQ(f.edit_url.text(), site + "/a.html");
    EXPECT_FALSE(f.btn1.enabled());
    EXPECT_TRUE(f.btn2.enabled());
    f.btn2.click();
    f.spb1.click();
    EXPECT_FALSE(engine1->loading());
    EXPECT_THAT(engine2->calls, ::testing::IsEmpty());
}

TEST_F(BrowserShellTest, EitherBrowserDrivesTheBackAndForwardButtons) {
    f.web2.command_state_change(ui::kCommandNavigateBack, true);
    EXPECT_TRUE(f.btn1.enabled());
    f.web1.command_state_change(ui::kCommandNavigateForward, true);
    EXPECT_TRUE(f.btn2.enabled());
    f.web1.command_state_change(0xFFFFFFFF, false); // other commands change nothing
    f.web1.command_state_change(3, false);
    EXPECT_TRUE(f.btn1.enabled());
    EXPECT_TRUE(f.btn2.enabled());
}

TEST_F(BrowserShellTest, ProgressFillsEachBrowsersOwnGauge) {
    f.web1.progress_change(50, 200);
    EXPECT_EQ(f.Gauge1.max_value(), 200);
    EXPECT_EQ(f.Gauge1.percent_done(), 25);
    EXPECT_EQ(f.Gauge2.percent_done(), 0);
    f.web2.progress_change(10, 10);
    EXPECT_EQ(f.Gauge2.percent_done(), 100);
    f.web1.progress_change(-1, 200);
    EXPECT_EQ(f.Gauge1.percent_done(), 0);
}

TEST_F(BrowserShellTest, StatusTextOfEitherBrowserGoesToTheSecondPanel) {
    f.web2.status_text_change(u"正在打开");
    EXPECT_EQ(f.sb1.panel(1).text, gb("正在打开"));
    EXPECT_EQ(f.sb1.panel(0).text, gb("版本2013.8.9.0"));
}

TEST_F(BrowserShellTest, NewWindowsAlternateBetweenTheTwoTabs) {
    engine1->open_new_window(u"http://x/1");
    EXPECT_EQ(engine2->navigations, std::vector<ui::WideString>{u"http://x/1"});
    EXPECT_EQ(f.pag1.active_page(), &f.tb2);
    engine2->open_new_window(u"http://x/2");
    EXPECT_EQ(engine1->navigations, std::vector<ui::WideString>{u"http://x/2"});
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    EXPECT_THAT(engine1->new_top_level_windows, ::testing::IsEmpty());
    EXPECT_THAT(engine2->new_top_level_windows, ::testing::IsEmpty());
}

// --- The message hook ---------------------------------------------------------

struct MessageHookTest : BrowserShellTest {
    static constexpr std::intptr_t kExtended = 0x01000000;

    // Runs one message through the application's loop.
    void run(std::uint32_t message, std::uintptr_t key, std::intptr_t key_data = 0) {
        backend.post(ui::Message{0, message, key, key_data});
        application.handle_message();
    }
    void hold_ctrl(bool down) {
        auto table = platform.keyboard.table();
        table[ui::kVkControl] = down ? 0x80 : 0;
        platform.keyboard.set_keyboard_state(table);
    }
    std::size_t offered() const { return engine1->accelerator_messages.size(); }
};

TEST_F(MessageHookTest, TabAndEnterAreOfferedToTheBrowserAndMarkedHandled) {
    run(ui::kKeyDown, ui::kVkTab);
    run(ui::kChar, ui::kVkReturn);
    EXPECT_EQ(offered(), 2u);
    // Not taken by the browser: translated and dispatched here, once each.
    EXPECT_EQ(backend.translated.size(), 2u);
    EXPECT_EQ(backend.dispatched.size(), 2u);
}

TEST_F(MessageHookTest, KeyTakenByTheBrowserGoesNoFurther) {
    engine1->accelerator_takes = true;
    run(ui::kKeyDown, ui::kVkTab);
    EXPECT_EQ(offered(), 1u);
    EXPECT_THAT(backend.translated, ::testing::IsEmpty());
    EXPECT_THAT(backend.dispatched, ::testing::IsEmpty());
}

TEST_F(MessageHookTest, PlainLettersAndDigitsTakeTheNormalPath) {
    run(ui::kKeyDown, 'A');
    run(ui::kKeyDown, '7');
    EXPECT_EQ(offered(), 0u);
    EXPECT_EQ(backend.dispatched.size(), 2u); // through the loop itself
}

TEST_F(MessageHookTest, CtrlCombinationsAreOffered) {
    hold_ctrl(true);
    run(ui::kKeyDown, 'C');
    hold_ctrl(false);
    run(ui::kKeyDown, 'C');
    EXPECT_EQ(offered(), 1u);
}

TEST_F(MessageHookTest, EditingKeysOnlyWithTheExtendedFlag) {
    for (std::uintptr_t key : {ui::kVkBack, ui::kVkLeft, ui::kVkRight, ui::kVkDelete}) {
        run(ui::kKeyDown, key, 1);
        run(ui::kKeyDown, key, kExtended | 1);
    }
    run(ui::kKeyDown, 38, kExtended); // Up and Down are not among them
    run(ui::kKeyDown, 40, kExtended);
    EXPECT_EQ(offered(), 4u);
    for (const ui::Message& message : engine1->accelerator_messages)
        EXPECT_NE(message.lparam & kExtended, 0);
}

TEST_F(MessageHookTest, KeysGoToTheCurrentBrowser) {
    pick_tab(f.tb2);
    run(ui::kKeyDown, ui::kVkTab);
    EXPECT_EQ(offered(), 0u);
    EXPECT_EQ(engine2->accelerator_messages.size(), 1u);
}

TEST_F(MessageHookTest, FailingBrowserCostsNoKeys) {
    engine1->failing = true;
    run(ui::kKeyDown, ui::kVkTab);
    EXPECT_TRUE(backend.boxes().shown.empty());
    EXPECT_EQ(backend.dispatched.size(), 1u); // the normal path
}

TEST_F(MessageHookTest, OtherMessagesAreLeftAlone) {
    hold_ctrl(true);
    run(0x200, ui::kVkTab); // a mouse move
    run(0x109, ui::kVkTab);
    EXPECT_EQ(offered(), 0u);
    run(ui::kKeyLast, ui::kVkTab); // the last keyboard message still counts
    EXPECT_EQ(offered(), 1u);
}

} // namespace
} // namespace qirelo::app
