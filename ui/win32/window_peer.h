#pragma once

// The base of the Win32 peers: one native child window (or more) mirroring a
// widget. The peer creates its window in its parent's window, keeps it in
// step with the widget's properties, and turns the window's notifications
// into the widget's methods. Notifications that Windows sends to the parent
// (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_CTLCOLOR*) are routed back to the
// peer of the child that sent them, whatever the parent is.

#include <windows.h>

#include <optional>
#include <vector>

#include "ui/control.h"
#include "ui/win32/backend.h"

namespace qirelo::ui::win32 {

// The window classes of our own containers and painted controls.
inline constexpr wchar_t kContainerClass[] = L"QireloContainer";
inline constexpr wchar_t kPaintedClass[] = L"QireloPainted";
inline constexpr wchar_t kFormClass[] = L"QireloForm";
void register_window_classes(HINSTANCE instance);

class WindowPeer : public virtual ControlPeer {
public:
    WindowPeer(Backend& backend, Control& control);
    ~WindowPeer() override;

    HWND hwnd() const { return hwnd_; }
    Control& control() const { return control_; }
    // The window that this control's children are created in.
    virtual HWND container() const { return hwnd_; }

    // The peer of a window, or of its nearest ancestor that has one.
    static WindowPeer* find(HWND window);
    static WindowPeer* of(HWND window); // that window only

    void changed(Property what) override;
    std::optional<Point> screen_origin() const override;

    // Routed from the parent.
    virtual void command(HWND, WORD) {}
    virtual LRESULT notify(const NMHDR&) { return 0; }
    virtual void scroll() {}
    // WM_CTLCOLOR*: a brush, or null for the system's.
    virtual HBRUSH control_color(HDC) { return nullptr; }
    // The window's own messages; true when handled.
    virtual bool handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    // A key that the loop offers before dispatch (Tab); true when taken.
    virtual bool dialog_key(WORD key);
    // Painted controls draw here.
    virtual void paint(HDC, const RECT&) {}

    // Our own window procedure, and the routing shared with subclassed ones.
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static bool route(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

protected:
    // Creates the peer's window as a child of the parent control's container.
    HWND create(const wchar_t* window_class, DWORD style, DWORD ex_style = 0);
    // A further native window that belongs to this peer (the button of an
    // edit with a button).
    void adopt(HWND window);
    HWND parent_window() const;
    // Applies the widget's whole state to the native window.
    virtual void sync();
    virtual void place();
    // Texts, lines and pictures lie under the controls beside them, as if
    // drawn on the parent.
    void send_to_back();
    void guard(const std::function<void()>& handler) { backend_.guard(handler); }

    Backend& backend_;
    Control& control_;
    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR id, DWORD_PTR data);
    void own(HWND window, bool subclass);
    std::vector<HWND> windows_;
    std::vector<HWND> subclassed_;
};

} // namespace qirelo::ui::win32
