// The download method: files fetched next to the program, each kept only when
// its signature checks out, the wizard following, and the restart at the end.

#include "tests/upgrade/auto_updater/download_fixture.h"

#include <gmock/gmock.h>

#include "platform/profile/codepage.h"
#include "upgrade/messages/format_message.h"

namespace qirelo::upgrade::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kPayload(fixtures::kPayload);

TEST_F(DownloadTest, ThreeSignedFilesAreShownOneByOneAndRestartTheProgram) {
    internet.script({platform::fake::fake_ok(
                         DownloadInfo({Url("Qirelo.exe"), Url("helper.dll"), Url("readme.txt")})),
                     File(), Signature(), File(), Signature(), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    const std::string size = std::to_string(kPayload.size());
    EXPECT_THAT(
        notes,
        ElementsAre("ShowWizard", "wizard file 1 of 3 " + Url("Qirelo.exe"), "wizard size " + size,
                    "OnFileStart " + Url("Qirelo.exe") + " " + size + " yes",
                    "OnFileDone Qirelo.exe.uTMP", "wizard file 2 of 3 " + Url("helper.dll"),
                    "wizard size " + size, "OnFileStart " + Url("helper.dll") + " " + size + " yes",
                    "OnFileDone helper.dll.uTMP", "wizard file 3 of 3 " + Url("readme.txt"),
                    "wizard size " + size, "OnFileStart " + Url("readme.txt") + " " + size + " yes",
                    "OnFileDone readme.txt.uTMP", "wizard complete", "OnEndUpgrade",
                    "WriteUpdater " + updaterPath,
                    "StartUpdater " + updaterPath + " " + programPath + " /afterupgrade0",
                    "CloseApplication"));
    // The total grows with every step and reaches 100 only with the last block.
    ASSERT_FALSE(totals.empty());
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
    EXPECT_EQ(totals.back(), 100);
    EXPECT_EQ(std::count(totals.begin(), totals.end(), 100), 1);
    EXPECT_EQ(dialogs.wizard.progress.back(), std::make_pair(100, 100));
    EXPECT_THAT(dialogs.wizard.progress, Contains(std::make_pair(100, 33)));
    EXPECT_THAT(dialogs.wizard.progress, Contains(std::make_pair(100, 66)));
    // Each file waits, whole, for the updater; each was asked for with its signature.
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP", "helper.dll.uTMP", "readme.txt.uTMP"));
    EXPECT_EQ(ReadLocal("helper.dll.uTMP"), kPayload);
    EXPECT_THAT(internet.calls("OpenRequest"),
                ElementsAre(HasSubstr("qirelo_play.inf"), HasSubstr("/setup/Qirelo.exe "),
                            HasSubstr("/setup/Qirelo.exe.sig"), HasSubstr("/setup/helper.dll "),
                            HasSubstr("/setup/helper.dll.sig"), HasSubstr("/setup/readme.txt "),
                            HasSubstr("/setup/readme.txt.sig")));
    // The server's time, through the DOS form: even seconds.
    EXPECT_THAT(local.time_calls(), Contains(InFolder("Qirelo.exe.uTMP") + "=2026-12-08 09:30:06"));
    EXPECT_TRUE(updater.UpgradeCompleted());
}

TEST_F(DownloadTest, TheSizeRuleSkipsASameSizeFileButNeverTheProgramItself) {
    updater.MiscFilesUpgrade = TupMiscFilesBehavior::mfuOnlyIfSizeDifferent;
    WriteLocal("Qirelo.exe", kPayload);
    WriteLocal("HELPER.DLL", kPayload);
    WriteLocal("other.dat", kPayload + "longer");
    internet.script({platform::fake::fake_ok(
                         DownloadInfo({Url("qirelo.EXE"), Url("HELPER.DLL"), Url("other.dat")})),
                     File(), Signature(), File(), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    const std::string size = std::to_string(kPayload.size());
    EXPECT_THAT(notes, Contains("OnFileStart " + Url("qirelo.EXE") + " " + size + " yes"));
    EXPECT_THAT(notes, Contains("OnFileStart " + Url("HELPER.DLL") + " " + size + " no"));
    EXPECT_THAT(notes, Contains("OnFileStart " + Url("other.dat") + " " + size + " yes"));
    EXPECT_THAT(Downloads(), ElementsAre("other.dat.uTMP", "qirelo.EXE.uTMP"));
    EXPECT_TRUE(host.closed);
}

TEST_F(DownloadTest, ClosingTheCompletedWizardAndConfirmingAbortsWithoutARestart) {
    dialogs.atComplete = RecordingDialogs::AtComplete::closeAndConfirm;
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("wizard complete"));
    EXPECT_EQ(notes.back(), "OnAborted");
    EXPECT_THAT(Downloads(), IsEmpty());
    EXPECT_FALSE(host.closed);
    EXPECT_TRUE(updater.UpgradeAborted());
}

TEST_F(DownloadTest, AnEndHandlerThatClearsRestartImmediatelyKeepsTheFilesAndTheProgram) {
    updater.OnEndUpgrade = [this](TupAutoUpdater&, bool& restartImmediately) {
        restartImmediately = false;
        finished = true;
    };
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Not(Contains(HasSubstr("Updater"))));
    EXPECT_FALSE(host.closed);
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));

    // Restarted later by the program, which closes itself: the verified
    // download goes to the updater.
    updater.OnDoOwnCloseAppMethod = [this](TupAutoUpdater&) { notes.push_back("own close"); };
    updater.RestartApplication("/later");
    EXPECT_THAT(notes, Contains("StartUpdater " + updaterPath + " " + programPath + " /later"));
    EXPECT_EQ(notes.back(), "own close");
    EXPECT_FALSE(host.closed);
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
}

