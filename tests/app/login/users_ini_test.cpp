// users.ini through the platform's own private-profile functions: natively the
// Linux implementation over real files, under Wine the Win32 functions. Both
// must leave the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/login/password_scrambler.h"
#include "app/login/users_ini.h"
#include "platform/profile/codepage.h"

#include "platform/profile/os_profile.h"

namespace qirelo::app::login {
namespace {

namespace fs = std::filesystem;
using platform::gb;

struct UsersIniFile : ::testing::Test {
    fs::path path = fs::temp_directory_path() /
                    ("qirelo_users_" + std::to_string(std::random_device{}()) + ".ini");
    platform::OsPrivateProfile profile;
    platform::IniFile ini{profile, path.string()};

    ~UsersIniFile() override { fs::remove(path); }

    std::string bytes() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string memo() {
        return "[memo]\r\n" + gb("说明=密码已绑定本机二次加密") + "\r\n" +
               gb("版本=Qirelo在线客户端2013.8.9.0") + "\r\n";
    }
};

TEST_F(UsersIniFile, FirstLoginWritesTheseBytesExactly) {
    const std::string pass = ScramblePasswordWithSeed("secret", "PC-01", 0x3C);
    WriteSavedLogin(ini, {gb("会员张三"), pass});
    EXPECT_EQ(bytes(), "[user]\r\nname=" + gb("会员张三") + "\r\npass=" + pass + "\r\n" + memo());
}

TEST_F(UsersIniFile, WhatIsWrittenReadsBack) {
    const std::string pass = ScramblePasswordWithSeed(gb("密码") + "1", "PC-01", 0xA0);
    WriteSavedLogin(ini, {gb("会员") + "x", pass});
    const SavedLogin saved = ReadSavedLogin(ini);
    EXPECT_EQ(saved.name, gb("会员") + "x");
    EXPECT_EQ(UnscramblePassword(saved.pass, "PC-01"), gb("密码") + "1");
}

TEST_F(UsersIniFile, ForgettingThePasswordKeepsTheKeyWithAnEmptyValue) {
    WriteSavedLogin(ini, {"member1", "0A1B"});
    ForgetSavedPassword(ini);
    EXPECT_EQ(bytes(), "[user]\r\nname=member1\r\npass=\r\n" + memo());
    EXPECT_EQ(ReadSavedLogin(ini).pass, "");
}

TEST_F(UsersIniFile, ALaterLoginReplacesTheValuesInPlace) {
    WriteSavedLogin(ini, {"member1", "0A1B"});
    WriteSavedLogin(ini, {"member2", ""});
    EXPECT_EQ(bytes(), "[user]\r\nname=member2\r\npass=\r\n" + memo());
}

TEST_F(UsersIniFile, ValuesReadBackAtMost2047Bytes) {
    const std::string name(3000, 'n');
    WriteSavedLogin(ini, {name, ""});
    EXPECT_NE(bytes().find("name=" + name + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadSavedLogin(ini).name, std::string(2047, 'n'));
}

TEST(UsersIniUnwritable, TheFirstRefusedWriteStopsTheSequence) {
    platform::OsPrivateProfile profile;
    platform::IniFile ini(
        profile, (fs::temp_directory_path() / "qirelo_no_such_folder" / "users.ini").string());
    try {
        WriteSavedLogin(ini, {"member1", ""});
        FAIL() << "the write went through";
    } catch (const platform::IniWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + ini.path());
    }
}

} // namespace
} // namespace qirelo::app::login
