#include "app/relay/window_actions.h"

#include "platform/profile/codepage.h"

namespace qirelo::app::relay {

void WindowActions::SendKeys(const std::string& keys) {
    keySender_.SendKeys(keys, true);
}

void WindowActions::ShowTab(Tab tab) {
    controls_.pag1.set_active_page(tab == Tab::tb1 ? &controls_.tb1 : &controls_.tb3);
}

void WindowActions::Navigate(const std::string& url) {
    controls_.web1.Navigate(platform::utf16_from_gb(url));
}

void WindowActions::Action1() {
    controls_.Action1.execute();
}
void WindowActions::Action2() {
    controls_.Action2.execute();
}
void WindowActions::Action3() {
    controls_.Action3.execute();
}
int WindowActions::TrackBar1Position() {
    return controls_.TrackBar1.position();
}
void WindowActions::SetTrackBar1Position(int position) {
    controls_.TrackBar1.set_position(position);
}
void WindowActions::ClickBitBtn1() {
    controls_.BitBtn1.click();
}
std::string WindowActions::EditUrlText() {
    return controls_.edit_url.text();
}

} // namespace qirelo::app::relay
