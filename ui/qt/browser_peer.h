#pragma once

// The browser control on Qt WebEngine.
//
// "about:" followed by HTML is rendered from that HTML with the site's
// origin as base (so the login form posts to the site, and relative links
// resolve there); LocationURL reports the "about:" address for such a page
// until the page navigates elsewhere. The document's cookie is asked of the
// page by script when the document has loaded, and its completion (with the
// events after it) is raised once the page has answered; the read itself
// never waits: it gives that answer, or the profile's cookies for the page
// when they have changed since (or when the page did not answer in time, or
// a new load began first). Events: the status text (link under the pointer,
// cleared when a load ends), progress, back and forward availability, the
// title (raised at the latest just before the document completes, so every
// completion follows a title change), new windows (offered to NewWindow2,
// opened in the target browser it gives), and DocumentComplete for every
// main-frame document; a document that completes in the browser on show
// takes the keyboard focus. The two browsers share one off-the-record profile:
// cookies live as long as the program.

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/qt/widget_peer.h"
#include "ui/web_browser.h"

namespace qirelo::ui::qt {

class BrowserPage;

class BrowserPeer final : public WebBrowserPeer {
public:
    BrowserPeer(Backend& backend, WebBrowser& widget, QWidget* parent);
    ~BrowserPeer() override;

    // WebBrowserPeer
    void changed(Property what) override { mirror_.changed(what); }
    std::optional<Point> screen_origin() const override { return mirror_.screen_origin(); }
    void navigate(const WideString& url) override;
    void go_back() override;
    void go_forward() override;
    void stop() override;
    WideString location_url() override;
    WideString document_cookie() override;
    BrowserAutomation application() override;
    bool translate_accelerator(const Message& message) override;

    void sync() { mirror_.sync(); }
    QWebEngineView* view() const { return view_; }

    // The site's origin that "about:" pages take as base ("http://host/").
    static void set_about_base(const QString& base);

    // Before the Qt application is made: the engine's sandbox off when run as
    // root (Xvfb sessions, CI) and no GPU, unless the environment says
    // otherwise.
    static void prepare_engine();

private:
    friend class BrowserPage;
    // A navigation of the main frame begins; `ours` when it is the load of an
    // "about:" page's HTML.
    void main_frame_navigation(bool ours);
    QWebEnginePage* new_window();
    void load_started();
    void load_finished();
    void report_history();
    void raise(std::function<void()> event);
    void post(std::function<void()> event);

    // The cookie of a completed document, as its page answered for it.
    struct DocumentCookie {
        QString text;
        std::uint64_t revision = 0; // of the profile's cookies at the answer
        bool known = false;
    };
    struct CookieQuestion {
        BrowserPeer* peer;
        QUrl page;
        DocumentCookie answer;
    };
    // Holds the events raised from now on until the page answers.
    std::shared_ptr<CookieQuestion> ask_document_cookie();
    static void settle(const std::shared_ptr<CookieQuestion>& question, const QString& cookie);
    static void settle_from_profile(const std::shared_ptr<CookieQuestion>& question);

    Backend& backend_;
    WebBrowser& widget_;
    QWebEngineView* view_;
    BrowserPage* page_;
    WidgetPeer mirror_;
    QString about_location_; // the "about:" address of the page shown, if it is one
    bool loading_html_ = false;
    bool title_raised_ = false;
    std::shared_ptr<CookieQuestion> question_; // while the events wait for the answer
    std::vector<std::function<void()>> held_;  // the events raised meanwhile, in order
    DocumentCookie document_cookie_;           // of the last document completed
};

} // namespace qirelo::ui::qt
