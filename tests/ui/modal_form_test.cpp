// Modal forms on the headless backend: the answer of a button with a modal
// result, of Enter and Escape, of the close button; calls a window posts to
// itself; a word-wrapped label's height following its lines.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/headless/backend.h"
#include "ui/label.h"

namespace qirelo::ui {
namespace {

class Dialog : public Form {
public:
    Dialog() : Form("Dialog") {
        ok.set_default(true);
        ok.set_modal_result(ModalResult::Ok);
        cancel.set_cancel(true);
        cancel.set_modal_result(ModalResult::Cancel);
        other.set_modal_result(ModalResult::No);
        set_active_control(&edit);
    }
    Edit edit{this, "edit"};
    Button ok{this, "ok"};
    Button cancel{this, "cancel"};
    Button other{this, "other"};
};

class ModalFormTest : public ::testing::Test {
protected:
    headless::Backend backend;
    Application application{backend};
    Dialog dialog;
};

TEST_F(ModalFormTest, ButtonsGiveTheirResultAfterTheirClickRuns) {
    std::vector<std::string> seen;
    dialog.ok.OnClick = [&](Component&) { seen.push_back(dialog.modal() ? "modal" : "not modal"); };
    backend.while_modal = [&](Form& form) {
        EXPECT_EQ(&form, &dialog);
        EXPECT_TRUE(dialog.visible());
        dialog.ok.click();
    };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
    EXPECT_EQ(seen, std::vector<std::string>{"modal"});
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(dialog.modal());
}

TEST_F(ModalFormTest, EnterTakesTheFocusedButtonElseTheDefaultEscapeTheCancelButton) {
    backend.while_modal = [&](Form& form) { EXPECT_TRUE(form.dialog_key(kVkReturn)); };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
    dialog.other.set_focus();
    EXPECT_EQ(application.show_modal(dialog), ModalResult::No);
    dialog.edit.set_focus();
    backend.while_modal = [&](Form& form) { EXPECT_TRUE(form.dialog_key(kVkEscape)); };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);

    // A disabled or hidden button takes no key.
    dialog.ok.set_enabled(false);
    dialog.cancel.hide();
    EXPECT_FALSE(dialog.dialog_key(kVkReturn));
    EXPECT_FALSE(dialog.dialog_key(kVkEscape));
    EXPECT_FALSE(dialog.dialog_key(kVkTab));
}

TEST_F(ModalFormTest, AltAndTheMarkedLetterClickThatButton) {
    dialog.ok.set_caption("[&O]OK");
    dialog.cancel.set_caption("R&&D &cancel");
    dialog.other.set_caption("&&no letter");
    backend.while_modal = [&](Form& form) {
        EXPECT_FALSE(form.accelerator_key('d')) << "\"&&\" marks nothing";
        EXPECT_FALSE(form.accelerator_key('n'));
        EXPECT_TRUE(form.accelerator_key('C'));
    };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
    backend.while_modal = [&](Form& form) { EXPECT_TRUE(form.accelerator_key('o')); };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
    dialog.ok.set_enabled(false);
    EXPECT_FALSE(dialog.accelerator_key('o'));
}

TEST_F(ModalFormTest, ClosingAnswersCancelUnlessOnCloseKeepsTheWindow) {
    bool keep = true;
    dialog.OnClose = [&](Component&, CloseAction& action) {
        if (keep)
            action = CloseAction::None;
    };
    backend.while_modal = [&](Form& form) {
        form.close();
        EXPECT_EQ(form.modal_result(), ModalResult::None);
        keep = false;
        form.close();
    };
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
}

TEST_F(ModalFormTest, AWindowNobodyAnswersIsAnErrorNotAHang) {
    EXPECT_THROW(application.show_modal(dialog), std::logic_error);
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(dialog.modal());
}

TEST_F(ModalFormTest, PostedCallsRunLaterInOrderAndTheirErrorsAreShown) {
    std::vector<int> ran;
    application.post([&] { ran.push_back(1); });
    application.post([&] { throw std::runtime_error("posted failure"); });
    application.post([&] { ran.push_back(3); });
    EXPECT_TRUE(ran.empty());
    application.process_messages();
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "posted failure.");
}

TEST(WrappedLabel, HeightFollowsItsLinesWithinItsWidth) {
    Form form("form");
    Label label(&form, "label");
    label.set_font(Font{"MS Sans Serif", 11});
    label.set_bounds(0, 0, 60, 13); // ten bytes a line at 6 pixels a byte
    label.set_word_wrap(true);
    label.set_caption("short");
    EXPECT_EQ(label.height(), 13);
    label.set_caption("one\r\rthree\r\nfour\nfive");
    EXPECT_EQ(label.height(), 5 * 13);
    label.set_caption(std::string(25, 'x'));
    EXPECT_EQ(label.height(), 3 * 13);
    EXPECT_EQ(label.width(), 60);
    label.set_auto_size(false);
    label.set_caption("a");
    EXPECT_EQ(label.height(), 3 * 13);
}

TEST(ClientSizedForm, KeepsTheLayoutsClientSizeWhateverItsBounds) {
    Form form("form");
    form.size_client(297, 141);
    EXPECT_TRUE(form.client_sized());
    form.set_bounds(10, 10, 100, 100);
    EXPECT_EQ(form.client_rect(), (Rect{0, 0, 297, 141}));
}

} // namespace
} // namespace qirelo::ui
