#include "devsite/stores/site_state.h"

namespace qirelo::devsite {

SiteState::SiteState(TimerClock::Source clock_source, std::unique_ptr<DataFile> data)
    : clock(std::move(clock_source)), data_(std::move(data)) {
    if (!data_)
        return;
    auto loaded = data_->load();
    if (!loaded.members.empty())
        members.replace_all(std::move(loaded.members));
    records.replace_all(std::move(loaded.records));
}

std::string SiteState::send_command(const std::string& member_id, const std::string& command) {
    auto record = clock.next_stamp() + "|" + command;
    set_record(member_id, record);
    return record;
}

void SiteState::set_record(const std::string& member_id, const std::string& record) {
    records.set(member_id, record);
    save();
}

Member SiteState::register_member(const std::string& name, const std::string& password) {
    auto member = members.add(name, password);
    save();
    return member;
}

void SiteState::reset() {
    members.replace_all({});
    records.replace_all({});
    events.clear();
    requests.clear();
    info.reset();
    update.reset();
    save();
}

void SiteState::save() {
    if (data_)
        data_->save({members.all(), records.all()});
}

} // namespace qirelo::devsite
