// The program tab of the main window on Qt's fonts, which are not the ones its
// layout was measured with: every label, check box and group box shows its
// whole text, inside the box it belongs to and clear of the texts beside it.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/fake/services.h"
#include "qt_application.h"
#include "ui/application.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/qt/backend.h"
#include "ui/qt/peers.h"

namespace qirelo::ui::qt {
namespace {

struct Text {
    std::string name;
    QWidget* widget;
    QRect shown; // where the text itself lies
};

void collect_texts(const Control& control, std::vector<Text>& texts) {
    QWidget* widget = widget_of(control);
    if (widget && (dynamic_cast<const Label*>(&control) || dynamic_cast<const CheckBox*>(&control)))
        texts.push_back({control.name(), widget, QRect(widget->pos(), widget->sizeHint())});
    for (const Control* child : control.children())
        collect_texts(*child, texts);
}

TEST(QtMainWindowTexts, EveryTextOfTheProgramTabShowsWhole) {
    test_support::TheQtApplication();
    Backend backend;
    Application application(backend);
    platform::fake::FakePlatform platform;
    platform::Services services = platform.services();
    app::TForm1 form(application, services);
    realize(backend, form.tb3); // the program tab alone: no browser engine

    std::vector<Text> texts;
    collect_texts(form.tb3, texts);
    ASSERT_GE(texts.size(), 8u);
    for (const Text& text : texts) {
        EXPECT_GE(text.widget->width(), text.shown.width()) << text.name;
        EXPECT_GE(text.widget->height(), text.shown.height()) << text.name;
        if (dynamic_cast<QGroupBox*>(text.widget->parentWidget())) {
            EXPECT_TRUE(text.widget->parentWidget()->rect().contains(text.shown))
                << text.name << " leaves its group box";
        }
        for (const Text& other : texts) {
            if (&other != &text && other.widget->parentWidget() == text.widget->parentWidget()) {
                EXPECT_FALSE(text.shown.intersects(other.shown))
                    << text.name << " / " << other.name;
            }
        }
    }
    for (const GroupBox* box : {&form.GroupBox1, &form.GroupBox2, &form.GroupBox3}) {
        auto* widget = static_cast<QGroupBox*>(widget_of(*box));
        EXPECT_GE(widget->width(), widget->fontMetrics().horizontalAdvance(widget->title()))
            << box->name();
    }
}

} // namespace
} // namespace qirelo::ui::qt
