// The auto-updater's windows on the headless backend: the test plays their
// user through the backend's while_modal and the message boxes' answers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/headless/backend.h"
#include "ui/message.h"
#include "ui/message_box.h"
#include "upgrade/dialogs/upgrade_windows.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {
namespace {

class UpgradeWindowsTest : public ::testing::Test {
protected:
    UpgradeWindowsTest() {
        SetMessageLanguage(TWizardLanguage::wlEnglish);
        application.set_title("Qirelo");
    }
    ~UpgradeWindowsTest() override { SetMessageLanguage(TWizardLanguage::wlAuto); }

    // The wizard with events that write down what they hear.
    TupWizardForm& ShowWizard(const TupWizardSettings& settings = {}) {
        WizardEvents events;
        events.Closed = [this] { heard.push_back("Closed"); };
        events.AbortConfirmed = [this] { heard.push_back("AbortConfirmed"); };
        windows.ShowWizard(settings, events);
        return *windows.WizardForm();
    }

    std::vector<ui::headless::RecordingMessageBoxes::Shown>& boxes() {
        return backend.boxes().shown;
    }

    ui::headless::Backend backend;
    ui::Application application{backend};
    UpgradeWindows windows{application};
    std::vector<std::string> heard;
};

TEST_F(UpgradeWindowsTest, ALongPasswordTextMakesTheWindowTallerByTheLabelsHeight) {
    int shortHeight = 0, shortLabel = 0, longHeight = 0, longLabel = 0;
    std::string user, password;
    backend.while_modal = [&](ui::Form&) {
        TupPasswordForm& form = *windows.PasswordForm();
        EXPECT_EQ(form.BottomPanel.height(), 98);
        EXPECT_EQ(form.BottomPanel.top() + 98, form.client_rect().height);
        EXPECT_EQ(form.client_rect().height, form.Label1.top() + form.Label1.height() + 98);
        EXPECT_EQ(form.client_rect().width, 297);
        (shortHeight ? longHeight : shortHeight) = form.client_rect().height;
        (shortLabel ? longLabel : shortLabel) = form.Label1.height();
        form.CancelBtn.click();
    };
    windows.AskPassword("qirelo.exe", user, password);
    windows.AskPassword(std::string(400, 'x') + ".exe", user, password);
    EXPECT_GT(longLabel, shortLabel);
    EXPECT_EQ(longHeight - shortHeight, longLabel - shortLabel);
}

TEST_F(UpgradeWindowsTest, PasswordWindowOffersTheStoredNameAndAnEmptyPassword) {
    std::string user = "member", password = "old secret";
    backend.while_modal = [&](ui::Form&) {
        TupPasswordForm& form = *windows.PasswordForm();
        EXPECT_EQ(form.caption(), "Enter password");
        EXPECT_NE(form.Label1.caption().find("\"Qirelo.exe\""), std::string::npos)
            << "message 29 names the URL's file: " << form.Label1.caption();
        EXPECT_EQ(form.UsernameEdit.text(), "member");
        EXPECT_EQ(form.PasswordEdit.text(), "");
        EXPECT_EQ(form.PasswordEdit.password_char(), '*');
        EXPECT_EQ(form.active_control(), &form.UsernameEdit);
        form.UsernameEdit.set_text("other");
        form.PasswordEdit.type_text("typed");
        form.CancelBtn.click();
    };
    EXPECT_FALSE(windows.AskPassword("http://host/setup/Qirelo.exe", user, password));
    EXPECT_EQ(user, "member");
    EXPECT_EQ(password, "old secret");
    EXPECT_EQ(windows.PasswordForm(), nullptr) << "freed once answered";

    backend.while_modal = [&](ui::Form&) {
        TupPasswordForm& form = *windows.PasswordForm();
        EXPECT_EQ(form.PasswordEdit.text(), "") << "never the password given last time";
        form.UsernameEdit.set_text("other");
        form.PasswordEdit.type_text("typed");
        EXPECT_TRUE(form.dialog_key(ui::kVkReturn)); // Enter: the default button, OK
    };
    EXPECT_TRUE(windows.AskPassword("setup\\Qirelo.exe", user, password));
    EXPECT_EQ(user, "other");
    EXPECT_EQ(password, "typed");
}

TEST_F(UpgradeWindowsTest, PasswordWindowEscapeAndCloseButtonAnswerCancel) {
    std::string user = "member", password;
    backend.while_modal = [&](ui::Form& form) {
        windows.PasswordForm()->PasswordEdit.type_text("typed");
        EXPECT_TRUE(form.dialog_key(ui::kVkEscape));
    };
    EXPECT_FALSE(windows.AskPassword("Qirelo.exe", user, password));
    backend.while_modal = [&](ui::Form& form) { form.close(); };
    EXPECT_FALSE(windows.AskPassword("Qirelo.exe", user, password));
    EXPECT_EQ(password, "");
}

TEST_F(UpgradeWindowsTest, QuestionWindowAnswersYesOnlyForYes) {
    backend.while_modal = [&](ui::Form&) { windows.QuestionForm()->YesBtn.click(); };
    EXPECT_TRUE(windows.AskUpgrade("Version 2"));
    backend.while_modal = [&](ui::Form&) { windows.QuestionForm()->LaterBtn.click(); };
    EXPECT_FALSE(windows.AskUpgrade("Version 2"));
    backend.while_modal = [&](ui::Form& form) { EXPECT_TRUE(form.dialog_key(ui::kVkEscape)); };
    EXPECT_FALSE(windows.AskUpgrade("Version 2"));
    backend.while_modal = [&](ui::Form& form) { form.close(); };
    EXPECT_FALSE(windows.AskUpgrade("Version 2"));
    backend.while_modal = [&](ui::Form& form) { EXPECT_TRUE(form.dialog_key(ui::kVkReturn)); };
    EXPECT_TRUE(windows.AskUpgrade(""));
    EXPECT_EQ(windows.QuestionForm(), nullptr);
}

TEST_F(UpgradeWindowsTest, QuestionWindowFramesTheMessageStaysOnTopAndGrowsWithIt) {
    int plainHeight = 0, plainLabel = 0;
    backend.while_modal = [&](ui::Form&) {
        TupQuestionForm& form = *windows.QuestionForm();
        EXPECT_EQ(form.caption(), "Application update wizard");
        EXPECT_EQ(form.Label1.caption(), "A newer version of Qirelo was released.\n\nVersion 2\n\n"
                                         "Do you want to update your version with the latest one?");
        EXPECT_TRUE(form.stay_on_top());
        EXPECT_EQ(form.Label1.width(), 318 + 6 - 45 - 11);
        EXPECT_EQ(form.BottomPanel.height(), 45);
        EXPECT_EQ(form.client_rect().height, form.Label1.top() + form.Label1.height() + 45);
        plainHeight = form.client_rect().height;
        plainLabel = form.Label1.height();
        form.LaterBtn.click();
    };
    windows.AskUpgrade("Version 2");
    backend.while_modal = [&](ui::Form&) {
        TupQuestionForm& form = *windows.QuestionForm();
        EXPECT_EQ(form.client_rect().height - plainHeight, form.Label1.height() - plainLabel);
        EXPECT_GT(form.Label1.height(), plainLabel);
        form.LaterBtn.click();
    };
    windows.AskUpgrade(std::string(600, 'v'));
}

TEST_F(UpgradeWindowsTest, TitleNamingTheDevelopmentToolIsReplaced) {
    application.set_title("Project1 MinGW-w64 build");
    backend.while_modal = [&](ui::Form&) {
        EXPECT_EQ(
            windows.QuestionForm()->Label1.caption().rfind("A newer version of <AppTitle> was", 0),
            0u);
        windows.QuestionForm()->LaterBtn.click();
    };
    windows.AskUpgrade("");
}

TEST_F(UpgradeWindowsTest, WizardShowsTheDownloadTexts) {
    TupWizardForm& wizard = ShowWizard();
    EXPECT_TRUE(wizard.visible());
    EXPECT_TRUE(wizard.stay_on_top());
    EXPECT_EQ(wizard.caption(), "Application update wizard");
    EXPECT_EQ(wizard.WizardTitle.caption(), "Downloading files...");
    EXPECT_EQ(wizard.LCurrentFile.caption(), " Current file ");
    EXPECT_EQ(wizard.LAllFiles.caption(), " All files ");
    EXPECT_EQ(wizard.LEstimatedTime.caption(), "Preparing. . .");
    EXPECT_EQ(wizard.AboutLabel.caption(), " Qirelo Auto Updater ");
    EXPECT_EQ(wizard.AboutShadow.caption(), wizard.AboutLabel.caption());
    EXPECT_FALSE(wizard.FinishBtn.enabled());
    EXPECT_EQ(wizard.FinishBtn.caption(), "&Next >");

    UpgradeWizard& shown = wizard;
    shown.ShowFile("http://host/setup/Qirelo.exe", 2, 3);
    shown.ShowFileSize(1536);
    shown.ShowProgress(40, 73, 12.34, 3725);
    EXPECT_EQ(wizard.FileURL.text(), "http://host/setup/Qirelo.exe");
    EXPECT_EQ(wizard.AllDownloading.caption(), "Downloading 2 of 3");
    EXPECT_EQ(wizard.LFileSize.caption(), "File size: 1.5 Kb");
    EXPECT_EQ(wizard.LTransferRate.caption(), "Transfer rate: 12.3 Kb/s");
    EXPECT_EQ(wizard.LEstimatedTime.caption(), "Estimated time left: 1:02:05");
    EXPECT_EQ(wizard.ProgressCurrentFile.position(), 40);
    EXPECT_EQ(wizard.ProgressAllFiles.position(), 73);

    wizard.FileURL.type_char('x');
    EXPECT_EQ(wizard.FileURL.text(), "http://host/setup/Qirelo.exe") << "typed keys are swallowed";
    EXPECT_FALSE(wizard.FileURL.tab_stop());
}

TEST_F(UpgradeWindowsTest, CloseQuestionNoKeepsTheWizardYesClosesThenAborts) {
    TupWizardForm& wizard = ShowWizard();
    backend.boxes().answers = {ui::kIdNo};
    wizard.close();
    application.process_messages();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Message(27));
    EXPECT_EQ(boxes()[0].caption, "Qirelo");
    EXPECT_EQ(boxes()[0].flags, ui::kMbYesNo | ui::kMbIconQuestion);
    EXPECT_TRUE(heard.empty());
    ASSERT_NE(windows.WizardForm(), nullptr);
    EXPECT_TRUE(windows.WizardForm()->visible());