TEST_F(DownloadTest, ALostFileAnsweredYesIsSkippedAndTheRestGoesOn) {
    backend.boxes().answers = {ui::kIdYes};
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("gone.dll"), Url("Qirelo.exe")})),
                     Missing(), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnLostFile " + Url("gone.dll") + " 404"));
    EXPECT_THAT(notes, Contains("box Error #404: File gone.dll not found or inaccessible.\r\rTry "
                                "to skip this file and continue upgrade? flags=52"));
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
    EXPECT_TRUE(host.closed);
}

TEST_F(DownloadTest, TheLostFileQuestionIsCaptionedInTheUsersLanguage) {
    SetMessageLanguage(TWizardLanguage::wlChineseSimplified);
    backend.boxes().answers = {ui::kIdNo};
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("gone.dll")})), Missing()});

    EXPECT_TRUE(CheckAndDownload());

    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].caption, platform::gb("错误 #404"));
    EXPECT_EQ(backend.boxes().shown[0].text, FormatMessage(Message(28), {"gone.dll"}));
}

TEST_F(DownloadTest, ALostFileAnsweredNoAbortsAndDeletesWhatWasFetched) {
    backend.boxes().answers = {ui::kIdNo};
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe"), Url("gone.dll")})),
                     File(), Signature(), Missing()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnFileDone Qirelo.exe.uTMP"));
    EXPECT_THAT(notes, Contains("CloseWizard"));
    EXPECT_EQ(notes.back(), "OnAborted");
    EXPECT_THAT(Downloads(), IsEmpty());
    EXPECT_FALSE(host.closed);
}

// A file whose signature is missing, wrong or made with another key is never
// left in the folder; with nothing verified there is nothing to restart for.
TEST_F(DownloadTest, AFileWithoutAValidSignatureIsLostAndDeleted) {
    struct Case {
        std::string name;
        platform::fake::FakeAnswer file;
        platform::fake::FakeAnswer signature;
        int code;
    };
    const std::vector<Case> cases = {
        {"no signature", File(), Missing(), 404},
        {"another file's signature", File(kPayload + "tampered"), Signature(), kRefusedFileCode},
        {"another key", File(), Signature(fixtures::kPayloadOtherSig), kRefusedFileCode},
        {"not a signature", File(), Signature("garbage"), kRefusedFileCode},
        {"an empty file", File(""), Signature(), kRefusedFileCode},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        notes.clear();
        finished = false;
        internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), test.file,
                         test.signature});

        EXPECT_TRUE(CheckAndDownload());

        EXPECT_THAT(notes,
                    Contains("OnLostFile " + Url("Qirelo.exe") + " " + std::to_string(test.code)));
        EXPECT_THAT(notes, Not(Contains(HasSubstr("OnFileDone"))));
        EXPECT_THAT(Downloads(), IsEmpty());
        EXPECT_FALSE(host.closed);
    }
}

TEST_F(DownloadTest, AnUnverifiedFileNeverReachesTheUpdaterBesideVerifiedOnes) {
    backend.boxes().answers = {ui::kIdYes};
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("evil.dll"), Url("Qirelo.exe")})),
                     File(), Signature(fixtures::kPayloadOtherSig), File(), Signature()});
    // A leftover of an earlier, broken upgrade.
    WriteLocal("stale.dll.uTMP", "half a file");

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnLostFile " + Url("evil.dll") + " 0"));
    EXPECT_THAT(notes, Contains("box Error #0: File evil.dll not found or inaccessible.\r\rTry "
                                "to skip this file and continue upgrade? flags=52"));
    EXPECT_TRUE(host.closed);
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
}

