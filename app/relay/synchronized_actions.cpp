#include "app/relay/synchronized_actions.h"

#include <exception>

namespace qirelo::app::relay {

void SynchronizedActions::OnMainThread(const std::function<void()>& step) {
    std::exception_ptr error;
    worker_.Synchronize([&] {
        try {
            step();
        } catch (...) {
            error = std::current_exception();
        }
    });
    if (error) {
        std::rethrow_exception(error);
    }
}

void SynchronizedActions::SendKeys(const std::string& keys) {
    worker_.CheckStop();
    window_.SendKeys(keys);
    worker_.CheckStop();
}

void SynchronizedActions::ShowTab(Tab tab) {
    OnMainThread([&] { window_.ShowTab(tab); });
}
void SynchronizedActions::Navigate(const std::string& url) {
    OnMainThread([&] { window_.Navigate(url); });
}
void SynchronizedActions::Action1() {
    OnMainThread([&] { window_.Action1(); });
}
void SynchronizedActions::Action2() {
    OnMainThread([&] { window_.Action2(); });
}
void SynchronizedActions::Action3() {
    OnMainThread([&] { window_.Action3(); });
}
int SynchronizedActions::TrackBar1Position() {
    int position = 0;
    OnMainThread([&] { position = window_.TrackBar1Position(); });
    return position;
}
void SynchronizedActions::SetTrackBar1Position(int position) {
    OnMainThread([&] { window_.SetTrackBar1Position(position); });
}
void SynchronizedActions::ClickBitBtn1() {
    OnMainThread([&] { window_.ClickBitBtn1(); });
}
std::string SynchronizedActions::EditUrlText() {
    std::string text;
    OnMainThread([&] { text = window_.EditUrlText(); });
    return text;
}

} // namespace qirelo::app::relay
