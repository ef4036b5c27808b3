// Peers of the form, the panels, the group box, the page control and its tab
// sheets.

#include <windows.h>

#include <commctrl.h>

#include "ui/form.h"
#include "ui/page_control.h"
#include "ui/panel.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/text.h"
#include "ui/win32/window_peer.h"

namespace qirelo::ui::win32 {
namespace {

class FormPeer final : public WindowPeer {
public:
    FormPeer(Backend& backend, Form& form) : WindowPeer(backend, form), form_(form) {
        const Rect outer = outer_bounds();
        hwnd_ =
            CreateWindowExW(ex_style(), kFormClass, L"", style(), outer.left, outer.top,
                            outer.width, outer.height, nullptr, nullptr, backend.instance(), this);
        if (!hwnd_)
            throw std::runtime_error("cannot create the window of " + form.name());
        SetPropW(hwnd_, L"QireloPeer", this);
        changed(Property::Text);
        report_client_size();
    }
    ~FormPeer() override {
        RemovePropW(hwnd_, L"QireloPeer");
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }

    void changed(Property what) override {
        switch (what) {
        case Property::Visible:
            if (!form_.visible()) {
                ShowWindow(hwnd_, SW_HIDE);
                return;
            }
            if (form_.centered() && !IsWindowVisible(hwnd_))
                centre();
            ShowWindow(hwnd_, show_command(true));
            if (form_.stay_on_top())
                put_on_top();
            UpdateWindow(hwnd_);
            focus_active_control();
            return;
        case Property::ClientSize: {
            const Rect outer = outer_bounds();
            SetWindowPos(hwnd_, nullptr, 0, 0, outer.width, outer.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (form_.centered() && !IsWindowVisible(hwnd_))
                centre();
            return;
        }
        case Property::Style:
            if (form_.stay_on_top())
                put_on_top();
            else
                SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return;
        case Property::WindowState:
            if (IsWindowVisible(hwnd_) && !reporting_)
                ShowWindow(hwnd_, show_command(false));
            return;
        case Property::Bounds:
            return; // the window's own size is the user's once it exists
        default:
            WindowPeer::changed(what);
        }
    }

    bool handle(UINT message, WPARAM wparam, LPARAM, LRESULT& result) override {
        switch (message) {
        case WM_SIZE:
            reporting_ = true;
            guard([&] {
                if (wparam == SIZE_MAXIMIZED)
                    form_.set_window_state(WindowState::Maximized);
                else if (wparam == SIZE_MINIMIZED)
                    form_.set_window_state(WindowState::Minimized);
                else if (wparam == SIZE_RESTORED)
                    form_.set_window_state(WindowState::Normal);
                if (wparam != SIZE_MINIMIZED)
                    report_client_size();
            });
            reporting_ = false;
            return false;
        case WM_CLOSE:
            guard([&] { form_.close(); });
            result = 0;
            return true;
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE && focus_active_control()) {
                result = 0;
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    DWORD style() const {
        if (form_.border_style() == BorderStyle::Dialog)
            return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
        return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    }
    DWORD ex_style() const {
        DWORD ex = form_.border_style() == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
        return form_.stay_on_top() ? ex | WS_EX_TOPMOST : ex;
    }

    // The window's place and outer size: the layout's bounds, or the frame
    // around the client size it gives; centred on the work area if wanted.
    Rect outer_bounds() const {
        Rect outer = form_.bounds();
        if (form_.client_sized()) {
            const Rect client = form_.client_rect();
            RECT frame{0, 0, client.width, client.height};
            AdjustWindowRectEx(&frame, style(), FALSE, ex_style());
            outer.width = frame.right - frame.left;
            outer.height = frame.bottom - frame.top;
        }
        if (form_.centered()) {
            RECT work;
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            outer.left = work.left + (work.right - work.left - outer.width) / 2;
            outer.top = work.top + (work.bottom - work.top - outer.height) / 2;
        }
        return outer;
    }

    void centre() {
        RECT now;
        GetWindowRect(hwnd_, &now);
        const int width = now.right - now.left, height = now.bottom - now.top;
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                     work.top + (work.bottom - work.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void put_on_top() {
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    int show_command(bool first) const {
        switch (form_.window_state()) {
        case WindowState::Maximized:
            return first ? SW_SHOWMAXIMIZED : SW_MAXIMIZE;
        case WindowState::Minimized:
            return first ? SW_SHOWMINIMIZED : SW_MINIMIZE;
        default:
            return first ? SW_SHOWNORMAL : SW_RESTORE;
        }
    }

    void report_client_size() {
        RECT client;
        GetClientRect(hwnd_, &client);
        form_.set_client_size(client.right, client.bottom);
    }

    bool focus_active_control() {
        Control* active = form_.active_control();
        auto* peer = active ? dynamic_cast<WindowPeer*>(active->peer()) : nullptr;
        if (!peer)
            return false;
        SetFocus(peer->hwnd());
        return true;
    }

    Form& form_;
    bool reporting_ = false;
};

class ContainerPeer : public WindowPeer {
public:
    ContainerPeer(Backend& backend, Control& control, DWORD ex_style = 0)
        : WindowPeer(backend, control) {
        create(kContainerClass, WS_CLIPCHILDREN, ex_style);
        sync();
    }
};

// A panel with a lowered bevel draws its one-pixel frame inside its bounds,
// where its children leave it room.
class LoweredPanelPeer final : public WindowPeer {
public:
    LoweredPanelPeer(Backend& backend, Panel& panel) : WindowPeer(backend, panel) {
        create(kContainerClass, WS_CLIPCHILDREN);
        sync();
    }
    void paint(HDC dc, const RECT& area) override {
        FillRect(dc, &area, backend_.brush(control_.color()));
        RECT frame = area;
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
};

class GroupBoxPeer final : public WindowPeer {
public:
    GroupBoxPeer(Backend& backend, GroupBox& box) : WindowPeer(backend, box) {
        create(WC_BUTTONW, BS_GROUPBOX | WS_CLIPCHILDREN);
        sync();
    }
    bool handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
        if (message == WM_ERASEBKGND) {
            RECT client;
            GetClientRect(hwnd_, &client);
            FillRect(reinterpret_cast<HDC>(wparam), &client, backend_.brush(kButtonFace));
            result = 1;
            return true;
        }
        return WindowPeer::handle(message, wparam, lparam, result);
    }
};

class PageControlPeer final : public WindowPeer {
public:
    PageControlPeer(Backend& backend, PageControl& pages)
        : WindowPeer(backend, pages), pages_(pages) {
        DWORD style = WS_CLIPCHILDREN | WS_TABSTOP;
        if (pages.style() == TabStyle::Buttons)
            style |= TCS_BUTTONS;
        if (pages.style() == TabStyle::FlatButtons)
            style |= TCS_BUTTONS | TCS_FLATBUTTONS;
        create(WC_TABCONTROLW, style);
        sync();
        for (TabSheet* page : pages.pages())
            insert(*page);
        changed(Property::ActivePage);
        measure_tabs();
    }

    void changed(Property what) override {
        if (what == Property::ActivePage) {
            const int index = pages_.active_page() ? pages_.active_page()->page_index() : -1;
            SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
            return;
        }
        WindowPeer::changed(what);
        if (what == Property::Font)
            measure_tabs();
    }

    LRESULT notify(const NMHDR& header) override {
        if (header.code == TCN_SELCHANGE) {
            const auto index = SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0);
            if (index >= 0)
                guard([&] { pages_.select_tab(static_cast<std::size_t>(index)); });
        }
        return 0;
    }

    void set_tab_text(int index, const std::string& caption) {
        std::wstring text = wide(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(hwnd_, TCM_SETITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        measure_tabs();
    }

private:
    void insert(TabSheet& page) {
        std::wstring text = wide(page.caption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(page.page_index()),
                     reinterpret_cast<LPARAM>(&item));
    }

    // The sheets fill what the tab row leaves of the control.
    void measure_tabs() {
        RECT area{0, 0, pages_.width(), pages_.height()};
        SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        if (pages_.pages().size() > 0 && area.top > 0)
            guard([&] { pages_.set_tab_height(area.top); });
    }

    PageControl& pages_;
};

class TabSheetPeer final : public WindowPeer {
public:
    TabSheetPeer(Backend& backend, TabSheet& sheet) : WindowPeer(backend, sheet), sheet_(sheet) {
        create(kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
        sync();
    }
    void changed(Property what) override {
        if (what == Property::Text) {
            if (auto* pages = dynamic_cast<PageControlPeer*>(sheet_.page_control().peer()))
                pages->set_tab_text(sheet_.page_index(), sheet_.caption());
            return;
        }
        WindowPeer::changed(what);
    }

private:
    TabSheet& sheet_;
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Form& form) {
    return std::make_unique<FormPeer>(backend, form);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, TabSheet& sheet) {
    return std::make_unique<TabSheetPeer>(backend, sheet);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, PageControl& pages) {
    return std::make_unique<PageControlPeer>(backend, pages);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, GroupBox& box) {
    return std::make_unique<GroupBoxPeer>(backend, box);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Panel& panel) {
    if (panel.bevel_outer() == BevelStyle::Lowered)
        return std::make_unique<LoweredPanelPeer>(backend, panel);
    return std::make_unique<ContainerPeer>(
        backend, panel, panel.bevel_outer() == BevelStyle::None ? 0 : WS_EX_WINDOWEDGE);
}

} // namespace qirelo::ui::win32
