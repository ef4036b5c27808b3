#pragma once

// The cookies of a browser profile as its pages see them: kept in step with
// the profile's cookie store, and joined for a page address the way
// document.cookie joins them ("a=1; b=2": cookies of the host and its
// domains whose path covers the page's, not HttpOnly, not expired, secure
// ones only over https; longer paths first, then older ones first).

#include <QDateTime>
#include <QNetworkCookie>
#include <QUrl>

#include <cstdint>
#include <vector>

class QWebEngineCookieStore;

namespace qirelo::ui::qt {

class CookieJar {
public:
    CookieJar() = default;
    // Follows `store` from now on (and loads what it already holds).
    explicit CookieJar(QWebEngineCookieStore& store);

    void add(const QNetworkCookie& cookie);
    void remove(const QNetworkCookie& cookie);

    QString document_cookie(const QUrl& page,
                            const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // Counts the changes: the same number means the same cookies.
    std::uint64_t revision() const { return revision_; }

private:
    struct Entry {
        QNetworkCookie cookie;
        std::uint64_t created;
    };
    std::vector<Entry> entries_;
    std::uint64_t next_ = 0;
    std::uint64_t revision_ = 0;
};

} // namespace qirelo::ui::qt
