#pragma once

// The one Qt application object of the Qt tests, made before any widget,
// ready for the browser engine.

#include <QApplication>
#include <QLoggingCategory>

#include "ui/qt/browser_peer.h"

namespace qirelo::ui::qt::test_support {

inline QApplication& TheQtApplication() {
    static int argc = 1;
    static char name[] = "ui_qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        BrowserPeer::prepare_engine();
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace qirelo::ui::qt::test_support
