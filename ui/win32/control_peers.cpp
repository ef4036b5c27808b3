// Peers of the controls: labels, edits, buttons, check box, bevel, slider,
// progress bar, gauge, status bar, image.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progress.h"
#include "ui/status_bar.h"
#include "ui/track_bar.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/text.h"
#include "ui/win32/window_peer.h"

namespace qirelo::ui::win32 {
namespace {

// A bitmap of the widget set as a device-independent bitmap: 32 bits, top down.
BITMAPINFO describe(const Bitmap& bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -bitmap.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

GdiObject<HBITMAP> make_bitmap(const Bitmap& bitmap) {
    BITMAPINFO info = describe(bitmap);
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (handle && bits) {
        const std::uint32_t face = GetSysColor(COLOR_BTNFACE);
        const std::uint32_t face_rgb = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
        std::transform(
            bitmap.pixels.begin(), bitmap.pixels.end(), static_cast<std::uint32_t*>(bits),
            [&](std::uint32_t pixel) { return pixel == kTransparent ? face_rgb : pixel; });
    }
    return GdiObject<HBITMAP>(handle);
}

ShiftState current_shift() {
    return ShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                      GetKeyState(VK_MENU) < 0};
}

class LabelPeer final : public WindowPeer {
public:
    LabelPeer(Backend& backend, Label& label) : WindowPeer(backend, label), label_(label) {
        create(WC_STATICW,
               SS_NOTIFY | SS_NOPREFIX | (label.word_wrap() ? SS_LEFT : SS_LEFTNOWORDWRAP));
        send_to_back();
        if (label.transparent() && !labels_under().empty())
            SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        sync();
        fit_text();
    }
    void changed(Property what) override {
        WindowPeer::changed(what);
        if (what == Property::Text || what == Property::Font)
            fit_text();
    }
    void command(HWND, WORD code) override {
        if (code == STN_CLICKED)
            guard([&] { control_.click(); });
    }
    HBRUSH control_color(HDC dc) override {
        SetTextColor(dc, Backend::rgb(control_.font().color));
        SetBkMode(dc, TRANSPARENT);
        const Control* parent = control_.parent();
        return backend_.brush(parent ? parent->color() : kButtonFace);
    }

private:
    // An auto-sized label takes its text's size; a word-wrapped one keeps
    // its width and takes the height of its lines.
    void fit_text() {
        if (!label_.auto_size() || fitting_)
            return;
        RECT extent{0, 0, label_.word_wrap() ? label_.width() : 0, 0};
        {
            const WindowDc dc(hwnd_);
            const Selection font(dc.get(), backend_.font(label_.font()));
            const std::wstring text = wide(label_.caption());
            if (label_.word_wrap()) {
                DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
                          DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                extent.right = label_.width();
            } else {
                SIZE size{0, 0};
                GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
                extent.right = size.cx;
                extent.bottom = size.cy;
            }
        }
        fitting_ = true;
        guard([&] { label_.set_bounds(label_.left(), label_.top(), extent.right, extent.bottom); });
        fitting_ = false;
    }

    // Sibling windows do not show through each other: a transparent label
    // over labels made before it draws their texts under its own.
    bool handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
        if (message != WM_PAINT || !label_.transparent())
            return WindowPeer::handle(message, wparam, lparam, result);
        const std::vector<const Label*> under = labels_under();
        if (under.empty())
            return WindowPeer::handle(message, wparam, lparam, result);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT client;
        GetClientRect(hwnd_, &client);
        const Control* parent = control_.parent();
        FillRect(dc, &client, backend_.brush(parent ? parent->color() : kButtonFace));
        SetBkMode(dc, TRANSPARENT);
        for (const Label* label : under)
            draw_text(dc, *label);
        draw_text(dc, label_);
        EndPaint(hwnd_, &ps);
        result = 0;
        return true;
    }

    std::vector<const Label*> labels_under() const {
        std::vector<const Label*> under;
        const Control* parent = control_.parent();
        if (!parent)
            return under;
        const Rect& mine = control_.bounds();
        for (const Control* sibling : parent->children()) {
            if (sibling == &control_)
                break;
            const auto* label = dynamic_cast<const Label*>(sibling);
            const Rect& r = sibling->bounds();
            if (label && label->visible() && r.left < mine.right() && mine.left < r.right() &&
                r.top < mine.bottom() && mine.top < r.bottom())
                under.push_back(label);
        }
        return under;
    }

    // `label`'s text where it lies, in this label's window.
    void draw_text(HDC dc, const Label& label) {
        const Rect& mine = control_.bounds();
        const Rect& r = label.bounds();
        RECT area{r.left - mine.left, r.top - mine.top, r.right() - mine.left,
                  r.bottom() - mine.top};
        const Selection font(dc, backend_.font(label.font()));
        SetTextColor(dc, Backend::rgb(label.font().color));
        const std::wstring text = wide(label.caption());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_NOPREFIX | (label.word_wrap() ? DT_WORDBREAK : 0));
    }

