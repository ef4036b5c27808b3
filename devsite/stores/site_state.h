#pragma once

// Everything the companion's servers share: members, records, the journals
// tests read, the info file, the timer clock, the addresses being served, and
// the data file that keeps members and records across restarts.

#include "devsite/stores/data_file.h"
#include "devsite/stores/info_file.h"
#include "devsite/stores/journal.h"
#include "devsite/stores/members.h"
#include "devsite/stores/records.h"
#include "devsite/stores/timer_clock.h"
#include "devsite/update/update_signer.h"
#include "devsite/update/update_store.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qirelo::devsite {

// The listening address and the port of each server, once bound.
struct Addresses {
    std::string host = "127.0.0.1";
    std::uint16_t site = 0, relay = 0, timer = 0, mobile = 0, control = 0;
};

class SiteState {
public:
    // With a data file, its members and records are loaded now (DataFileError
    // when it is unreadable) and every change is written back.
    explicit SiteState(TimerClock::Source clock_source = {},
                       std::unique_ptr<DataFile> data = nullptr);

    Members members;
    Records records;
    Journal<PlayEvent> events;
    Journal<LoggedRequest> requests;
    InfoFile info;
    UpdateStore update; // program files and behaviours below "/setup/"
    // Signs the uploaded program files: "/setup/NAME.sig" is their signature.
    std::shared_ptr<const UpdateSigner> signer;
    TimerClock clock;
    Addresses addresses; // set once before the servers start

    // A phone tap: stores "<next stamp>|<command>" as the member's record and
    // returns it. RecordError for a command with a line break.
    std::string send_command(const std::string& member_id, const std::string& command);
    void set_record(const std::string& member_id, const std::string& record);
    Member register_member(const std::string& name, const std::string& password);

    // Back to a fresh companion: only the demo member, no records, empty
    // journals, the default info file. Written to the data file too.
    void reset();

private:
    void save();

    std::unique_ptr<DataFile> data_;
};

} // namespace qirelo::devsite
