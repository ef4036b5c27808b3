#pragma once

// The one Qt application object of the Qt tests, made before any widget.

#include <QApplication>

namespace qirelo::ui::qt::test_support {

inline QApplication& TheQtApplication() {
    static int argc = 1;
    static char name[] = "ui_qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace qirelo::ui::qt::test_support
