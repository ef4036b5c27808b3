// A modal form on the Qt peers: Qt's modality keeps the other windows from
// input while the loop runs; Enter and Escape that the focused control leaves
// reach the window's default and cancel buttons; a word-wrapped label tells
// the layout the height of its lines.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "qt_application.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/qt/backend.h"
#include "ui/qt/peers.h"

namespace qirelo::ui::qt {
namespace {

class Dialog : public Form {
public:
    Dialog() : Form("Dialog") {
        set_border_style(BorderStyle::Dialog);
        size_client(240, 120);
        text.set_bounds(10, 5, 200, 13);
        text.set_word_wrap(true);
        edit.set_bounds(10, 40, 200, 21);
        ok.set_bounds(40, 80, 75, 23);
        ok.set_default(true);
        ok.set_modal_result(ModalResult::Ok);
        cancel.set_bounds(130, 80, 75, 23);
        cancel.set_cancel(true);
        cancel.set_modal_result(ModalResult::Cancel);
        set_active_control(&edit);
    }
    Label text{this, "text"};
    Edit edit{this, "edit"};
    Button ok{this, "ok"};
    Button cancel{this, "cancel"};
};

class QtModalForm : public testing::Test {
protected:
    QtModalForm() : application(backend) { backend.realize(dialog); }

    void PressLater(int key) {
        application.post([this, key] {
            modal_inside = widget_of(dialog)->windowModality() == Qt::ApplicationModal;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(widget_of(dialog.edit), &press);
        });
    }

    QApplication& qt = test_support::TheQtApplication(); // before any widget
    Backend backend;
    Application application;
    Dialog dialog;
    bool modal_inside = false;
};

TEST_F(QtModalForm, EscapeAndEnterInTheEditAnswerCancelAndOk) {
    PressLater(Qt::Key_Escape);
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
    EXPECT_TRUE(modal_inside);
    EXPECT_FALSE(widget_of(dialog)->isVisible());
    PressLater(Qt::Key_Return);
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
}

TEST_F(QtModalForm, ClickedButtonEndsTheLoopWithItsResult) {
    application.post([this] { static_cast<QPushButton*>(widget_of(dialog.cancel))->click(); });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
    EXPECT_TRUE(static_cast<QPushButton*>(widget_of(dialog.ok))->isDefault());
}

TEST_F(QtModalForm, ClientSizeIsTheLayoutsAndAWrappedLabelTakesItsLinesHeight) {
    EXPECT_EQ(widget_of(dialog)->size(), QSize(240, 120));
    dialog.text.set_caption("one");
    const int one_line = dialog.text.height();
    dialog.text.set_caption(std::string(20, 'w') + " " + std::string(20, 'w') + " " +
                            std::string(20, 'w'));
    EXPECT_GT(dialog.text.height(), one_line);
    EXPECT_EQ(widget_of(dialog.text)->height(), dialog.text.height());
    dialog.size_client(240, 150);
    EXPECT_EQ(widget_of(dialog)->size(), QSize(240, 150));
}

} // namespace
} // namespace qirelo::ui::qt
