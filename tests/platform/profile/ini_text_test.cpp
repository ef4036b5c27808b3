#include <gtest/gtest.h>

#include "platform/fake/profile.h"
#include "platform/profile/ini_file.h"
#include "platform/profile/ini_text.h"

namespace qirelo::platform {
namespace {

TEST(IniText, ReadsTrimmedValuesMatchingSectionAndKeyWithoutRegardToCase) {
    const std::string text = "; note\r\n[User]\r\n  Name  =  member one  \r\npass=\"quoted\"\r\n"
                             "[memo]\r\nname=other\r\n";
    EXPECT_EQ(ini_read(text, "user", "NAME"), "member one");
    EXPECT_EQ(ini_read(text, "USER", "pass"), "quoted");
    EXPECT_EQ(ini_read(text, "memo", "name"), "other");
    EXPECT_EQ(ini_read(text, "user", "missing"), std::nullopt);
    EXPECT_EQ(ini_read(text, "nosection", "name"), std::nullopt);
}

TEST(IniText, KeyBeforeAnySectionAndLinesWithoutEqualsAreNotValues) {
    const std::string text = "name=orphan\n[user]\nname\nname=real\n";
    EXPECT_EQ(ini_read(text, "user", "name"), "real");
}

TEST(IniText, EmptyValueIsPresentAndDistinctFromMissing) {
    const std::string text = "[user]\r\npass=\r\n";
    EXPECT_EQ(ini_read(text, "user", "pass"), "");
}

TEST(IniText, FirstLoginWritesSectionsAndKeysInOrderWithCrlf) {
    std::string text;
    text = ini_write(text, "user", "name", "abc");
    text = ini_write(text, "user", "pass", "");
    text = ini_write(text, "memo", "note", "x");
    text = ini_write(text, "memo", "version", "y");
    EXPECT_EQ(text, "[user]\r\nname=abc\r\npass=\r\n[memo]\r\nnote=x\r\nversion=y\r\n");
}

TEST(IniText, RewritingAKeyReplacesItsValueInPlaceAndNewKeysJoinTheirSection) {
    std::string text = "[user]\r\nName=old\r\n\r\n[memo]\r\na=1\r\n";
    text = ini_write(text, "USER", "name", "new");
    text = ini_write(text, "user", "pass", "0A");
    EXPECT_EQ(text, "[user]\r\nName=new\r\npass=0A\r\n\r\n[memo]\r\na=1\r\n");
}

TEST(IniText, ResultIsCutToTheBufferAndTheDefaultLosesTrailingBlanks) {
    EXPECT_EQ(ini_result(std::string(3000, 'x'), "", 2048).size(), 2047u);
    EXPECT_EQ(ini_result(std::nullopt, "dflt  ", 2048), "dflt");
    EXPECT_EQ(ini_result(std::nullopt, "", 2048), "");
    EXPECT_EQ(ini_result(std::string("abc"), "", 0), "");
}

TEST(IniFile, ReadsThroughA2048ByteBufferAndRaisesWhenAWriteIsRefused) {
    fake::FakePrivateProfile profile;
    profile.files["C:\\q\\users.ini"] = "[user]\r\nname=" + std::string(5000, 'n') + "\r\n";
    IniFile users(profile, "C:\\q\\users.ini");
    EXPECT_EQ(users.read_string("user", "name").size(), 2047u);
    EXPECT_EQ(users.read_string("user", "pass", "none"), "none");

    profile.read_only.insert("C:\\q\\users.ini");
    try {
        users.write_string("user", "pass", "");
        FAIL() << "a refused write must raise";
    } catch (const IniWriteError& error) {
        EXPECT_STREQ(error.what(), "Unable to write to C:\\q\\users.ini");
    }
}

} // namespace
} // namespace qirelo::platform
