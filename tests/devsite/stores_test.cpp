#include "devsite/stores/data_file.h"
#include "devsite/stores/journal.h"
#include "devsite/stores/records.h"
#include "devsite/stores/site_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

namespace qirelo::devsite {
namespace {

namespace fs = std::filesystem;

TEST(Members, TheDemoMemberSignsInOnlyWithItsPassword) {
    Members members;
    EXPECT_EQ(members.check_login("demo", "qirelo").value_or(Member{}).id, "10001");
    EXPECT_FALSE(members.check_login("demo", "qirelO"));
    EXPECT_FALSE(members.check_login("", ""));
}

TEST(Members, AddGivesTheNextIdAndRefusesWhatTheClientCouldNotLogInWith) {
    Members members;
    EXPECT_EQ(members.add("会员", "pass").id, "10002"); // two characters are four bytes
    EXPECT_EQ(members.add("third", "pass").id, "10003");
    EXPECT_THROW(members.add("会员", "other"), RegistrationError); // taken
    EXPECT_THROW(members.add("abc", "pass"), RegistrationError);   // 3 bytes
    EXPECT_THROW(members.add("long", "pas"), RegistrationError);
    EXPECT_THROW(members.add(std::string(21, 'n'), "pass"), RegistrationError);
    EXPECT_THROW(members.add("smile\xF0\x9F\x98\x80", "pass"), RegistrationError); // no GB2312 form
    EXPECT_THROW(members.add("tab\there", "pass"), RegistrationError);
    EXPECT_EQ(members.all().size(), 3u);
}

TEST(Members, ReplacingAllKeepsTheDemoMember) {
    Members members;
    members.replace_all({{"42", "other", "secret"}});
    EXPECT_TRUE(members.find_by_id("10001"));
    EXPECT_TRUE(members.check_login("other", "secret"));
}

TEST(Records, RefuseLineBreaksMissingBarsAndBadIds) {
    Records records;
    EXPECT_THROW(records.set("10001", "120|A1.1\n"), RecordError);
    EXPECT_THROW(records.set("10001", "120\r|F"), RecordError);
    EXPECT_THROW(records.set("10001", "120F"), RecordError);
    EXPECT_THROW(records.set("../x", "120|F"), RecordError);
    EXPECT_THROW(records.set("", "120|F"), RecordError);
    records.set("10001", "not-a-number|F|with|bars"); // the client judges the stamp
    EXPECT_EQ(records.get("10001").value_or(""), "not-a-number|F|with|bars");
    EXPECT_FALSE(records.get("10002"));
}

TEST(TimerClock, FormatsHundredthsAndNeverGoesBack) {
    EXPECT_EQ(TimerClock::format(123456), "1234.56");
    EXPECT_EQ(TimerClock::format(5), "0.05");
    std::int64_t source = 1000;
    TimerClock clock([&] { return source; });
    EXPECT_EQ(clock.now(), "10.00");
    source = 900; // the system clock stepped back
    EXPECT_EQ(clock.now(), "10.00");
    source = 1101;
    EXPECT_EQ(clock.now(), "11.01");
}

TEST(TimerClock, StampsDifferEvenWithinOneHundredth) {
    TimerClock clock([] { return std::int64_t{5000}; });
    EXPECT_EQ(clock.next_stamp(), "50.00");
    EXPECT_EQ(clock.next_stamp(), "50.01");
    EXPECT_EQ(clock.now(), "50.01"); // the timer is never behind a stamp it gave
}

TEST(Journal, KeepsOnlyTheLatestEntriesInOrder) {
    Journal<PlayEvent> journal(3);
    for (int i = 0; i < 5; ++i)
        journal.add({0, "p", "key", std::to_string(i)});
    auto entries = journal.list();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.front().detail, "2");
    EXPECT_EQ(entries.back().sequence, 5u);
}

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        directory_ = fs::temp_directory_path() /
                     ("qirelo-devsite-test-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                      std::to_string(counter++));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path directory_;
};

TEST_F(DataFileTest, AwkwardTextSurvivesTheRoundTrip) {
    DataFile file(directory_ / "site.dat");
    SiteData data{{{"10001", "demo", "qirelo"}, {"10002", "会员\t甲\n", "p%ss|word"}},
                  {{"10002", "12.5|A321.5"}}};
    file.save(data);
    auto loaded = file.load();
    EXPECT_EQ(loaded.members, data.members);
    EXPECT_EQ(loaded.records, data.records);
    EXPECT_FALSE(fs::exists(directory_ / "site.dat.tmp"));
}

TEST_F(DataFileTest, AMissingFileIsEmptyAndABrokenOneIsRefusedWithItsLine) {
    DataFile file(directory_ / "site.dat");
    EXPECT_TRUE(file.load().members.empty());
    std::ofstream(directory_ / "site.dat")
        << "qirelo-devsite data 1\nmember\t1\tn\tp\nrecord\t1\tno bar\n";
    try {
        file.load();
        FAIL() << "a record without a bar was loaded";
    } catch (const DataFileError& error) {
        EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
    }
    std::ofstream(directory_ / "other.dat") << "something else\n";
    EXPECT_THROW(DataFile(directory_ / "other.dat").load(), DataFileError);
}

TEST_F(DataFileTest, AFailedSaveLeavesTheOldFileAsItWas) {
    DataFile file(directory_ / "site.dat");
    file.save({{{"10001", "demo", "qirelo"}}, {}});
    // The temporary file's place is taken by a directory, so the write fails.
    fs::create_directories(directory_ / "site.dat.tmp" / "blocker");
    EXPECT_THROW(file.save({{}, {{"10001", "1|F"}}}), DataFileError);
    EXPECT_EQ(file.load().members.size(), 1u);
}

TEST_F(DataFileTest, SiteStateKeepsMembersAndRecordsAcrossRestarts) {
    auto path = directory_ / "site.dat";
    {
        SiteState state({}, std::make_unique<DataFile>(path));
        state.register_member("newcomer", "secret");
        state.set_record("10002", "100|F");
    }
    SiteState restarted({}, std::make_unique<DataFile>(path));
    EXPECT_TRUE(restarted.members.check_login("newcomer", "secret"));
    EXPECT_EQ(restarted.records.get("10002").value_or(""), "100|F");
    restarted.reset();
    SiteState after_reset({}, std::make_unique<DataFile>(path));
    EXPECT_FALSE(after_reset.members.check_login("newcomer", "secret"));
    EXPECT_FALSE(after_reset.records.get("10002"));
}

} // namespace
} // namespace qirelo::devsite
