// A modal form on the Win32 peers (under Wine in the test run): its loop
// really runs, keeps the other windows from input while it does, and ends on
// the answer of a clicked button or of Enter and Escape.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/win32/backend.h"
#include "ui/win32/peers.h"

namespace qirelo::ui {
namespace {

using win32::window_of;

class ModalForm : public ::testing::Test {
protected:
    ModalForm() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        owner.set_bounds(0, 0, 300, 200);
        dialog.set_border_style(BorderStyle::Dialog);
        dialog.set_centered(true);
        dialog.size_client(240, 120);
        dialog.set_stay_on_top(true);
        edit.set_bounds(10, 10, 200, 21);
        ok.set_bounds(40, 80, 75, 23);
        ok.set_caption("OK");
        ok.set_default(true);
        ok.set_modal_result(ModalResult::Ok);
        cancel.set_bounds(130, 80, 75, 23);
        cancel.set_caption("Cancel");
        cancel.set_cancel(true);
        cancel.set_modal_result(ModalResult::Cancel);
        dialog.set_active_control(&edit);
        win32::realize(backend, owner);
        application.set_main_form(owner);
        owner.show_form();
        backend.realize(dialog);
        application.process_messages();
    }

    win32::Backend backend;
    Application application{backend};
    Form owner{"owner"};
    Form dialog{"dialog"};
    Edit edit{&dialog, "edit"};
    Button ok{&dialog, "ok"};
    Button cancel{&dialog, "cancel"};
};

TEST_F(ModalForm, LoopRunsUntilTheClickedButtonsResultWithTheOwnerDisabled) {
    bool owner_enabled_inside = true, dialog_visible_inside = false;
    application.post([&] {
        owner_enabled_inside = IsWindowEnabled(window_of(owner));
        dialog_visible_inside = IsWindowVisible(window_of(dialog));
        // The user's click, as the window system delivers it.
        PostMessageW(window_of(ok), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
    EXPECT_FALSE(owner_enabled_inside);
    EXPECT_TRUE(dialog_visible_inside);
    EXPECT_TRUE(IsWindowEnabled(window_of(owner)));
    EXPECT_FALSE(IsWindowVisible(window_of(dialog)));
    EXPECT_EQ(GetActiveWindow(), window_of(owner)) << "the owner is active again";
}

TEST_F(ModalForm, EscapeAndEnterInAnEditAnswerCancelAndOk) {
    application.post([&] { PostMessageW(window_of(edit), WM_KEYDOWN, VK_ESCAPE, 1); });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
    application.post([&] { PostMessageW(window_of(edit), WM_KEYDOWN, VK_RETURN, 1); });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Ok);
}

TEST_F(ModalForm, AltAndTheMarkedLetterClickThatButton) {
    cancel.set_caption("&Cancel");
    application.post([&] { PostMessageW(window_of(edit), WM_SYSCHAR, 'c', 1 << 29); });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
}

TEST_F(ModalForm, CloseButtonAnswersCancel) {
    application.post([&] { PostMessageW(window_of(dialog), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(application.show_modal(dialog), ModalResult::Cancel);
}

TEST_F(ModalForm, DialogFrameAroundTheLayoutsClientSizeOnTopOfOthers) {
    HWND window = window_of(dialog);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME);
    dialog.size_client(240, 150);
    GetClientRect(window, &client);
    EXPECT_EQ(client.bottom, 150);
    EXPECT_EQ(GetWindowLongPtrW(window_of(ok), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ok.set_default(false);
    EXPECT_EQ(GetWindowLongPtrW(window_of(ok), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

} // namespace
} // namespace qirelo::ui
