#include "ui/qt/browser_peer.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <memory>
#include <set>

#include "ui/qt/cookie_jar.h"
#include "ui/qt/text.h"

namespace qirelo::ui::qt {
namespace {

// How long a page may take to answer for its cookie before the read fails.
constexpr int kCookieWaitMs = 1000;
constexpr int kCookieAskAgainMs = 250;

std::set<BrowserPeer*>& peers() {
    static std::set<BrowserPeer*> all;
    return all;
}

QString& about_base() {
    static QString base = QStringLiteral("about:blank");
    return base;
}

// One profile for both browsers, as one browser control shares its cookies.
QWebEngineProfile& shared_profile();

CookieJar& shared_cookies() {
    static CookieJar* jar = new CookieJar(*shared_profile().cookieStore());
    return *jar;
}

QWebEngineProfile& shared_profile() {
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile(); // off the record
        p->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
        p->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        p->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
        return p;
    }();
    return *profile;
}

} // namespace

class BrowserPage final : public QWebEnginePage {
public:
    BrowserPage(BrowserPeer& peer, QObject* parent)
        : QWebEnginePage(&shared_profile(), parent), peer_(peer) {}

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType, bool main_frame) override {
        if (main_frame)
            peer_.main_frame_navigation(std::exchange(peer_.loading_html_, false));
        return true;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return peer_.new_window(); }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    BrowserPeer& peer_;
};

void BrowserPeer::set_about_base(const QString& base) {
    about_base() = base;
}

BrowserPeer::BrowserPeer(Backend& backend, WebBrowser& widget, QWidget* parent)
    : backend_(backend), widget_(widget), view_(new QWebEngineView(parent)),
      page_(new BrowserPage(*this, view_)), mirror_(backend, widget, view_) {
    shared_cookies(); // watching the store from the first page on
    view_->setPage(page_);
    peers().insert(this);
    QObject::connect(page_, &QWebEnginePage::loadStarted, [this] { load_started(); });
    QObject::connect(page_, &QWebEnginePage::loadProgress,
                     [this](int p) { raise([this, p] { widget_.progress_change(p, 100); }); });
    QObject::connect(page_, &QWebEnginePage::loadFinished, [this](bool) { load_finished(); });
    QObject::connect(page_, &QWebEnginePage::titleChanged, [this](const QString& title) {
        title_raised_ = true;
        raise([this, text = wide(title)] { widget_.title_change(text); });
    });
    QObject::connect(page_, &QWebEnginePage::urlChanged, [this](const QUrl&) { report_history(); });
    QObject::connect(page_, &QWebEnginePage::linkHovered, [this](const QString& url) {
        raise([this, text = wide(url)] { widget_.status_text_change(text); });
    });
    QObject::connect(page_, &QWebEnginePage::fullScreenRequested,
                     [](QWebEngineFullScreenRequest request) { request.accept(); });
}

BrowserPeer::~BrowserPeer() {
    peers().erase(this);
}

// The engine reports from inside its own tasks, where it cannot answer a
// script (the cookie read of a DocumentComplete handler would wait for
// nothing): every event is raised from the loop instead, in the order of the
// reports.
void BrowserPeer::raise(std::function<void()> event) {
    QMetaObject::invokeMethod(
        view_, [this, event = std::move(event)] { backend_.guard(event); }, Qt::QueuedConnection);
}

void BrowserPeer::navigate(const WideString& url) {
    const QString address = qstring(url);
    if (address.startsWith(QStringLiteral("about:"), Qt::CaseInsensitive) &&
        address.compare(QStringLiteral("about:blank"), Qt::CaseInsensitive) != 0) {
        loading_html_ = true;
        about_location_ = address;
        page_->setHtml(address.mid(6), QUrl(about_base()));
        return;
    }
    const QUrl target(address);
    if (!target.isValid())
        throw BrowserError("Navigate: not an address: " + gb_text(address));
    page_->load(target);
}

void BrowserPeer::main_frame_navigation(bool ours) {
    if (!ours)
        about_location_.clear();
}

void BrowserPeer::go_back() {
    page_->triggerAction(QWebEnginePage::Back);
}

