// The Win32 peers on real common controls (under Wine in the test run): what
// the user does in a native control reaches the widget's events once, what
// code sets on the widget shows in the native control, and a call from a
// worker gets through while a message box is up.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/profile/codepage.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/status_bar.h"
#include "ui/track_bar.h"
#include "ui/win32/backend.h"
#include "ui/win32/peers.h"

namespace qirelo::ui {
namespace {

using win32::window_of;

std::wstring text_of(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

struct Counter {
    int calls = 0;
    NotifyEvent handler() {
        return [this](Component&) { ++calls; };
    }
};

class Peers : public ::testing::Test {
protected:
    Peers() {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        form.set_bounds(0, 0, 500, 400);
        Font font{platform::gb("宋体"), 12, Charset::Gb2312};
        form.set_font(font);
        edit.set_bounds(10, 10, 150, 22);
        address.set_bounds(10, 40, 200, 22);
        button.set_bounds(10, 70, 80, 25);
        button.set_caption("go");
        box.set_bounds(100, 70, 80, 17);
        box.set_caption("box");
        slider.set_bounds(10, 100, 150, 30);
        slider.set_range(0, 255);
        link.set_bounds(10, 140, 40, 14);
        link.set_caption(platform::gb("注册"));
        link.make_link();
        pages.set_bounds(200, 100, 250, 200);
        first.set_caption("one");
        second.set_caption("two");
        win32::realize(backend, form);
        application.set_main_form(form);
        form.show_form();
        application.process_messages();
    }

    win32::Backend backend;
    Application application{backend};
    Form form{"form"};
    Edit edit{&form, "edit"};
    ButtonEdit address{&form, "address"};
    Button button{&form, "button"};
    CheckBox box{&form, "box"};
    TrackBar slider{&form, "slider"};
    Label link{&form, "link"};
    StatusBar status{&form, "status"};
    PageControl pages{&form, "pages"};
    TabSheet first{pages, "first"};
    TabSheet second{pages, "second"};
};

TEST_F(Peers, AControlOfNoKindIsRefused) {
    Form other{"other"};
    Control stray{&other, "stray"};
    EXPECT_THROW(win32::realize(backend, other), UnknownWidgetKind);
}

TEST_F(Peers, NativeButtonClickRunsOnClickOnceAndNotWhileDisabled) {
    Counter clicks;
    button.OnClick = clicks.handler();
    SendMessageW(window_of(button), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks.calls, 1);
    button.set_enabled(false);
    EXPECT_FALSE(IsWindowEnabled(window_of(button)));
    SendMessageW(window_of(button), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks.calls, 1);
}

TEST_F(Peers, CheckBoxFollowsTheUserAndTheCode) {
    Counter clicks;
    box.OnClick = clicks.handler();
    SendMessageW(window_of(box), BM_CLICK, 0, 0);
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(clicks.calls, 1);
    box.set_checked(false);
    EXPECT_EQ(SendMessageW(window_of(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks.calls, 2);
}

TEST_F(Peers, SliderMovedByTheUserReportsOnceAndCodeIsClamped) {
    Counter changes;
    slider.OnChange = changes.handler();
    SetFocus(window_of(slider));
    SendMessageW(window_of(slider), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(slider.position(), 1);
    EXPECT_EQ(changes.calls, 1);
    slider.set_position(300);
    EXPECT_EQ(SendMessageW(window_of(slider), TBM_GETPOS, 0, 0), 255);
    EXPECT_EQ(changes.calls, 2);
}

TEST_F(Peers, EditShowsTextSelectionPasswordAndReadOnlyAsTheWidgetSays) {
    edit.set_text(platform::gb("会员") + "ab");
    EXPECT_EQ(text_of(window_of(edit)), L"会员ab");
    edit.set_selection(4, 2); // bytes: after the two Chinese characters
    DWORD start = 0, end = 0;
    SendMessageW(window_of(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 4u);
    edit.set_password_char('*');
    EXPECT_EQ(SendMessageW(window_of(edit), EM_GETPASSWORDCHAR, 0, 0), L'*');
    edit.set_read_only(true);
    EXPECT_TRUE(GetWindowLongPtrW(window_of(edit), GWL_STYLE) & ES_READONLY);
}

TEST_F(Peers, TypedTextReachesTheWidgetAsGb2312AndKeyPressMaySwallowIt) {
    int changes = 0;
    edit.OnChange = [&](Component&) { ++changes; };
    edit.OnKeyPress = [](Component&, char& key) {
        if (key == 'x')
            key = 0;
    };
    SetFocus(window_of(edit));
    for (wchar_t c : std::wstring(L"axb"))
        SendMessageW(window_of(edit), WM_CHAR, c, 0);
    EXPECT_EQ(edit.text(), "ab");
    EXPECT_EQ(changes, 2);
    SetWindowTextW(window_of(edit), L"登录");
    EXPECT_EQ(edit.text(), platform::gb("登录"));
}

TEST_F(Peers, ButtonOfTheAddressBarRunsOnButtonClick) {
    Counter clicks;
    address.OnButtonClick = clicks.handler();
    HWND button_window = GetWindow(window_of(address), GW_HWNDNEXT);
    for (HWND w = GetWindow(window_of(form), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(w, name, 32);
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, window_of(form), reinterpret_cast<POINT*>(&r), 2);
        if (std::wstring(name) == WC_BUTTONW && r.left == 10 + 200 - 22 && r.top == 40)
            button_window = w;
    }
    SendMessageW(button_window, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks.calls, 1);
}

TEST_F(Peers, LinkLabelClickRunsOnClick) {
    Counter clicks;
    link.OnClick = clicks.handler();
    SendMessageW(window_of(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(window_of(link), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(clicks.calls, 1);
}

TEST_F(Peers, PagesSwitchedByCodeShowInTheTabControlWithoutOnChange) {
    Counter changes;
    pages.OnChange = changes.handler();
    pages.set_active_page(&second);
    EXPECT_EQ(SendMessageW(window_of(pages), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(window_of(second)));
    EXPECT_FALSE(IsWindowVisible(window_of(first)));
    EXPECT_EQ(changes.calls, 0);

    second.set_caption("renamed");
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(window_of(pages), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"renamed");
}

TEST_F(Peers, StatusBarPanelsAndWindowStateFollowTheWidgets) {
    status.add_panel(100);
    status.add_panel(50);
    status.set_panel_text(1, platform::gb("完成"));
    wchar_t text[32] = {};
    SendMessageW(window_of(status), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"完成");

    form.set_window_state(WindowState::Maximized);
    EXPECT_TRUE(GetWindowLongPtrW(window_of(form), GWL_STYLE) & WS_MAXIMIZE);
    form.set_window_state(WindowState::Normal);
    EXPECT_FALSE(GetWindowLongPtrW(window_of(form), GWL_STYLE) & WS_MAXIMIZE);
}

TEST_F(Peers, SynchronizedCallRunsWhileAMessageBoxIsUpAndTheBoxAnswers) {
    application.set_title("Qirelo test box");
    std::atomic<bool> ran_in_box{false};
    std::atomic<bool> box_up{false};
    std::thread worker([&] {
        HWND box = nullptr;
        for (int i = 0; i < 400 && !box; ++i) {
            Sleep(25);
            box = FindWindowW(L"#32770", L"Qirelo test box");
        }
        if (!box)
            return;
        box_up = true;
        application.synchronize([&] { ran_in_box = true; });
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    const int answer =
        application.message_box(platform::gb("信息"), kMbOkCancel | kMbIconInformation);
    worker.join();
    EXPECT_TRUE(box_up);
    EXPECT_TRUE(ran_in_box);
    EXPECT_EQ(answer, kIdOk);
}

} // namespace
} // namespace qirelo::ui