    backend.boxes().answers = {ui::kIdYes};
    windows.WizardForm()->close();
    EXPECT_TRUE(heard.empty()) << "the window goes from the loop, after its close";
    application.process_messages();
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed", "AbortConfirmed"}));
    EXPECT_EQ(windows.WizardForm(), nullptr);
}

TEST_F(UpgradeWindowsTest, CancelAsksTheSameQuestionOnceItsClickIsOver) {
    TupWizardForm& wizard = ShowWizard();
    backend.boxes().answers = {ui::kIdNo, ui::kIdYes};
    wizard.CancelBtn.click();
    EXPECT_TRUE(boxes().empty()) << "posted, not asked inside the click";
    application.process_messages();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Message(27));
    EXPECT_TRUE(heard.empty());

    EXPECT_TRUE(windows.WizardForm()->dialog_key(ui::kVkEscape)); // Escape: the cancel button
    application.process_messages();
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed", "AbortConfirmed"}));
}

TEST_F(UpgradeWindowsTest, CompletedWizardFinishesWithoutQuestionButCloseStillAsks) {
    TupWizardForm& wizard = ShowWizard();
    windows.CompleteWizard();
    EXPECT_EQ(wizard.WizardTitle.caption(), "Upgrade completed!");
    EXPECT_EQ(wizard.AfterNote.caption(), "The update of Qirelo has been successfully completed."
                                          "\r\rPress the OK button to restart program.");
    EXPECT_FALSE(wizard.LCurrentFile.visible());
    EXPECT_FALSE(wizard.LAllFiles.visible());
    EXPECT_FALSE(wizard.CancelBtn.enabled());
    EXPECT_TRUE(wizard.FinishBtn.enabled());
    EXPECT_EQ(wizard.FinishBtn.caption(), "&OK");
    EXPECT_EQ(wizard.active_control(), &wizard.FinishBtn);
    EXPECT_FALSE(wizard.dialog_key(ui::kVkEscape)) << "Cancel is disabled";

    backend.boxes().answers = {ui::kIdNo};
    wizard.close();
    EXPECT_EQ(boxes().size(), 1u) << "asked in the completed state too";
    EXPECT_TRUE(wizard.visible());

    EXPECT_TRUE(wizard.dialog_key(ui::kVkReturn)); // the focused OK
    application.process_messages();
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed"}));
    EXPECT_EQ(windows.WizardForm(), nullptr);
}