void BrowserPeer::go_forward() {
    page_->triggerAction(QWebEnginePage::Forward);
}

void BrowserPeer::stop() {
    page_->triggerAction(QWebEnginePage::Stop);
}

WideString BrowserPeer::location_url() {
    if (!about_location_.isEmpty())
        return wide(about_location_);
    return wide(page_->url().toString());
}

// The page answers on the main thread's event loop, so the read waits in a
// loop of its own. The answer may come late (after a time-out, or from a
// document that has gone): it then finds nobody waiting. A document that is
// replaced before it answers has no cookie left to give: the read is empty.
// A page that does not answer in time is answered for from the profile's
// cookie store.
WideString BrowserPeer::document_cookie() {
    struct Answer {
        QPointer<QEventLoop> waiting;
        bool given = false;
        QString cookie;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop wait;
    answer->waiting = &wait;
    bool replaced = false;
    const auto navigation = QObject::connect(page_, &QWebEnginePage::loadStarted, &wait, [&] {
        replaced = true;
        wait.quit();
    });
    auto ask = [page = QPointer<BrowserPage>(page_), answer] {
        if (!page || answer->given)
            return;
        page->runJavaScript(QStringLiteral("document.cookie"), [answer](const QVariant& result) {
            if (answer->given)
                return;
            answer->cookie = result.toString();
            answer->given = true;
            if (answer->waiting)
                answer->waiting->quit();
        });
    };
    // A script sent while the page is settling may go unanswered for good:
    // the question is asked again until an answer comes.
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, &wait, ask);
    again.start(kCookieAskAgainMs);
    ask();
    QTimer::singleShot(kCookieWaitMs, &wait, &QEventLoop::quit);
    if (!answer->given)
        wait.exec();
    QObject::disconnect(navigation);
    answer->waiting = nullptr;
    if (answer->given)
        return wide(answer->cookie);
    if (replaced)
        return WideString();
    // The engine sometimes holds a script's answer back while the page's
    // completion is being handled; the profile's cookies give the same text.
    return wide(shared_cookies().document_cookie(page_->url()));
}

BrowserAutomation BrowserPeer::application() {
    return BrowserAutomation(std::shared_ptr<void>(this, [](void*) {}));
}

// The browser control's accelerators are Qt's shortcuts here: the key is
// always left to its normal dispatch, which reaches the page.
bool BrowserPeer::translate_accelerator(const Message&) {
    return false;
}

QWebEnginePage* BrowserPeer::new_window() {
    BrowserAutomation target;
    bool cancel = false;
    backend_.guard([&] { widget_.new_window2(target, cancel); });
    if (cancel)
        return nullptr;
    auto* other = static_cast<BrowserPeer*>(target.get());
    if (!other || !peers().count(other))
        return nullptr; // no browser of ours was given: no new top-level window
    other->about_location_.clear();
    return other->page_;
}

void BrowserPeer::load_started() {
    title_raised_ = false;
    raise([this, text = wide(page_->requestedUrl().toString())] {
        widget_.status_text_change(text);
    });
    raise([this] { widget_.progress_change(0, 100); });
}

void BrowserPeer::report_history() {
    QWebEngineHistory* history = page_->history();
    raise([this, back = history->canGoBack()] {
        widget_.command_state_change(kCommandNavigateBack, back);
    });
    raise([this, forward = history->canGoForward()] {
        widget_.command_state_change(kCommandNavigateForward, forward);
    });
}

void BrowserPeer::load_finished() {
    if (!title_raised_) {
        title_raised_ = true;
        raise([this, text = wide(page_->title())] { widget_.title_change(text); });
    }
    report_history();
    raise([this] { widget_.progress_change(100, 100); });
    const BrowserAutomation frame = application();
    const WideString url = location_url();
    raise([this, frame, url] { widget_.document_complete(frame, url); });
    raise([this] { widget_.progress_change(-1, 100); });
    raise([this] { widget_.status_text_change(WideString()); });
    // A document that has loaded in the browser on show takes the keyboard,
    // so a player's keys reach it without a click first.
    raise([this] {
        if (view_->isVisible())
            view_->setFocus(Qt::OtherFocusReason);
    });
}

} // namespace qirelo::ui::qt
