#include "ui/web_browser.h"

#include "ui/widget_kinds.h"

namespace qirelo::ui {

void WebBrowser::attach_peer(std::unique_ptr<ControlPeer> peer) {
    engine_ = dynamic_cast<WebBrowserPeer*>(peer.get());
    Control::attach_peer(std::move(peer));
}

WebBrowserPeer& WebBrowser::engine() {
    if (!engine_)
        throw BrowserError("The browser control " + name() + " has not been created");
    return *engine_;
}

void WebBrowser::Navigate(const WideString& url) {
    engine().navigate(url);
}
void WebBrowser::GoBack() {
    engine().go_back();
}
void WebBrowser::GoForward() {
    engine().go_forward();
}
void WebBrowser::Stop() {
    engine().stop();
}
WideString WebBrowser::LocationURL() {
    return engine().location_url();
}
WideString WebBrowser::DocumentCookie() {
    return engine().document_cookie();
}
BrowserAutomation WebBrowser::Application() {
    return engine().application();
}
bool WebBrowser::TranslateAccelerator(const Message& message) {
    return engine().translate_accelerator(message);
}

void WebBrowser::status_text_change(const WideString& text) {
    if (OnStatusTextChange)
        OnStatusTextChange(*this, text);
}

void WebBrowser::progress_change(long progress, long progress_max) {
    if (OnProgressChange)
        OnProgressChange(*this, progress, progress_max);
}

void WebBrowser::command_state_change(long command, bool enable) {
    if (OnCommandStateChange)
        OnCommandStateChange(*this, command, enable);
}

void WebBrowser::title_change(const WideString& text) {
    if (OnTitleChange)
        OnTitleChange(*this, text);
}

void WebBrowser::new_window2(BrowserAutomation& target, bool& cancel) {
    if (OnNewWindow2)
        OnNewWindow2(*this, target, cancel);
}

void WebBrowser::document_complete(const BrowserAutomation& frame, const WideString& url) {
    if (OnDocumentComplete)
        OnDocumentComplete(*this, frame, url);
}

void WebBrowser::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