TEST_F(DownloadTest, RefusedNamesAreLostFilesThatAreNeverFetched) {
    updater.ShowMessages.Exclude(TupShowMessages::mLostFile);
    updater.OnLostFile = [this](TupAutoUpdater&, const std::string& url, int code,
                                bool& continueUpgrade) {
        notes.push_back("OnLostFile " + url + " " + std::to_string(code));
        continueUpgrade = true;
    };
    const std::vector<std::string> refused = {
        Url(""),           Url("con"),        Url("nul.txt"),    Url("star*.exe"),
        Url(" lead.exe"),  Url("trail.exe."), Url("a.exe.uTMP"), "file:///C:/Windows/calc.exe",
        Url("Qirelo.exe"), Url("QIRELO.EXE"), Url("com1.dll"),   "ftp://127.0.0.1/setup/x.exe"};
    internet.script({platform::fake::fake_ok(DownloadInfo(refused)), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    for (std::size_t i = 0; i < refused.size(); ++i) {
        if (i == 8) {
            continue; // the first Qirelo.exe is fetched
        }
        EXPECT_THAT(notes, Contains("OnLostFile " + refused[i] + " 0")) << refused[i];
    }
    // Only the first Qirelo.exe and its signature were asked for.
    EXPECT_EQ(internet.calls("OpenRequest").size(), 3u);
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
    EXPECT_TRUE(host.closed);
}

TEST_F(DownloadTest, AFileLargerThanAnyUpdateIsRefusedBeforeItIsWritten) {
    platform::fake::FakeAnswer huge = File();
    huge.headers[0].second = std::to_string(kLargestProgramFile + 1);
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), huge});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnLostFile " + Url("Qirelo.exe") + " 0"));
    EXPECT_THAT(Downloads(), IsEmpty());
}

// A server that announces no length is stopped as soon as the file grows past
// the limit; what it wrote goes.
TEST_F(DownloadTest, AFileThatGrowsPastTheLimitIsStoppedAndDeleted) {
    updater.LargestFileSize = 2000;
    platform::fake::FakeAnswer endless = File();
    endless.headers.erase(endless.headers.begin()); // no Content-Length
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), endless});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnLostFile " + Url("Qirelo.exe") + " 0"));
    EXPECT_THAT(notes, Not(Contains(HasSubstr("OnFileDone"))));
    EXPECT_THAT(Downloads(), IsEmpty());
    EXPECT_FALSE(host.closed);
}

TEST_F(DownloadTest, ABrokenTransferEndsTheUpgradeKeepingOnlyVerifiedFiles) {
    platform::fake::FakeAnswer broken = File();
    broken.cut_off = true;
    broken.headers[0].second = std::to_string(kPayload.size() * 2);
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe"), Url("big.dat")})),
                     File(), Signature(), broken});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnConnLost"));
    EXPECT_THAT(notes,
                Contains(HasSubstr("box Application update wizard: Connection with remote")));
    EXPECT_THAT(notes, Contains("CloseWizard"));
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
    EXPECT_FALSE(host.closed);
}

TEST_F(DownloadTest, AServerThatStopsAnsweringEndsTheUpgradeAsBroken) {
    platform::fake::FakeAnswer gone;
    gone.send_fails = true;
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe"), Url("b.dll")})),
                     File(), Signature(), gone});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("OnHostUnreachable " + Url("b.dll")));
    EXPECT_THAT(notes, Contains("CloseWizard"));
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
    EXPECT_FALSE(host.closed);
    EXPECT_FALSE(updater.DownloadRunning());
}

TEST_F(DownloadTest, WithoutTheWizardTheRestartFollowsTheLastFile) {
    updater.Wizard.Enabled = false;
    // A URL without a scheme is a web address.
    internet.script({platform::fake::fake_ok(DownloadInfo({"127.0.0.1:12860/setup/Qirelo.exe"})),
                     File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes,
                ElementsAre("OnFileStart 127.0.0.1:12860/setup/Qirelo.exe " +
                                std::to_string(kPayload.size()) + " yes",
                            "OnFileDone Qirelo.exe.uTMP", "OnEndUpgrade",
                            "WriteUpdater " + updaterPath,
                            "StartUpdater " + updaterPath + " " + programPath + " /afterupgrade0",
                            "CloseApplication"));
}

TEST_F(DownloadTest, ThePasswordWindowOffersTheStoredNameAndItsCancelAbortsTheUpgrade) {
    platform::fake::FakeAnswer denied = platform::fake::fake_ok("denied");
    denied.status = 401;
    denied.headers.push_back({"WWW-Authenticate", "Basic realm=\"updates\""});
    updater.HTTPUsername = "member";
    dialogs.passwordGiven = true;
    dialogs.typedUser = "member2";
    dialogs.typedPassword = "secret";
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), denied, File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("AskPassword Qirelo.exe user=member password="));
    EXPECT_EQ(updater.HTTPUsername, "member2");
    EXPECT_EQ(updater.HTTPPassword, "secret");
    EXPECT_TRUE(host.closed);

    // Cancelled on the info file itself: the check ends, nothing found.
    notes.clear();
    dialogs.passwordGiven = false;
    internet.script({denied});
    EXPECT_FALSE(updater.CheckUpdate());
    EXPECT_THAT(notes,
                ElementsAre("AskPassword qirelo_play.inf user=member2 password=", "OnAborted"));
}

