// CheckUpdate over the scripted internet: what each answer of the update
// server leads to (events, boxes, the browser, the result).

#include "tests/upgrade/auto_updater/auto_updater_fixture.h"
#include "tests/upgrade/support/watchdog.h"

#include <gmock/gmock.h>

#include <fstream>

namespace qirelo::upgrade::testing {
namespace {

using namespace std::chrono_literals;
using platform::fake::fake_ok;
using platform::fake::FakeAnswer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr unsigned kErrorBox = 0x10;

std::string ErrorBox(int message) {
    return "box " + Message(message) + " flags=" + std::to_string(kErrorBox);
}

bool Check(TupAutoUpdater& updater) {
    Watchdog watchdog(10s, "CheckUpdate");
    return updater.CheckUpdate();
}

TEST_F(AutoUpdaterTest, ANewerVersionOpensTheDownloadPageAndReportsTrue) {
    internet.script({fake_ok(RedirectInfo("2013.8.10") + "#message={get it\r\nnow}")});

    EXPECT_TRUE(Check(updater));

    EXPECT_THAT(notes,
                ElementsAre("OnBeginUpgrade method=2 files=1 message=get it\r\nnow", OpenedPage()));
    EXPECT_TRUE(updater.UpdateFound());
    EXPECT_EQ(updater.WaitingChecks(), 0u);
    // The info file is asked for past every cache, into memory.
    const auto requests = internet.calls("OpenRequest");
    ASSERT_THAT(requests, ElementsAre(::testing::HasSubstr("GET /setup/qirelo_play.inf")));
    const auto flags = std::stoul(requests[0].substr(requests[0].find("flags=") + 6), nullptr, 16);
    EXPECT_NE(flags & platform::inet::flags::kPragmaNoCache, 0u);
}

TEST_F(AutoUpdaterTest, NoNewerVersionOrNoFileIsSilentAndFalse) {
    for (const std::string& info :
         {RedirectInfo("2013.8.9.0"), RedirectInfo("2013.8.9"), RedirectInfo("2013.8.8.99"),
          std::string("#version=2014.1.1.0\r\n#method=2\r\n"), std::string("#method=2\r\n")}) {
        SCOPED_TRACE(info);
        notes.clear();
        internet.script({fake_ok(info)});
        EXPECT_FALSE(Check(updater));
        EXPECT_THAT(notes, ElementsAre("OnNoUpdateAvailable"));
    }
}

TEST_F(AutoUpdaterTest, NoUpdateBoxOnlyWhenAsked) {
    updater.ShowMessages.Include(TupShowMessages::mNoUpdateAvailable);
    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});

    EXPECT_FALSE(Check(updater));

    EXPECT_THAT(notes, ElementsAre("OnNoUpdateAvailable",
                                   "box " + Message(24) + " flags=" + std::to_string(0x40)));
}

TEST_F(AutoUpdaterTest, AMissingInfoFileIsSilentUnlessAsked) {
    FakeAnswer missing = fake_ok("not here");
    missing.status = 404;
    internet.script({missing});
    EXPECT_FALSE(Check(updater));
    EXPECT_THAT(notes, ElementsAre("OnNoInfoFile"));

    notes.clear();
    updater.ShowMessages.Include(TupShowMessages::mNoInfoFile);
    EXPECT_FALSE(Check(updater));
    EXPECT_THAT(notes, ElementsAre("OnNoInfoFile", ErrorBox(25)));
    EXPECT_EQ(backend.boxes().shown.back().caption, Message(0));
}

TEST_F(AutoUpdaterTest, AChangedWizardLanguageTakesEffectAtTheNextCheck) {
    FakeAnswer missing = fake_ok("not here");
    missing.status = 404;
    updater.ShowMessages.Include(TupShowMessages::mNoInfoFile);
    const std::string english = Message(25);

    updater.Wizard.Language = TWizardLanguage::wlChineseSimplified;
    internet.script({missing});
    EXPECT_FALSE(Check(updater));
    EXPECT_EQ(backend.boxes().shown.back().text, StringResource(41000 + 50 * 22 + 25));
    EXPECT_NE(backend.boxes().shown.back().text, english);

    // Back to wlAuto: the system's language again, whatever it is.
    updater.Wizard.Language = TWizardLanguage::wlAuto;
    internet.script({missing});
    EXPECT_FALSE(Check(updater));
    EXPECT_EQ(MessageLanguage(), LanguageFromLangId(SystemDefaultLangId()));
}

TEST_F(AutoUpdaterTest, AnUnreachableServerIsSilentUnlessAsked) {
    FakeAnswer refused;
    refused.send_fails = true;
    internet.script({refused});
    EXPECT_FALSE(Check(updater));
    EXPECT_THAT(notes, ElementsAre(std::string("OnHostUnreachable ") + kInfoUrl + " 127.0.0.1"));

    notes.clear();
    updater.ShowMessages.Include(TupShowMessages::mHostUnreachable);
    EXPECT_FALSE(Check(updater));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1], "box Host http://127.0.0.1 unreachable.\r\rPlease check your Internet "
                        "connection and\rtry to upgrade this software again later. flags=16");
}

