#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_peer.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/panel.h"
#include "ui/progress.h"
#include "ui/status_bar.h"
#include "ui/track_bar.h"
#include "ui/web_browser.h"
#include "ui/widget_kinds.h"

namespace qirelo::ui {
namespace {

using testing::count;
using testing::RecordingPeer;

struct Counter {
    int calls = 0;
    std::vector<std::string> senders;
    NotifyEvent handler() {
        return [this](Component& sender) {
            ++calls;
            senders.push_back(sender.name());
        };
    }
};

// What a backend's maker would be told for each control: its own kind,
// whatever the order of the overloads; a derived kind without a maker of its
// own reaches its base's.
std::string KindName(Form&) {
    return "Form";
}
std::string KindName(Panel&) {
    return "Panel";
}
std::string KindName(GroupBox&) {
    return "GroupBox";
}
std::string KindName(Button&) {
    return "Button";
}
std::string KindName(BitBtn&) {
    return "BitBtn";
}
std::string KindName(Edit&) {
    return "Edit";
}
std::string KindName(ButtonEdit&) {
    return "ButtonEdit";
}
std::string KindName(Control&) {
    return "other";
}

std::string KindOf(Control& control) {
    std::string name;
    with_kind(control, [&](auto& widget) { name = KindName(widget); });
    return name;
}

TEST(WidgetKinds, EachControlIsToldAsItsOwnKind) {
    Form form("form");
    Panel panel(&form, "panel");
    GroupBox box(&form, "box");
    Button button(&form, "button");
    BitBtn bit(&form, "bit");
    Edit edit(&form, "edit");
    ButtonEdit address(&form, "address");
    LabeledEdit labeled(&form, "labeled");
    TrackBar slider(&form, "slider");
    EXPECT_EQ(KindOf(form), "Form");
    EXPECT_EQ(KindOf(panel), "Panel");
    EXPECT_EQ(KindOf(box), "GroupBox");
    EXPECT_EQ(KindOf(button), "Button");
    EXPECT_EQ(KindOf(bit), "BitBtn");
    EXPECT_EQ(KindOf(edit), "Edit");
    EXPECT_EQ(KindOf(address), "ButtonEdit");
    EXPECT_EQ(KindOf(labeled), "Edit"); // its label is a control of its own
    EXPECT_EQ(KindOf(slider), "other");
}

TEST(WidgetKinds, AControlOfNoKindIsRefused) {
    Form form("form");
    Control stray(&form, "stray");
    EXPECT_THROW(KindOf(stray), UnknownWidgetKind);
}

TEST(TrackBar, ClampsToItsRangeAndChangesOnlyOnARealChange) {
    Form form("form");
    TrackBar slider(&form, "slider");
    slider.set_range(0, 255);
    Counter changes;
    slider.OnChange = changes.handler();

    slider.set_position(300);
    EXPECT_EQ(slider.position(), 255);
    slider.set_position(255);  // same value: no event
    slider.set_position(1000); // clamps to the same value: no event
    EXPECT_EQ(changes.calls, 1);

    slider.set_position(-5);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(changes.calls, 2);
}

TEST(TrackBar, NarrowingTheRangeMovesThePositionAndReportsIt) {
    Form form("form");
    TrackBar slider(&form, "slider");
    slider.set_range(0, 255);
    slider.set_position(200);
    Counter changes;
    slider.OnChange = changes.handler();
    slider.set_range(0, 100);
    EXPECT_EQ(slider.position(), 100);
    EXPECT_EQ(changes.calls, 1);
}

TEST(Edit, SetTextRaisesOnChangeOnlyOnARealChange) {
    Form form("form");
    Edit edit(&form, "edit");
    Counter changes;
    edit.OnChange = changes.handler();
    edit.set_text("abc");
    edit.set_text("abc");
    edit.set_text("");
    EXPECT_EQ(changes.calls, 2);
    EXPECT_EQ(changes.senders, (std::vector<std::string>{"edit", "edit"}));
}

TEST(Edit, KeyPressHandlerSeesTheKeyFirstAndMaySwallowIt) {
    Form form("form");
    Edit edit(&form, "edit");
    std::string seen;
    edit.OnKeyPress = [&](Component&, char& key) {
        seen += key;
        if (key == 'x')
            key = 0;
        if (key == 'a')
            key = 'A';
    };
    edit.type_text("axb");
    EXPECT_EQ(seen, "axb");
    EXPECT_EQ(edit.text(), "Ab");
}

TEST(Edit, TypingReplacesTheSelectionAndBackspaceRemovesOneByte) {
    Form form("form");
    Edit edit(&form, "edit");
    edit.set_text("hello");
    edit.select_all();
    edit.type_text("hi");
    EXPECT_EQ(edit.text(), "hi");
    edit.type_char('\b');
    EXPECT_EQ(edit.text(), "h");
    EXPECT_EQ(edit.sel_start(), 1u);
}

TEST(Edit, ReadOnlyEditKeepsItsTextButStillRaisesKeyEvents) {
    Form form("form");
    Edit edit(&form, "edit");
    edit.set_read_only(true);
    int presses = 0;
    edit.OnKeyPress = [&](Component&, char&) { ++presses; };
    edit.type_text("ab");
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(presses, 2);
}

TEST(Edit, EnterAndTabReachKeyDownWithTheirVirtualKeys) {
    Form form("form");
    Edit edit(&form, "edit");
    std::vector<std::uint16_t> keys;
    edit.OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) { keys.push_back(key); };
    edit.type_char('\r');
    edit.type_char('\t');
    edit.type_char('a');
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{kVkReturn, kVkTab}));
    EXPECT_EQ(edit.text(), "a");
}

