#pragma once

// The embedded browser control: exactly the operations and events that the
// client uses of the platform's browser.
//
// Operations (every one raises BrowserError when the control reports a
// failing status, also when no browser engine is attached): Navigate, GoBack,
// GoForward, Stop, LocationURL, the document's cookie, and Application (the
// control's automation object, handed back as the target of a new window and
// asked to translate keyboard messages).
//
// Events, all on the main thread, raised by the peer in the order the engine
// reports them (a page's title change comes before its document completion):
// StatusTextChange, ProgressChange, CommandStateChange, TitleChange,
// NewWindow2, DocumentComplete. Text crosses as UTF-16, as the control gives it.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/control.h"
#include "ui/message.h"

namespace qirelo::ui {

using WideString = std::u16string;

class BrowserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The control's automation object: opaque, shared, kept alive while held.
class BrowserAutomation {
public:
    BrowserAutomation() = default;
    explicit BrowserAutomation(std::shared_ptr<void> object) : object_(std::move(object)) {}
    void* get() const { return object_.get(); }
    explicit operator bool() const { return object_ != nullptr; }
    friend bool operator==(const BrowserAutomation& a, const BrowserAutomation& b) {
        return a.get() == b.get();
    }

private:
    std::shared_ptr<void> object_;
};

// Command numbers of CommandStateChange.
inline constexpr long kCommandNavigateForward = 1;
inline constexpr long kCommandNavigateBack = 2;

// The engine behind a WebBrowser widget.
class WebBrowserPeer : public virtual ControlPeer {
public:
    virtual void navigate(const WideString& url) = 0;
    virtual void go_back() = 0;
    virtual void go_forward() = 0;
    virtual void stop() = 0;
    virtual WideString location_url() = 0;
    virtual WideString document_cookie() = 0;
    virtual BrowserAutomation application() = 0;
    // The in-place active object's TranslateAccelerator: true when the control
    // took the message (status 0).
    virtual bool translate_accelerator(const Message& message) = 0;
};

class WebBrowser : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool accepts_focus() const override { return true; }
    void attach_peer(std::unique_ptr<ControlPeer> peer) override;
    bool has_engine() const { return engine_ != nullptr; }

    void Navigate(const WideString& url);
    void GoBack();
    void GoForward();
    void Stop();
    WideString LocationURL();
    WideString DocumentCookie(); // Document.cookie
    BrowserAutomation Application();
    bool TranslateAccelerator(const Message& message);

    std::function<void(Component& sender, const WideString& text)> OnStatusTextChange;
    std::function<void(Component& sender, long progress, long progress_max)> OnProgressChange;
    std::function<void(Component& sender, long command, bool enable)> OnCommandStateChange;
    std::function<void(Component& sender, const WideString& text)> OnTitleChange;
    std::function<void(Component& sender, BrowserAutomation& target, bool& cancel)> OnNewWindow2;
    std::function<void(Component& sender, const BrowserAutomation& frame, const WideString& url)>
        OnDocumentComplete;

    // Raised by the engine.
    void status_text_change(const WideString& text);
    void progress_change(long progress, long progress_max);
    void command_state_change(long command, bool enable);
    void title_change(const WideString& text);
    void new_window2(BrowserAutomation& target, bool& cancel);
    void document_complete(const BrowserAutomation& frame, const WideString& url);

private:
    WebBrowserPeer& engine();
    WebBrowserPeer* engine_ = nullptr;
};

} // namespace qirelo::ui