TEST_F(DownloadTest, TheQuestionWindowDecidesAndNoWindowsMeansNoDownload) {
    updater.ShowMessages.Include(TupShowMessages::mAskUpgrade);
    updater.OnLaterUpgrade = [this](TupAutoUpdater&) { notes.push_back("OnLaterUpgrade"); };
    dialogs.upgradeAgreed = false;
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")}) + "#message={fixes}")});

    EXPECT_TRUE(updater.CheckUpdate());
    EXPECT_THAT(notes, ElementsAre("AskUpgrade fixes", "OnLaterUpgrade"));

    notes.clear();
    dialogs.upgradeAgreed = true;
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")}) + "#message={fixes}"), File(),
         Signature()});
    EXPECT_TRUE(CheckAndDownload());
    EXPECT_EQ(notes.front(), "AskUpgrade fixes");
    EXPECT_TRUE(host.closed);
    std::filesystem::remove(folder / "Qirelo.exe.uTMP");

    // A program without windows puts a download off and reports nothing found.
    TupAutoUpdater windowless{{mainThread, internet, local, shell, online, host, updaterPath}};
    windowless.InfoFileURL = updater.InfoFileURL;
    windowless.VersionControl = TupVersionControl::byNumber;
    windowless.VersionNumber = "2013.8.9.0";
    windowless.ShowMessages = {};
    bool later = false;
    windowless.OnLaterUpgrade = [&](TupAutoUpdater&) { later = true; };
    internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")}))});
    EXPECT_FALSE(windowless.CheckUpdate());
    EXPECT_TRUE(later);
    EXPECT_THAT(Downloads(), IsEmpty());
}

TEST_F(DownloadTest, AProgramClosedInTheMiddleOfAFileLeavesNoPartOfIt) {
    {
        TupAutoUpdater closing{
            {mainThread, internet, local, shell, online, host, updaterPath, &dialogs, &signatures}};
        closing.InfoFileURL = updater.InfoFileURL;
        closing.VersionControl = TupVersionControl::byNumber;
        closing.VersionNumber = "2013.8.9.0";
        platform::fake::FakeAnswer slow = File();
        slow.stall = true; // the body comes, then nothing more
        slow.headers[0].second = std::to_string(kPayload.size() * 2);
        internet.script({platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), slow});
        EXPECT_TRUE(closing.CheckUpdate());
        while (!Exists("Qirelo.exe.uTMP") || closing.CurrentLocalFile().empty()) {
            mainThread.ServeFor(std::chrono::milliseconds(5));
        }
        Watchdog watchdog(std::chrono::seconds(10), "closing during a download");
    }
    EXPECT_THAT(Downloads(), IsEmpty());
}

// The check button pressed again while the download runs (say, while the
// completed wizard waits) must not start a second download over the first.
TEST_F(DownloadTest, NoCheckStartsWhileADownloadRuns) {
    updater.OnFileDone = [this](TupAutoUpdater& sender, const std::string&) {
        notes.push_back(std::string("check during the download: ") +
                        (sender.CheckUpdate() ? "true" : "false"));
    };
    dialogs.wizard.OnComplete = [this] {
        notes.push_back(std::string("check at the end: ") +
                        (updater.CheckUpdate() ? "true" : "false"));
        dialogs.Close(false);
    };
    internet.script(
        {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), File(), Signature()});

    EXPECT_TRUE(CheckAndDownload());

    EXPECT_THAT(notes, Contains("check during the download: false"));
    EXPECT_THAT(notes, Contains("check at the end: false"));
    EXPECT_EQ(internet.calls("OpenRequest").size(), 3u);
    EXPECT_THAT(Downloads(), ElementsAre("Qirelo.exe.uTMP"));
    EXPECT_TRUE(host.closed);
    EXPECT_FALSE(updater.DownloadRunning());
}

TEST_F(DownloadTest, AfterRestartFiresOnlyForTheRestartParameters) {
    int fired = 0;
    updater.OnAfterRestart = [&](TupAutoUpdater&) { ++fired; };

    updater.AfterFormLoaded({});
    updater.AfterFormLoaded({"/other"});
    updater.AfterFormLoaded({"/afterupgrade0", "/afterupgrade"});
    EXPECT_EQ(fired, 0);
    updater.AfterFormLoaded({"/afterupgrade"});
    EXPECT_EQ(fired, 1);
}

} // namespace
} // namespace qirelo::upgrade::testing