TEST(LabeledEdit, LabelSitsAboveTheEditOnItsLeftEdge) {
    Form form("form");
    Font font;
    font.height = 14;
    form.set_font(font);
    LabeledEdit edit(&form, "edit");
    edit.edit_label().set_caption("name");
    edit.set_bounds(32, 51, 121, 22);
    EXPECT_EQ(edit.edit_label().bounds(), (Rect{32, 51 - 14 - 3, 121, 14}));
}

TEST(Button, ClickRunsOnClickEvenWhenDisabled) {
    Form form("form");
    Button button(&form, "button");
    Counter clicks;
    button.OnClick = clicks.handler();
    button.set_enabled(false);
    button.click();
    EXPECT_EQ(clicks.calls, 1);
}

TEST(CheckBox, SettingTheStateRunsOnClickOnlyOnARealChange) {
    Form form("form");
    CheckBox box(&form, "box");
    Counter clicks;
    box.OnClick = clicks.handler();
    box.set_checked(true);
    box.set_checked(true);
    box.click(); // the user's click toggles
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks.calls, 2);
}

TEST(Gauge, KeepsProgressInRangeAndRedrawsOnlyWhenThePercentageChanges) {
    Form form("form");
    Gauge gauge(&form, "gauge");
    std::vector<Property> log;
    RecordingPeer::attach(gauge, log);

    gauge.set_max_value(10000);
    gauge.set_progress(-1);
    EXPECT_EQ(gauge.progress(), 0);
    EXPECT_EQ(count(log, Property::Position), 0);

    gauge.set_progress(50); // 0.5 %: still 0 shown
    EXPECT_EQ(count(log, Property::Position), 0);
    gauge.set_progress(5000);
    EXPECT_EQ(gauge.percent_done(), 50);
    EXPECT_EQ(count(log, Property::Position), 1);
    gauge.set_progress(5050);
    EXPECT_EQ(count(log, Property::Position), 1);

    gauge.set_progress(20000);
    EXPECT_EQ(gauge.progress(), 10000);
    EXPECT_EQ(gauge.percent_done(), 100);

    gauge.set_max_value(20000); // the same progress is now half
    EXPECT_EQ(gauge.percent_done(), 50);
    EXPECT_EQ(count(log, Property::Position), 3);
}

TEST(ProgressBar, StepsWithinItsRange) {
    Form form("form");
    ProgressBar bar(&form, "bar");
    bar.set_range(0, 15);
    bar.set_step(1);
    for (int i = 0; i < 20; ++i)
        bar.step_it();
    EXPECT_EQ(bar.position(), 15);
    bar.set_position(0);
    bar.step_it();
    EXPECT_EQ(bar.position(), 1);
}

TEST(StatusBar, PanelsKeepWidthAndTextAndAMissingPanelRaises) {
    Form form("form");
    StatusBar bar(&form, "bar");
    bar.add_panel(100);
    bar.add_panel(50);
    bar.set_panel_text(1, "loading");
    EXPECT_EQ(bar.panel(0).width, 100);
    EXPECT_EQ(bar.panel(1).text, "loading");
    EXPECT_THROW(bar.set_panel_text(2, "x"), std::out_of_range);
}

struct PagesFixture : ::testing::Test {
    Form form{"form"};
    PageControl pages{&form, "pages"};
    TabSheet first{pages, "first"};
    TabSheet second{pages, "second"};
    TabSheet third{pages, "third"};
    std::vector<std::string> events;

    PagesFixture() {
        for (TabSheet* sheet : {&first, &second, &third}) {
            sheet->OnShow = [this](Component& s) { events.push_back("show " + s.name()); };
            sheet->OnHide = [this](Component& s) { events.push_back("hide " + s.name()); };
        }
        form.OnShow = [this](Component&) { events.push_back("form show"); };
        pages.OnChange = [this](Component&) { events.push_back("change"); };
    }
};

TEST_F(PagesFixture, ActivePageIsTheOnlyVisibleSheetAndShowsWithTheFormAfterItsChildren) {
    pages.set_active_page(&second);
    EXPECT_TRUE(events.empty()); // nothing shows before the form does
    form.show_form();
    EXPECT_EQ(events, (std::vector<std::string>{"show second", "form show"}));
    EXPECT_FALSE(first.visible());
    EXPECT_TRUE(second.showing());
    EXPECT_FALSE(third.showing());
}

