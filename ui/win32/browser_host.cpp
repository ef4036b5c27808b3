// The browser control as an in-place OLE object in a child window of its
// tab: the host's client site, in-place site and frame, and the sink of the
// control's DWebBrowserEvents2, which delivers the six events the client
// handles on the main thread (the control lives in this thread's apartment).

#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>

#include <atomic>
#include <string>

#include "ui/form.h"
#include "ui/web_browser.h"
#include "ui/win32/browser_host.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/text.h"
#include "ui/win32/window_peer.h"

namespace qirelo::ui::win32 {
namespace {

// The system's text for a failing status, as the error's message.
[[noreturn]] void raise(HRESULT status, const char* operation) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    if (text)
        LocalFree(text);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    if (message.empty()) {
        char code[32];
        std::snprintf(code, sizeof code, "OLE error %08lX", static_cast<unsigned long>(status));
        throw BrowserError(std::string(operation) + ": " + code);
    }
    throw BrowserError(narrow(message));
}

void check(HRESULT status, const char* operation) {
    if (FAILED(status))
        raise(status, operation);
}

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::u16string& text)
        : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return value_; }
    BSTR* put() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    std::u16string text() const {
        return value_
                   ? std::u16string(reinterpret_cast<const char16_t*>(value_), SysStringLen(value_))
                   : std::u16string();
    }

private:
    BSTR value_ = nullptr;
};

BrowserAutomation automation(IDispatch* object) {
    if (!object)
        return {};
    object->AddRef();
    return BrowserAutomation(
        std::shared_ptr<void>(object, [](void* p) { static_cast<IDispatch*>(p)->Release(); }));
}

// Event arguments as the control passes them, by value or by reference.
const VARIANT& deref(const VARIANT& v) {
    return (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) ? deref(*v.pvarVal) : v;
}
long long_of(const VARIANT& arg) {
    const VARIANT& v = deref(arg);
    if (v.vt == VT_I4)
        return v.lVal;
    if (v.vt == (VT_BYREF | VT_I4))
        return *v.plVal;
    return 0;
}
bool bool_of(const VARIANT& arg) {
    const VARIANT& v = deref(arg);
    if (v.vt == VT_BOOL)
        return v.boolVal != VARIANT_FALSE;
    if (v.vt == (VT_BYREF | VT_BOOL))
        return *v.pboolVal != VARIANT_FALSE;
    return long_of(v) != 0;
}
std::u16string text_of(const VARIANT& arg) {
    const VARIANT& v = deref(arg);
    const BSTR text = v.vt == VT_BSTR                ? v.bstrVal
                      : v.vt == (VT_BYREF | VT_BSTR) ? *v.pbstrVal
                                                     : nullptr;
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text))
                : std::u16string();
}

class BrowserHost;

// The host's side of the OLE conversation, and the events' sink.
class Site final : public IOleClientSite,
                   public IOleInPlaceSite,
                   public IOleInPlaceFrame,
                   public IDispatch {
public:
    explicit Site(BrowserHost& host) : host_(&host) {}
    void detach() { host_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of the in-place site and of the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the events (and no ambient properties).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

private:
    ~Site() = default;
    BrowserHost* host_;
    std::atomic<ULONG> references_{1};
};

class BrowserHost final : public WindowPeer, public WebBrowserPeer {
public:
    BrowserHost(Backend& backend, WebBrowser& widget)
        : WindowPeer(backend, widget), widget_(widget) {
        create(kContainerClass, WS_CLIPCHILDREN);
        sync();
        site_ = ComPtr<Site>::adopt(new Site(*this));
        try {
            embed();
        } catch (const BrowserError& error) {
            creation_error_ = error.what();
            release();
        }
    }
    ~BrowserHost() override {
        release();
        site_->detach();
    }

    bool created() const { return static_cast<bool>(browser_); }

    // ControlPeer
    void changed(Property what) override {
        WindowPeer::changed(what);
        if (what == Property::Bounds)
            fit();
    }

    // WebBrowserPeer
    void navigate(const WideString& url) override {
        Bstr text(url);
        VARIANT empty;
        VariantInit(&empty);
        check(browser().Navigate(text.get(), &empty, &empty, &empty, &empty), "Navigate");
    }
    void go_back() override { check(browser().GoBack(), "GoBack"); }
    void go_forward() override { check(browser().GoForward(), "GoForward"); }
    void stop() override { check(browser().Stop(), "Stop"); }
    WideString location_url() override {
        Bstr url;
        check(browser().get_LocationURL(url.put()), "LocationURL");
        return url.text();
    }
    WideString document_cookie() override {
        ComPtr<IDispatch> document;
        check(browser().get_Document(document.put()), "Document");
        auto html = document.query<IHTMLDocument2>(IID_IHTMLDocument2);
        if (!html)
            raise(E_NOINTERFACE, "Document");
        Bstr cookie;
        check(html->get_cookie(cookie.put()), "cookie");
        return cookie.text();
    }
    BrowserAutomation application() override {
        ComPtr<IDispatch> object;
        check(browser().get_Application(object.put()), "Application");
        return automation(object.get());
    }
    bool translate_accelerator(const Message& message) override {
        ComPtr<IDispatch> object;
        check(browser().get_Application(object.put()), "Application");
        auto active = object.query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
        if (!active)
            raise(E_NOINTERFACE, "IOleInPlaceActiveObject");
        MSG msg = to_msg(message);
        return active->TranslateAccelerator(&msg) == S_OK;
    }

    // From the site.
    HWND window() const { return hwnd_; }
    void event(DISPID id, const DISPPARAMS& params);

private:
    IWebBrowser2& browser() {
        if (!browser_)
            throw BrowserError(creation_error_.empty() ? "The browser control is not available"
                                                       : creation_error_);
        return *browser_.get();
    }

    void embed() {
        check(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(ole_.put())),
              "CoCreateInstance");
        check(ole_->SetClientSite(site_.get()), "SetClientSite");
        OleSetContainedObject(ole_.get(), TRUE);
        RECT area;
        GetClientRect(hwnd_, &area);
        check(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, hwnd_, &area),
              "DoVerb");
        browser_ = ole_.query<IWebBrowser2>(IID_IWebBrowser2);
        if (!browser_)
            raise(E_NOINTERFACE, "IWebBrowser2");
        auto container = ole_.query<IConnectionPointContainer>(IID_IConnectionPointContainer);
        if (!container)
            raise(E_NOINTERFACE, "IConnectionPointContainer");
        check(container->FindConnectionPoint(DIID_DWebBrowserEvents2, events_.put()),
              "FindConnectionPoint");
        check(events_->Advise(static_cast<IDispatch*>(site_.get()), &cookie_), "Advise");
        fit();
    }

    void fit() {
        if (!ole_)
            return;
        RECT area;
        GetClientRect(hwnd_, &area);
        if (auto in_place = ole_.query<IOleInPlaceObject>(IID_IOleInPlaceObject))
            in_place->SetObjectRects(&area, &area);
    }

    void release() {
        if (events_ && cookie_)
            events_->Unadvise(cookie_);
        events_.reset();
        cookie_ = 0;
        browser_.reset();
        if (ole_) {
            ole_->Close(OLECLOSE_NOSAVE);
            ole_->SetClientSite(nullptr);
        }
        ole_.reset();
    }

    WebBrowser& widget_;
    ComPtr<Site> site_; // our own reference; the control takes its own
    ComPtr<IOleObject> ole_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
    std::string creation_error_;
};