    Label& label_;
    bool fitting_ = false;
};

class EditPeer : public WindowPeer {
public:
    EditPeer(Backend& backend, Edit& edit, int right_margin = 0)
        : WindowPeer(backend, edit), edit_(edit), right_margin_(right_margin) {
        create(WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, edit.border() ? WS_EX_CLIENTEDGE : 0);
    }

    // A box of its own colours (a flat, read-only one shows a text in the
    // window's colour scheme); others keep the system's.
    HBRUSH control_color(HDC dc) override {
        if (edit_.color() == kWindow && edit_.font().color == kWindowText)
            return nullptr;
        SetTextColor(dc, Backend::rgb(edit_.font().color));
        SetBkColor(dc, Backend::rgb(edit_.color()));
        return backend_.brush(edit_.color());
    }

    void changed(Property what) override {
        switch (what) {
        case Property::Text: {
            SendMessageW(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(edit_.password_char()), 0);
            // The user's own typing comes back here as the widget's new text:
            // setting it again would move the caret to the start.
            const std::wstring text = wide(edit_.text());
            if (text != native_text()) {
                updating_ = true;
                SetWindowTextW(hwnd_, text.c_str());
                updating_ = false;
            }
            InvalidateRect(hwnd_, nullptr, TRUE);
            return;
        }
        case Property::ReadOnly:
            SendMessageW(hwnd_, EM_SETREADONLY, edit_.read_only(), 0);
            return;
        case Property::Selection: {
            // The widget counts bytes of GB2312; the native box, UTF-16 units.
            const std::string& text = edit_.text();
            const auto start = wide(text.substr(0, edit_.sel_start())).size();
            const auto end = wide(text.substr(0, edit_.sel_start() + edit_.sel_length())).size();
            SendMessageW(hwnd_, EM_SETSEL, start, static_cast<LPARAM>(end));
            return;
        }
        default:
            WindowPeer::changed(what);
        }
    }

    void command(HWND, WORD code) override {
        if (code != EN_CHANGE || updating_)
            return;
        const std::wstring text = native_text();
        guard([&] { edit_.set_text(narrow(text)); });
    }

    bool handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
        if (message == WM_KEYDOWN) {
            std::uint16_t key = static_cast<std::uint16_t>(wparam);
            guard([&] { key = edit_.key_down(key, current_shift()); });
            if (key == 0) {
                result = 0;
                return true;
            }
            return false;
        }
        if (message == WM_CHAR && wparam < 0x80) {
            char key = static_cast<char>(wparam);
            guard([&] { key = edit_.key_press(key); });
            if (key == 0 || key == '\t' || key == '\r') {
                result = 0; // nothing to type; no beep
                return true;
            }
            result = DefSubclassProc(hwnd_, message, static_cast<WPARAM>(key), lparam);
            return true;
        }
        return WindowPeer::handle(message, wparam, lparam, result);
    }

    // Tab goes to the box's own key handler first, as its key-down.
    bool dialog_key(WORD key) override {
        if (key == VK_TAB) {
            std::uint16_t left = key;
            guard([&] { left = edit_.key_down(key, current_shift()); });
            if (left == 0)
                return true;
        }
        return WindowPeer::dialog_key(key);
    }

protected:
    std::wstring native_text() const {
        const int length = GetWindowTextLengthW(hwnd_);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd_, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    void sync() override {
        WindowPeer::sync();
        changed(Property::ReadOnly);
    }
    void place() override {
        const Rect& r = control_.bounds();
        MoveWindow(hwnd_, r.left, r.top, std::max(r.width - right_margin_, 0), r.height, TRUE);
    }

    Edit& edit_;
    int right_margin_;
    bool updating_ = false;
};

class PlainEditPeer final : public EditPeer {
public:
    PlainEditPeer(Backend& backend, Edit& edit) : EditPeer(backend, edit) { sync(); }
};

