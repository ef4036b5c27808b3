#pragma once

// The screen pointer actions of the main window: left-button clicks at fixed
// points of the screen that operate the video player in web1.
//
// Every target is computed in screen pixels and then made relative to web1's
// client origin, read afresh on each run, and that relative point is what the
// pointer is moved to: the site's players have always been clicked there.

#include "platform/input/pointer.h"
#include "ui/control.h"
#include "ui/form.h"

namespace qirelo::app::pointer {

// Half a screen dimension: the exact half, the lower whole half when odd.
int HalfOf(int pixels);

class PointerActions {
public:
    PointerActions(ui::Form& form1, const ui::Control& web1, platform::input::Pointer& pointer);

    // "双击全屏": maximise the window, double-click the middle of the screen,
    // then move the pointer towards the lower right, out of the player's way.
    void Action1Execute();
    // "单击屏幕底部": one click 5 pixels above the bottom, in the middle.
    void Action2Execute();
    // "单击屏幕中间": one click in the middle of the screen.
    void Action3Execute();

private:
    // The target (x, y) in web1's client coordinates.
    platform::input::Point FromWeb1Origin(int x, int y) const;
    platform::input::Point ScreenMiddle() const;
    void LeftClick();

    ui::Form& form1_;
    const ui::Control& web1_;
    platform::input::Pointer& pointer_;
};

} // namespace qirelo::app::pointer