HRESULT Site::GetWindow(HWND* out) {
    if (!out)
        return E_POINTER;
    *out = host_ ? host_->window() : nullptr;
    return *out ? S_OK : E_FAIL;
}

HRESULT Site::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!host_)
        return E_FAIL;
    *frame = this;
    AddRef();
    *document = nullptr;
    GetClientRect(host_->window(), position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(host_->window(), GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT Site::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                     UINT*) {
    if (!host_ || !params)
        return S_OK;
    switch (id) {
    case DISPID_STATUSTEXTCHANGE:
    case DISPID_PROGRESSCHANGE:
    case DISPID_COMMANDSTATECHANGE:
    case DISPID_TITLECHANGE:
    case DISPID_NEWWINDOW2:
    case DISPID_DOCUMENTCOMPLETE:
        host_->event(id, *params);
        return S_OK;
    default:
        return id < 0 ? DISP_E_MEMBERNOTFOUND : S_OK;
    }
}

// Arguments come last first.
void BrowserHost::event(DISPID id, const DISPPARAMS& params) {
    const UINT count = params.cArgs;
    auto arg = [&](UINT index_from_first) -> const VARIANT& {
        return params.rgvarg[count - 1 - index_from_first];
    };
    guard([&] {
        switch (id) {
        case DISPID_STATUSTEXTCHANGE:
            if (count >= 1)
                widget_.status_text_change(text_of(arg(0)));
            break;
        case DISPID_PROGRESSCHANGE:
            if (count >= 2)
                widget_.progress_change(long_of(arg(0)), long_of(arg(1)));
            break;
        case DISPID_COMMANDSTATECHANGE:
            if (count >= 2)
                widget_.command_state_change(long_of(arg(0)), bool_of(arg(1)));
            break;
        case DISPID_TITLECHANGE:
            if (count >= 1)
                widget_.title_change(text_of(arg(0)));
            break;
        case DISPID_NEWWINDOW2: {
            if (count < 2)
                break;
            const VARIANT& target_arg = arg(0);
            const VARIANT& cancel_arg = arg(1);
            BrowserAutomation target;
            bool cancel = bool_of(cancel_arg);
            widget_.new_window2(target, cancel);
            if (target_arg.vt == (VT_BYREF | VT_DISPATCH) && target_arg.ppdispVal && target) {
                auto* object = static_cast<IDispatch*>(target.get());
                object->AddRef(); // the control takes this reference
                *target_arg.ppdispVal = object;
            }
            if (cancel_arg.vt == (VT_BYREF | VT_BOOL) && cancel_arg.pboolVal)
                *cancel_arg.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        }
        case DISPID_DOCUMENTCOMPLETE:
            if (count >= 2) {
                const VARIANT& frame = deref(arg(0));
                widget_.document_complete(
                    automation(frame.vt == VT_DISPATCH ? frame.pdispVal : nullptr),
                    text_of(arg(1)));
            }
            break;
        default:
            break;
        }
    });
}

} // namespace

bool browser_created(const WebBrowser& browser) {
    auto* host = dynamic_cast<const BrowserHost*>(browser.peer());
    return host && host->created();
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, WebBrowser& browser) {
    return std::make_unique<BrowserHost>(backend, browser);
}

} // namespace qirelo::ui::win32
