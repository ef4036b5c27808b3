#include "ui/win32/window_peer.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <stdexcept>

#include "ui/form.h"
#include "ui/win32/text.h"

namespace qirelo::ui::win32 {
namespace {

constexpr wchar_t kPeerProperty[] = L"QireloPeer";
constexpr UINT_PTR kSubclassId = 0x51;

bool is_own_class(const wchar_t* window_class) {
    for (const wchar_t* own : {kContainerClass, kPaintedClass, kFormClass})
        if (std::wcscmp(window_class, own) == 0)
            return true;
    return false;
}

} // namespace

void register_window_classes(HINSTANCE instance) {
    WNDCLASSW container{};
    container.lpfnWndProc = WindowPeer::window_proc;
    container.hInstance = instance;
    container.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    container.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    container.lpszClassName = kContainerClass;
    RegisterClassW(&container);

    WNDCLASSW painted = container;
    painted.style = CS_HREDRAW | CS_VREDRAW;
    painted.hbrBackground = nullptr;
    painted.lpszClassName = kPaintedClass;
    RegisterClassW(&painted);

    WNDCLASSW form = container;
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    form.lpszClassName = kFormClass;
    RegisterClassW(&form);
}

WindowPeer::WindowPeer(Backend& backend, Control& control) : backend_(backend), control_(control) {}

WindowPeer::~WindowPeer() {
    for (HWND window : subclassed_)
        RemoveWindowSubclass(window, subclass_proc, kSubclassId);
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        RemovePropW(*it, kPeerProperty);
        if (!std::count(subclassed_.begin(), subclassed_.end(), *it))
            SetWindowLongPtrW(*it, GWLP_USERDATA, 0);
        DestroyWindow(*it);
    }
}

WindowPeer* WindowPeer::of(HWND window) {
    return window ? static_cast<WindowPeer*>(GetPropW(window, kPeerProperty)) : nullptr;
}

WindowPeer* WindowPeer::find(HWND window) {
    for (; window; window = GetParent(window))
        if (WindowPeer* peer = of(window))
            return peer;
    return nullptr;
}

HWND WindowPeer::parent_window() const {
    Control* parent = control_.parent();
    auto* peer = parent ? dynamic_cast<WindowPeer*>(parent->peer()) : nullptr;
    return peer ? peer->container() : nullptr;
}

HWND WindowPeer::create(const wchar_t* window_class, DWORD style, DWORD ex_style) {
    const Rect& r = control_.bounds();
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (control_.visible())
        style |= WS_VISIBLE;
    HWND window = CreateWindowExW(ex_style, window_class, L"", style, r.left, r.top, r.width,
                                  r.height, parent_window(), nullptr, backend_.instance(), this);
    if (!window)
        throw std::runtime_error("cannot create the window of " + control_.name());
    own(window, !is_own_class(window_class));
    // Controls lie above the texts and lines drawn beside them, whichever
    // came first (those go to the back, see send_to_back).
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!hwnd_)
        hwnd_ = window;
    return window;
}

void WindowPeer::adopt(HWND window) {
    own(window, true);
}

void WindowPeer::own(HWND window, bool subclass) {
    windows_.push_back(window);
    SetPropW(window, kPeerProperty, this);
    if (subclass) {
        SetWindowSubclass(window, subclass_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        subclassed_.push_back(window);
    } else {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
}

void WindowPeer::sync() {
    changed(Property::Font);
    changed(Property::Text);
    changed(Property::Enabled);
    place();
}

void WindowPeer::send_to_back() {
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowPeer::place() {
    const Rect& r = control_.bounds();
    MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE);
}

void WindowPeer::changed(Property what) {
    switch (what) {
    case Property::Text:
        SetWindowTextW(hwnd_, wide(control_.caption()).c_str());
        break;
    case Property::Enabled:
        EnableWindow(hwnd_, control_.enabled());
        break;
    case Property::Visible:
        ShowWindow(hwnd_, control_.visible() ? SW_SHOW : SW_HIDE);
        break;
    case Property::Bounds:
        place();
        break;
    case Property::Font:
        for (HWND window : windows_)
            SendMessageW(window, WM_SETFONT,
                         reinterpret_cast<WPARAM>(backend_.font(control_.font())), TRUE);
        break;
    case Property::Focus:
        if (GetFocus() != hwnd_ && IsWindowVisible(hwnd_))
            SetFocus(hwnd_);
        break;
    default:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    }
}

std::optional<Point> WindowPeer::screen_origin() const {
    POINT origin{0, 0};
    if (!ClientToScreen(hwnd_, &origin))
        return std::nullopt;
    return Point{static_cast<int>(origin.x), static_cast<int>(origin.y)};
}

bool WindowPeer::handle(UINT message, WPARAM, LPARAM lparam, LRESULT& result) {
    switch (message) {
    case WM_SETFOCUS:
        if (Form* form = control_.form())
            guard([&] { form->set_active_control(&control_); });
        return false;
    case WM_SETCURSOR:
        if (control_.cursor() == Cursor::Hand && LOWORD(lparam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool WindowPeer::dialog_key(WORD key) {
    Form* form = control_.form();
    if (!form)
        return false;
    if (key == VK_RETURN || key == VK_ESCAPE) {
        bool taken = false;
        guard([&] { taken = form->dialog_key(key); });
        return taken;
    }
    if (key != VK_TAB)
        return false;
    const bool forward = GetKeyState(VK_SHIFT) >= 0;
    guard([&] { form->select_next(forward); });
    return true;
}

bool WindowPeer::route(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (WindowPeer* child = of(reinterpret_cast<HWND>(lparam))) {
            child->command(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (WindowPeer* child = of(header->hwndFrom)) {
            result = child->notify(*header);
            return true;
        }
        return false;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (WindowPeer* child = of(reinterpret_cast<HWND>(lparam))) {
            child->scroll();
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (WindowPeer* child = of(reinterpret_cast<HWND>(lparam)))
            if (HBRUSH brush = child->control_color(reinterpret_cast<HDC>(wparam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK WindowPeer::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* peer = reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (peer) {
        LRESULT result = 0;
        if (route(message, wparam, lparam, result) || peer->handle(message, wparam, lparam, result))
            return result;
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            RECT client;
            GetClientRect(window, &client);
            peer->paint(dc, client);
            EndPaint(window, &ps);
            return 0;
        }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK WindowPeer::subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* peer = reinterpret_cast<WindowPeer*>(data);
    LRESULT result = 0;
    if (route(message, wparam, lparam, result) || peer->handle(message, wparam, lparam, result))
        return result;
    return DefSubclassProc(window, message, wparam, lparam);
}

} // namespace qirelo::ui::win32
