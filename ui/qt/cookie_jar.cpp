#include "ui/qt/cookie_jar.h"

#include <QWebEngineCookieStore>

#include <algorithm>

namespace qirelo::ui::qt {
namespace {

bool same_cookie(const QNetworkCookie& a, const QNetworkCookie& b) {
    return a.name() == b.name() && a.domain().compare(b.domain(), Qt::CaseInsensitive) == 0 &&
           a.path() == b.path();
}

bool domain_matches(const QString& host, QString domain) {
    if (domain.isEmpty())
        return false;
    const bool host_only = !domain.startsWith('.');
    if (!host_only)
        domain = domain.mid(1);
    if (host.compare(domain, Qt::CaseInsensitive) == 0)
        return true;
    return !host_only && host.endsWith('.' + domain, Qt::CaseInsensitive);
}

bool path_matches(const QString& page_path, QString cookie_path) {
    if (cookie_path.isEmpty())
        cookie_path = QStringLiteral("/");
    if (page_path == cookie_path)
        return true;
    if (!page_path.startsWith(cookie_path))
        return false;
    return cookie_path.endsWith('/') || page_path.at(cookie_path.size()) == '/';
}

} // namespace

CookieJar::CookieJar(QWebEngineCookieStore& store) {
    QObject::connect(&store, &QWebEngineCookieStore::cookieAdded,
                     [this](const QNetworkCookie& cookie) { add(cookie); });
    QObject::connect(&store, &QWebEngineCookieStore::cookieRemoved,
                     [this](const QNetworkCookie& cookie) { remove(cookie); });
    store.loadAllCookies();
}

void CookieJar::add(const QNetworkCookie& cookie) {
    ++revision_;
    for (Entry& entry : entries_)
        if (same_cookie(entry.cookie, cookie)) {
            entry.cookie = cookie; // a replaced cookie keeps its creation time
            return;
        }
    entries_.push_back(Entry{cookie, next_++});
}

void CookieJar::remove(const QNetworkCookie& cookie) {
    ++revision_;
    std::erase_if(entries_, [&](const Entry& entry) { return same_cookie(entry.cookie, cookie); });
}

QString CookieJar::document_cookie(const QUrl& page, const QDateTime& now) const {
    const QString host = page.host();
    const QString path = page.path().isEmpty() ? QStringLiteral("/") : page.path();
    const bool secure_page = page.scheme() == QLatin1String("https");
    std::vector<const Entry*> shown;
    for (const Entry& entry : entries_) {
        const QNetworkCookie& c = entry.cookie;
        if (c.isHttpOnly() || (c.isSecure() && !secure_page))
            continue;
        if (!c.isSessionCookie() && c.expirationDate() <= now)
            continue;
        if (domain_matches(host, c.domain()) && path_matches(path, c.path()))
            shown.push_back(&entry);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const Entry* a, const Entry* b) {
        if (a->cookie.path().size() != b->cookie.path().size())
            return a->cookie.path().size() > b->cookie.path().size();
        return a->created < b->created;
    });
    QStringList parts;
    for (const Entry* entry : shown)
        parts << QString::fromLatin1(entry->cookie.name() + '=' + entry->cookie.value());
    return parts.join(QStringLiteral("; "));
}

} // namespace qirelo::ui::qt
