#pragma once

// The widgets' 8-bit GB2312 text and Qt's QString, both ways.

#include <QString>

#include <string>

#include "platform/profile/codepage.h"
#include "ui/web_browser.h"

namespace qirelo::ui::qt {

inline QString qstring(const std::string& gb) {
    return QString::fromStdString(platform::utf8_from_gb(gb));
}

// A text shown in lines (a label, a message box): Windows breaks lines at
// CR, LF and CR LF alike, Qt only at LF.
inline QString qlines(const std::string& gb) {
    QString text = qstring(gb);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

inline std::string gb_text(const QString& text) {
    return platform::gb_from_utf8(text.toStdString());
}

inline QString qstring(const WideString& utf16) {
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

inline WideString wide(const QString& text) {
    return WideString(reinterpret_cast<const char16_t*>(text.utf16()),
                      static_cast<std::size_t>(text.size()));
}

} // namespace qirelo::ui::qt