// The edit, and its button in the same parent at the edit's right end.
class ButtonEditPeer final : public EditPeer {
public:
    ButtonEditPeer(Backend& backend, ButtonEdit& edit)
        : EditPeer(backend, edit, edit.button_width()), edit_(edit) {
        button_ = CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                  0, 0, parent_window(), nullptr, backend.instance(), nullptr);
        adopt(button_);
        if (!edit.glyph().empty()) {
            glyph_ = make_bitmap(edit.glyph());
            SetWindowLongPtrW(button_, GWL_STYLE,
                              GetWindowLongPtrW(button_, GWL_STYLE) | BS_BITMAP);
            SendMessageW(button_, BM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(glyph_.get()));
        } else {
            SetWindowTextW(button_, L"\u2192");
        }
        sync();
    }
    void command(HWND from, WORD code) override {
        if (from == button_) {
            if (code == BN_CLICKED && control_.enabled())
                guard([&] { edit_.click_button(); });
            return;
        }
        EditPeer::command(from, code);
    }
    void changed(Property what) override {
        EditPeer::changed(what);
        if (what == Property::Visible)
            ShowWindow(button_, control_.visible() ? SW_SHOW : SW_HIDE);
        if (what == Property::Enabled)
            EnableWindow(button_, control_.enabled());
    }

private:
    void place() override {
        EditPeer::place();
        const Rect& r = control_.bounds();
        const int width = std::min(edit_.button_width(), r.width);
        MoveWindow(button_, r.left + r.width - width, r.top, width, r.height, TRUE);
    }

    ButtonEdit& edit_;
    HWND button_ = nullptr;
    GdiObject<HBITMAP> glyph_;
};

class ButtonPeer final : public WindowPeer {
public:
    ButtonPeer(Backend& backend, Control& button, DWORD style, const Bitmap* glyph)
        : WindowPeer(backend, button), takes_focus_(style & WS_TABSTOP) {
        if (glyph && !glyph->empty() && button.caption().empty()) {
            style |= BS_BITMAP;
            glyph_ = make_bitmap(*glyph);
        }
        if (auto* push = dynamic_cast<Button*>(&button); push && push->is_default())
            style |= BS_DEFPUSHBUTTON;
        create(WC_BUTTONW, style);
        if (glyph_.get())
            SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph_.get()));
        sync();
        if (auto* box = dynamic_cast<CheckBox*>(&button))
            SendMessageW(hwnd_, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void changed(Property what) override {
        if (what == Property::Style) {
            if (auto* push = dynamic_cast<Button*>(&control_)) {
                // Only the button's type changes; a picture button keeps its picture.
                const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
                const DWORD type = push->is_default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
                SendMessageW(hwnd_, BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | type,
                             TRUE);
            }
            return;
        }
        if (what == Property::Checked) {
            if (auto* box = dynamic_cast<CheckBox*>(&control_))
                SendMessageW(hwnd_, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            return;
        }
        WindowPeer::changed(what);
    }

    void command(HWND, WORD code) override {
        // A disabled control never takes the user's click (code still can).
        if (code != BN_CLICKED || !control_.enabled())
            return;
        guard([&] {
            if (auto* box = dynamic_cast<CheckBox*>(&control_))
                box->set_checked(SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED);
            else
                control_.click();
        });
    }

    bool handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
        // A speed button never keeps the focus: it goes back where it was.
        if (message == WM_SETFOCUS && !takes_focus_) {
            if (wparam)
                SetFocus(reinterpret_cast<HWND>(wparam));
            result = 0;
            return true;
        }
        return WindowPeer::handle(message, wparam, lparam, result);
    }

private:
    bool takes_focus_;
    GdiObject<HBITMAP> glyph_;
};

class BevelPeer final : public WindowPeer {
public:
    BevelPeer(Backend& backend, Bevel& bevel) : WindowPeer(backend, bevel), bevel_(bevel) {
        create(WC_STATICW, line() ? SS_ETCHEDHORZ : SS_ETCHEDFRAME);
        send_to_back();
        sync();
    }

private:
    bool line() const {
        return bevel_.shape() == BevelShape::BottomLine || bevel_.shape() == BevelShape::TopLine;
    }
    // A line is the one edge of the bounds, two pixels high.
    void place() override {
        Rect r = bevel_.bounds();
        if (bevel_.shape() == BevelShape::BottomLine)
            r = Rect{r.left, r.bottom() - 2, r.width, 2};
        else if (bevel_.shape() == BevelShape::TopLine)
            r = Rect{r.left, r.top, r.width, 2};
        MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE);
    }
    Bevel& bevel_;
};

class TrackBarPeer final : public WindowPeer {
public:
    TrackBarPeer(Backend& backend, TrackBar& slider)
        : WindowPeer(backend, slider), slider_(slider) {
        create(TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS);
        SendMessageW(hwnd_, TBM_SETTICFREQ, 16, 0);
        sync();
        changed(Property::Position);
    }
    void changed(Property what) override {
        if (what == Property::Position) {
            SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, slider_.min());
            SendMessageW(hwnd_, TBM_SETRANGEMAX, FALSE, slider_.max());
            SendMessageW(hwnd_, TBM_SETPOS, TRUE, slider_.position());
            return;
        }
        WindowPeer::changed(what);
    }
    void scroll() override {
        const auto position = static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0));
        guard([&] { slider_.set_position(position); });
    }

