#include "ui/qt/browser_peer.h"
#include "ui/qt/peer_factory.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <cstdlib>
#include <memory>
#include <set>
#include <unistd.h>

#include "ui/qt/cookie_jar.h"
#include "ui/qt/text.h"
#include "ui/qt/widget_peer.h"

namespace qirelo::ui::qt {
namespace {

// How long a page may take to answer for its cookie before the profile's
// cookies answer for it.
constexpr int kCookieWaitMs = 1000;

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

void BrowserPeer::prepare_engine() {
    if (::geteuid() == 0 && !std::getenv("QTWEBENGINE_DISABLE_SANDBOX"))
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    if (!std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"))
        ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-gpu-compositing", 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
    if (question_)
        question_->peer = nullptr; // a late answer finds nobody
}

// The engine reports from inside its own tasks: every event is raised from
// the loop instead, in the order of the reports; while a completed document's
// cookie is being asked for, the events wait behind its completion.
void BrowserPeer::raise(std::function<void()> event) {
    if (question_)
        held_.push_back(std::move(event));
    else
        post(std::move(event));
}

void BrowserPeer::post(std::function<void()> event) {
    QMetaObject::invokeMethod(
        view_, [this, event = std::move(event)] { backend_.guard(event); }, Qt::QueuedConnection);
}

std::shared_ptr<BrowserPeer::CookieQuestion> BrowserPeer::ask_document_cookie() {
    auto question = std::make_shared<CookieQuestion>(CookieQuestion{this, page_->url(), {}});
    question_ = question;
    page_->runJavaScript(QStringLiteral("document.cookie"), [question](const QVariant& result) {
        // No value at all is no answer (the document went, the script failed),
        // never an empty cookie.
        if (result.isValid())
            settle(question, result.toString());
        else
            settle_from_profile(question);
    });
    // The engine sometimes holds a script's answer back; the profile's
    // cookies give the same text.
    QTimer::singleShot(kCookieWaitMs, view_, [question] { settle_from_profile(question); });
    return question;
}

void BrowserPeer::settle(const std::shared_ptr<CookieQuestion>& question, const QString& cookie) {
    BrowserPeer* peer = question->peer;
    if (!peer || peer->question_ != question)
        return; // answered already, or the browser has gone
    question->answer = {cookie, shared_cookies().revision(), true};
    peer->question_.reset();
    for (auto& event : std::exchange(peer->held_, {}))
        peer->post(std::move(event));
}

void BrowserPeer::settle_from_profile(const std::shared_ptr<CookieQuestion>& question) {
    settle(question, shared_cookies().document_cookie(question->page));
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

// No waiting here, so no event can run inside the read: the completed
// document's own answer, unless the cookies have changed since it was given
// (by a page of either browser), when the profile's cookies answer for the
// page.
WideString BrowserPeer::document_cookie() {
    if (document_cookie_.known && document_cookie_.revision == shared_cookies().revision())
        return wide(document_cookie_.text);
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
    // The document that completed is going: its script answers no more.
    if (question_)
        settle_from_profile(question_);
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
    if (question_) // a completion without a load start between
        settle_from_profile(question_);
    const auto question = ask_document_cookie();
    if (!title_raised_) {
        title_raised_ = true;
        raise([this, text = wide(page_->title())] { widget_.title_change(text); });
    }
    report_history();
    raise([this] { widget_.progress_change(100, 100); });
    const BrowserAutomation frame = application();
    const WideString url = location_url();
    raise([this, frame, url, question] {
        document_cookie_ = question->answer;
        widget_.document_complete(frame, url);
    });
    raise([this] { widget_.progress_change(-1, 100); });
    raise([this] { widget_.status_text_change(WideString()); });
    // A document that has loaded in the browser on show takes the keyboard,
    // so a player's keys reach it without a click first.
    raise([this] {
        if (view_->isVisible())
            view_->setFocus(Qt::OtherFocusReason);
    });
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, WebBrowser& browser) {
    return std::make_unique<BrowserPeer>(backend, browser, container_of(browser.parent()));
}

} // namespace qirelo::ui::qt