TEST_F(AutoUpdaterTest, ATransferBrokenAfterTheAnswerShowsTheLostConnectionBox) {
    FakeAnswer broken = fake_ok(RedirectInfo("2013.8.10"));
    broken.headers = {{"Content-Length", "4000"}};
    broken.cut_off = true;
    internet.script({broken});

    EXPECT_FALSE(Check(updater));

    EXPECT_THAT(notes, ElementsAre("OnConnLost", ErrorBox(30)));
    EXPECT_FALSE(updater.CheckingInfoFile());
}

TEST_F(AutoUpdaterTest, AHandlerThatClearsCanUpgradeMakesTheCheckFalse) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    updater.OnBeginUpgrade = [](TupAutoUpdater&, const std::string&, TupUpgradeMethod,
                                const std::vector<std::string>&,
                                bool& canUpgrade) { canUpgrade = false; };

    EXPECT_FALSE(Check(updater));

    EXPECT_THAT(notes, ElementsAre("OnLaterUpgrade"));
}

TEST_F(AutoUpdaterTest, ThePasswordRequestRetriesWithTheHandlersCredentials) {
    FakeAnswer denied = fake_ok("denied");
    denied.status = 401;
    denied.headers.push_back({"WWW-Authenticate", "Basic realm=\"updates\""});
    internet.script({denied, fake_ok(RedirectInfo("2013.8.10"))});
    std::vector<std::string> realms;
    updater.OnPasswordRequest = [&](TupAutoUpdater& sender, const std::string& realm,
                                    bool& tryAgain) {
        realms.push_back(realm);
        sender.HTTPUsername = "member";
        sender.HTTPPassword = "secret";
        tryAgain = true;
    };

    EXPECT_TRUE(Check(updater));
    EXPECT_THAT(realms, ElementsAre("updates"));

    // Refused: the 401 ends the check as a missing info file.
    notes.clear();
    internet.script({denied});
    updater.OnPasswordRequest = nullptr;
    EXPECT_FALSE(Check(updater));
    EXPECT_THAT(notes, ElementsAre("OnNoInfoFile"));
}

// Without windows (the component's dialogs) nobody can answer the question:
// the upgrade is put off, though a newer version was found.
TEST_F(AutoUpdaterTest, AskingBeforeTheUpgradeWithoutWindowsPutsItOff) {
    updater.ShowMessages.Include(TupShowMessages::mAskUpgrade);
    internet.script({fake_ok(RedirectInfo("2013.8.10") + "#message={fixes}")});

    EXPECT_TRUE(Check(updater));

    EXPECT_THAT(notes,
                ElementsAre("OnBeginUpgrade method=2 files=1 message=fixes", "OnLaterUpgrade"));
    EXPECT_THAT(backend.boxes().shown, IsEmpty());
}

TEST_F(AutoUpdaterTest, AnInfoFileCannotMakeTheClientRunALocalProgram) {
    internet.script(
        {fake_ok("#version=2014.1.1.0\r\n#method=2\r\n#url=file:///C:/Windows/calc.exe\r\n")});

    EXPECT_TRUE(Check(updater));

    EXPECT_THAT(log.effects(), IsEmpty());
}

TEST_F(AutoUpdaterTest, AnErrorInAnEventHandlerIsShownAndEndsTheWait) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    updater.OnBeginUpgrade = [](TupAutoUpdater&, const std::string&, TupUpgradeMethod,
                                const std::vector<std::string>&,
                                bool&) { throw std::runtime_error("handler failed"); };

    Check(updater);

    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "handler failed.");
    EXPECT_EQ(updater.WaitingChecks(), 0u);
}

TEST_F(AutoUpdaterTest, ATerminatingApplicationEndsTheWait) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    internet.pause_at("SendRequest");
    std::thread terminate([&] {
        ASSERT_TRUE(internet.wait_paused());
        application.synchronize([&] { application.terminate(); });
    });

    EXPECT_FALSE(Check(updater));

    terminate.join();
    updater.Stop(false, true);
    internet.release();
}

TEST_F(AutoUpdaterTest, CreationDeletesALeftOverUpdater) {
    std::ofstream(updaterPath) << "old updater";
    ASSERT_TRUE(std::filesystem::exists(updaterPath));

    TupAutoUpdater second{{mainThread, internet, local, shell, online, host, updaterPath}};

    EXPECT_FALSE(std::filesystem::exists(updaterPath));
    EXPECT_EQ(second.OutputFileAttributes().Incomplete,
              (TFileAttributes{TFileAttribute::atrArchive, TFileAttribute::atrHidden,
                               TFileAttribute::atrTemporary}));
    EXPECT_EQ(second.VersionDate, FormatVersionDate(Today()));
}

} // namespace
} // namespace qirelo::upgrade::testing
