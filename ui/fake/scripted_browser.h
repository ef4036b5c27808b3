#pragma once

// A scripted browser engine for tests, attached to a WebBrowser widget in
// place of the platform's control.
//
// Pages come from a ScriptedWeb that the test fills (URL -> HTML, and the
// cookie a page's site sets); an "about:" URL is its own page: the HTML after
// "about:". Navigate records the URL and starts a load that completes when
// the test calls complete(), which raises the events in the order a real
// control does:
//   StatusTextChange(url), ProgressChange(0..), CommandStateChange(back),
//   CommandStateChange(forward), TitleChange(title), ProgressChange(max),
//   DocumentComplete(url), ProgressChange(-1), StatusTextChange("")
// A page whose script submits one of its forms ("<script>NAME.submit()") then
// posts that form: the post is recorded in the web and its action loads next.
// The document's cookie is the cookie its site holds in the web (none for
// about: pages), unless the test sets one on the browser.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/web_browser.h"

namespace qirelo::ui::fake {

class ScriptedBrowser;

struct FormPost {
    WideString action;
    WideString method; // as written in the form, lower-cased
    std::vector<std::pair<WideString, WideString>> fields;
    WideString field(const WideString& name) const;
};

class ScriptedWeb {
public:
    struct Page {
        WideString html;
        WideString set_cookie; // replaces the site's cookie when the page loads
    };

    void add_page(const WideString& url, WideString html, WideString set_cookie = {});
    const Page* find(const WideString& url) const;

    // The cookie text a site holds ("a=1; b=2"), by host name without port.
    WideString cookie(const WideString& host) const;
    void set_cookie(const WideString& host, WideString cookie);

    std::vector<FormPost> posts;

private:
    friend class ScriptedBrowser;
    std::vector<std::pair<WideString, Page>> pages_;
    std::vector<std::pair<WideString, WideString>> cookies_;
    std::vector<ScriptedBrowser*> browsers_;
};

class ScriptedBrowser final : public WebBrowserPeer {
public:
    ScriptedBrowser(WebBrowser& widget, ScriptedWeb& web);
    ~ScriptedBrowser() override;
    // Creates an engine for `widget`, attaches it, and returns it.
    static ScriptedBrowser& attach(WebBrowser& widget, ScriptedWeb& web);

    // WebBrowserPeer
    void changed(Property) override {}
    void navigate(const WideString& url) override;
    void go_back() override;
    void go_forward() override;
    void stop() override;
    WideString location_url() override;
    WideString document_cookie() override;
    BrowserAutomation application() override;
    bool translate_accelerator(const Message& message) override;

    // What the test drives.
    bool loading() const { return pending_.has_value(); }
    void complete();     // finishes the load under way (none: nothing happens)
    void complete_all(); // also the loads that pages' scripts start
    // A link on the shown page asks for `url` in a new window.
    void open_new_window(const WideString& url);

    // What the test sets.
    bool failing = false;           // every operation reports a failing status
    bool accelerator_takes = false; // TranslateAccelerator answers "handled"
    std::optional<WideString> cookie_override;

    // What the test reads.
    std::vector<WideString> navigations; // every Navigate's URL, as given
    std::vector<std::string> calls;      // "Navigate", "GoBack", "GoForward", "Stop"
    std::vector<Message> accelerator_messages;
    std::vector<WideString> new_top_level_windows; // new windows nobody took
    const WideString& title() const { return title_; }

private:
    struct Load {
        WideString url;
        bool record_in_history = true;
    };
    void check();
    void start(Load load);
    void submit_forms(const WideString& html);

    WebBrowser& widget_;
    ScriptedWeb& web_;
    std::optional<Load> pending_;
    std::vector<WideString> history_;
    std::size_t history_index_ = 0;
    WideString location_;
    WideString title_;
    bool committed_ = false;
};

} // namespace qirelo::ui::fake
