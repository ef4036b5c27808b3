#pragma once

// The browser control on Qt WebEngine.
//
// "about:" followed by HTML is rendered from that HTML with the site's
// origin as base (so the login form posts to the site, and relative links
// resolve there); LocationURL reports the "about:" address for such a page
// until the page navigates elsewhere. The document's cookie is read from the
// page by script; the read waits for the page's answer while the main thread
// keeps serving events. Events: the status text (link under the pointer,
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

#include <string>

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

    Backend& backend_;
    WebBrowser& widget_;
    QWebEngineView* view_;
    BrowserPage* page_;
    WidgetPeer mirror_;
    QString about_location_; // the "about:" address of the page shown, if it is one
    bool loading_html_ = false;
    bool title_raised_ = false;
};

} // namespace qirelo::ui::qt