private:
    TrackBar& slider_;
};

class ProgressBarPeer final : public WindowPeer {
public:
    ProgressBarPeer(Backend& backend, ProgressBar& bar) : WindowPeer(backend, bar), bar_(bar) {
        create(PROGRESS_CLASSW, 0);
        sync();
        changed(Property::Position);
    }
    void changed(Property what) override {
        if (what == Property::Position) {
            SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(bar_.min()), bar_.max());
            SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(bar_.position()), 0);
            return;
        }
        WindowPeer::changed(what);
    }

private:
    ProgressBar& bar_;
};

class GaugePeer final : public WindowPeer {
public:
    GaugePeer(Backend& backend, Gauge& gauge) : WindowPeer(backend, gauge), gauge_(gauge) {
        create(kPaintedClass, 0);
        sync();
    }
    void paint(HDC dc, const RECT& area) override {
        FillRect(dc, &area, backend_.brush(gauge_.back_color()));
        RECT done = area;
        done.right = area.left + (area.right - area.left) * gauge_.percent_done() / 100;
        FillRect(dc, &done, backend_.brush(gauge_.fore_color()));
    }

private:
    Gauge& gauge_;
};

class StatusBarPeer final : public WindowPeer {
public:
    StatusBarPeer(Backend& backend, StatusBar& bar) : WindowPeer(backend, bar), bar_(bar) {
        create(STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | SBARS_SIZEGRIP);
        sync();
        changed(Property::Panels);
    }
    void changed(Property what) override {
        if (what == Property::Panels) {
            // Right edges; the last panel reaches the bar's end.
            std::vector<int> edges;
            int edge = 0;
            for (std::size_t i = 0; i < bar_.panel_count(); ++i) {
                edge += bar_.panel(i).width;
                edges.push_back(i + 1 == bar_.panel_count() ? -1 : edge);
            }
            SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
            for (std::size_t i = 0; i < bar_.panel_count(); ++i)
                SendMessageW(hwnd_, SB_SETTEXTW, i,
                             reinterpret_cast<LPARAM>(wide(bar_.panel(i).text).c_str()));
            return;
        }
        if (what == Property::Text)
            return;
        WindowPeer::changed(what);
    }

private:
    StatusBar& bar_;
};

class ImagePeer final : public WindowPeer {
public:
    ImagePeer(Backend& backend, Image& image) : WindowPeer(backend, image), image_(image) {
        create(kPaintedClass, 0);
        sync();
    }
    void paint(HDC dc, const RECT& area) override {
        const Control* parent = control_.parent();
        FillRect(dc, &area, backend_.brush(parent ? parent->color() : kButtonFace));
        const Bitmap& picture = image_.picture();
        if (picture.empty())
            return;
        BITMAPINFO info = describe(picture);
        const int width = image_.stretch() ? area.right - area.left : picture.width;
        const int height = image_.stretch() ? area.bottom - area.top : picture.height;
        StretchDIBits(dc, 0, 0, width, height, 0, 0, picture.width, picture.height,
                      picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }

private:
    Image& image_;
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, ButtonEdit& edit) {
    return std::make_unique<ButtonEditPeer>(backend, edit);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Edit& edit) {
    return std::make_unique<PlainEditPeer>(backend, edit);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, BitBtn& button) {
    return std::make_unique<ButtonPeer>(backend, button, WS_TABSTOP | BS_PUSHBUTTON,
                                        &button.glyph());
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Button& button) {
    return std::make_unique<ButtonPeer>(backend, button, WS_TABSTOP | BS_PUSHBUTTON, nullptr);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, SpeedButton& button) {
    return std::make_unique<ButtonPeer>(
        backend, button, BS_PUSHBUTTON | (button.flat() ? BS_FLAT : 0), &button.glyph());
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, CheckBox& box) {
    return std::make_unique<ButtonPeer>(backend, box, WS_TABSTOP | BS_AUTOCHECKBOX, nullptr);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Label& label) {
    return std::make_unique<LabelPeer>(backend, label);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Bevel& bevel) {
    return std::make_unique<BevelPeer>(backend, bevel);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, TrackBar& slider) {
    return std::make_unique<TrackBarPeer>(backend, slider);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, ProgressBar& bar) {
    return std::make_unique<ProgressBarPeer>(backend, bar);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Gauge& gauge) {
    return std::make_unique<GaugePeer>(backend, gauge);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, StatusBar& bar) {
    return std::make_unique<StatusBarPeer>(backend, bar);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Image& image) {
    return std::make_unique<ImagePeer>(backend, image);
}

} // namespace qirelo::ui::win32