TEST_F(PagesFixture, CodeSwitchesPagesWithoutOnChangeAndTheUserWithIt) {
    form.show_form();
    events.clear();
    pages.set_active_page(&third);
    EXPECT_EQ(events, (std::vector<std::string>{"hide first", "show third"}));
    events.clear();
    pages.select_tab(0);
    EXPECT_EQ(events, (std::vector<std::string>{"hide third", "show first", "change"}));
    events.clear();
    pages.select_tab(0); // already showing: nothing
    pages.set_active_page(&first);
    EXPECT_TRUE(events.empty());
}

TEST_F(PagesFixture, SheetShowsEveryTimeItComesBack) {
    form.show_form();
    for (int i = 0; i < 3; ++i) {
        pages.set_active_page(&second);
        pages.set_active_page(&first);
    }
    EXPECT_EQ(std::count(events.begin(), events.end(), "show first"), 4);
}

TEST(Layout, AlignedChildrenShareTheClientAreaTopBottomThenClient) {
    Form form("form");
    form.set_bounds(0, 0, 416, 338); // client 400 x 300
    Panel top(&form, "top");
    top.set_align(Align::Top);
    top.set_bounds(0, 0, 10, 22);
    Panel fill(&form, "fill");
    fill.set_align(Align::Client);
    StatusBar bottom(&form, "bottom");
    Panel right(&top, "right");
    right.set_bounds(0, 0, 118, 5);
    right.set_align(Align::Right);

    EXPECT_EQ(top.bounds(), (Rect{0, 0, 400, 22}));
    EXPECT_EQ(bottom.bounds(), (Rect{0, 300 - 19, 400, 19}));
    EXPECT_EQ(fill.bounds(), (Rect{0, 22, 400, 300 - 22 - 19}));
    EXPECT_EQ(right.bounds(), (Rect{400 - 118, 0, 118, 22}));

    form.set_client_size(600, 400);
    EXPECT_EQ(fill.bounds(), (Rect{0, 22, 600, 400 - 22 - 19}));
    EXPECT_EQ(right.bounds(), (Rect{600 - 118, 0, 118, 22}));

    top.hide(); // a hidden docked control gives its room back
    EXPECT_EQ(fill.bounds(), (Rect{0, 0, 600, 400 - 19}));
}

TEST(Focus, TabOrderWalksFocusableControlsDepthFirstAndWraps) {
    Form form("form");
    GroupBox group(&form, "group");
    Label label(&group, "label");
    Edit name(&group, "name");
    Edit pass(&group, "pass");
    CheckBox remember(&group, "remember");
    Button login(&group, "login");
    Button hidden(&group, "hidden");
    hidden.hide();
    Edit outside(&form, "outside");
    outside.set_enabled(false);

    std::vector<std::string> order;
    name.set_focus();
    for (int i = 0; i < 5; ++i) {
        order.push_back(form.active_control()->name());
        form.select_next();
    }
    EXPECT_EQ(order, (std::vector<std::string>{"name", "pass", "remember", "login", "name"}));

    pass.set_tab_order(0);
    name.set_focus();
    form.select_next();
    EXPECT_EQ(form.active_control(), &remember);
    form.select_next(false);
    EXPECT_EQ(form.active_control(), &name);
}

TEST(Focus, EnterAndExitFollowTheFocus) {
    Form form("form");
    Edit a(&form, "a");
    Edit b(&form, "b");
    std::vector<std::string> events;
    for (Edit* edit : {&a, &b}) {
        edit->OnEnter = [&](Component& s) { events.push_back("enter " + s.name()); };
        edit->OnExit = [&](Component& s) { events.push_back("exit " + s.name()); };
    }
    a.set_focus();
    b.set_focus();
    b.set_focus();
    EXPECT_EQ(events, (std::vector<std::string>{"enter a", "exit a", "enter b"}));
    EXPECT_TRUE(b.focused());
}

TEST(Label, LinkIsBlueUnderlinedWithTheHandCursor) {
    Form form("form");
    Label link(&form, "link");
    link.make_link();
    EXPECT_EQ(link.font().color, kBlue);
    EXPECT_TRUE(link.font().underline);
    EXPECT_EQ(link.cursor(), Cursor::Hand);
}

TEST(Control, FontComesFromTheParentUntilSetAndChildrenLeaveTheTreeWhenDestroyed) {
    Form form("form");
    Font song;
    song.name = "song";
    song.height = 12;
    form.set_font(song);
    Panel panel(&form, "panel");
    EXPECT_EQ(panel.font().name, "song");
    {
        Edit edit(&panel, "edit");
        edit.set_focus();
        EXPECT_EQ(panel.children().size(), 1u);
    }
    EXPECT_TRUE(panel.children().empty());
    EXPECT_EQ(form.active_control(), nullptr);
}

} // namespace
} // namespace qirelo::ui