TEST_F(UpgradeWindowsTest, CloseWizardFreesItAtOnceAndOnlyOnce) {
    ShowWizard();
    windows.CloseWizard();
    EXPECT_EQ(windows.WizardForm(), nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed"}));
    windows.CloseWizard();
    application.process_messages();
    EXPECT_EQ(heard.size(), 1u);

    // Stopped while its close question is up: it goes after the question.
    TupWizardForm& again = ShowWizard();
    backend.boxes().while_shown = [&](const auto&) { windows.CloseWizard(); };
    backend.boxes().answers = {ui::kIdYes};
    again.close();
    application.process_messages();
    EXPECT_EQ(windows.WizardForm(), nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed", "Closed"}));
}

TEST_F(UpgradeWindowsTest, HideFileLocationShowsSizeRateAndTimeOnly) {
    TupWizardSettings settings;
    settings.HideFileLocation = true;
    settings.StayOnTop = false;
    TupWizardForm& wizard = ShowWizard(settings);
    EXPECT_FALSE(wizard.FileURL.visible());
    EXPECT_FALSE(wizard.LDownloadingFileFrom.visible());
    EXPECT_EQ(wizard.LFileSize.top(), 14);
    EXPECT_EQ(wizard.LTransferRate.top(), 30);
    EXPECT_EQ(wizard.LEstimatedTime.top(), 46);
    EXPECT_EQ(wizard.ProgressCurrentFile.top(), 66);
    EXPECT_EQ(wizard.LCurrentFile.bounds(), (ui::Rect{136, 44, 319, 95}));
    EXPECT_FALSE(wizard.stay_on_top());
}

TEST_F(UpgradeWindowsTest, WizardPictureFromAFileOrTheBuiltInOne) {
    const ui::Bitmap builtIn = ShowWizard().Image1.picture();
    EXPECT_EQ(builtIn.width, 118);
    EXPECT_EQ(builtIn.height, 218);
    windows.CloseWizard();

    TupWizardSettings settings;
    settings.Pic118x218 = "no such picture.bmp";
    EXPECT_EQ(ShowWizard(settings).Image1.picture(), builtIn);
    windows.CloseWizard();

    // One orange pixel, 24 bits: the file header, the info header (width
    // 1, height 1, one plane, 24 bits), the pixel as blue, green, red and
    // the row's padding.
    std::vector<unsigned char> bmp = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    const std::vector<unsigned char> info = {40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
    bmp.insert(bmp.end(), info.begin(), info.end());
    bmp.resize(54, 0);
    bmp.insert(bmp.end(), {0x00, 0x80, 0xFF, 0});
    const std::string path =
        (std::filesystem::temp_directory_path() / "qirelo_wizard_picture.bmp").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    settings.Pic118x218 = path;
    const ui::Bitmap own = ShowWizard(settings).Image1.picture();
    std::filesystem::remove(path);
    ASSERT_EQ(own.width, 1);
    EXPECT_EQ(own.at(0, 0), 0xFF8000u);
    EXPECT_TRUE(windows.WizardForm()->Image1.stretch()) << "stretched over the 118 x 218 place";
}

} // namespace
} // namespace qirelo::upgrade
