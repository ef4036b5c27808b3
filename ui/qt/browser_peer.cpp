#include "ui/qt/browser_peer.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <set>

#include "ui/qt/text.h"

namespace qirelo::ui::qt {
namespace {

// How long a page may take to answer for its cookie before the read fails.
constexpr int kCookieWaitMs = 10000;

std::set<BrowserPeer*>& peers() {
    static std::set<BrowserPeer*> all;
    return all;
}

QString& about_base() {
    static QString base = QStringLiteral("about:blank");
    return base;
}

// One profile for both browsers, as one browser control shares its cookies.
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
    view_->setPage(page_);
    peers().insert(this);
    QObject::connect(page_, &QWebEnginePage::loadStarted, [this] { load_started(); });
    QObject::connect(page_, &QWebEnginePage::loadProgress,
                     [this](int p) { raise([&] { widget_.progress_change(p, 100); }); });
    QObject::connect(page_, &QWebEnginePage::loadFinished, [this](bool) { load_finished(); });
    QObject::connect(page_, &QWebEnginePage::titleChanged, [this](const QString& title) {
        title_raised_ = true;
        raise([&] { widget_.title_change(wide(title)); });
    });
    QObject::connect(page_, &QWebEnginePage::urlChanged, [this](const QUrl&) { report_history(); });
    QObject::connect(page_, &QWebEnginePage::linkHovered, [this](const QString& url) {
        raise([&] { widget_.status_text_change(wide(url)); });
    });
    QObject::connect(page_, &QWebEnginePage::fullScreenRequested,
                     [](QWebEngineFullScreenRequest request) { request.accept(); });
}

BrowserPeer::~BrowserPeer() {
    peers().erase(this);
}

void BrowserPeer::raise(const std::function<void()>& event) {
    backend_.guard(event);
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

WideString BrowserPeer::document_cookie() {
    QEventLoop wait;
    bool answered = false;
    QString cookie;
    QPointer<BrowserPage> page = page_;
    page_->runJavaScript(QStringLiteral("document.cookie"), [&](const QVariant& result) {
        cookie = result.toString();
        answered = true;
        wait.quit();
    });
    QTimer::singleShot(kCookieWaitMs, &wait, &QEventLoop::quit);
    if (!answered)
        wait.exec();
    if (!answered || !page)
        throw BrowserError("The page did not give its cookie");
    return wide(cookie);
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
    raise([&] { widget_.new_window2(target, cancel); });
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
    raise([&] { widget_.status_text_change(wide(page_->requestedUrl().toString())); });
    raise([&] { widget_.progress_change(0, 100); });
}

void BrowserPeer::report_history() {
    QWebEngineHistory* history = page_->history();
    raise([&] { widget_.command_state_change(kCommandNavigateBack, history->canGoBack()); });
    raise([&] { widget_.command_state_change(kCommandNavigateForward, history->canGoForward()); });
}

void BrowserPeer::load_finished() {
    if (!title_raised_) {
        title_raised_ = true;
        raise([&] { widget_.title_change(wide(page_->title())); });
    }
    report_history();
    raise([&] { widget_.progress_change(100, 100); });
    const BrowserAutomation frame = application();
    const WideString url = location_url();
    raise([&] { widget_.document_complete(frame, url); });
    raise([&] { widget_.progress_change(-1, 100); });
    raise([&] { widget_.status_text_change(WideString()); });
}

} // namespace qirelo::ui::qt
