// The platform's own profile functions (real files, the machine, code pages,
// the x87 unit): natively the Linux implementations, under Wine the Win32
// ones through the real system calls.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/fpu/fpu.h"
#include "platform/profile/codepage.h"
#include "platform/profile/ini_file.h"

#include "platform/profile/os_profile.h"

namespace qirelo::platform {
namespace {

namespace fs = std::filesystem;

struct TempIni {
    fs::path path =
        fs::temp_directory_path() / ("qirelo_profile_test_" + std::to_string(std::rand()) + ".ini");
    ~TempIni() { fs::remove(path); }
    std::string name() const { return path.string(); }
    std::string bytes() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST(PrivateProfile, MissingFileReadsAsDefaultAndIsNotCreated) {
    OsPrivateProfile profile;
    TempIni ini;
    IniFile file(profile, ini.name());
    EXPECT_EQ(file.read_string("user", "name", ""), "");
    EXPECT_FALSE(fs::exists(ini.path));
}

TEST(PrivateProfile, WrittenGb2312ValuesReadBackByteForByte) {
    OsPrivateProfile profile;
    TempIni ini;
    IniFile file(profile, ini.name());
    const std::string name = gb("会员") + "abc";
    file.write_string("user", "name", name);
    file.write_string("user", "pass", "");
    file.write_string("memo", gb("说明"), gb("密码已绑定本机二次加密"));
    EXPECT_EQ(file.read_string("USER", "Name"), name);
    EXPECT_EQ(file.read_string("user", "pass", "dflt"), "");
    EXPECT_EQ(file.read_string("memo", gb("说明")), gb("密码已绑定本机二次加密"));
    const std::string bytes = ini.bytes();
    EXPECT_NE(bytes.find("[user]\r\nname=" + name + "\r\npass=\r\n"), std::string::npos) << bytes;
}

TEST(PrivateProfile, WriteIntoAMissingFolderIsRefused) {
    OsPrivateProfile profile;
    const std::string path =
        (fs::temp_directory_path() / "no_such_folder_qirelo" / "users.ini").string();
    IniFile file(profile, path);
    EXPECT_THROW(file.write_string("user", "name", "x"), IniWriteError);
}

TEST(Machine, ExecutableFolderEndsInASeparatorAndHoldsThisProgram) {
    OsMachine machine;
    const std::string folder = machine.executable_directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\');
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(machine.computer_name().empty());
}

TEST(Codepage, ChineseTextRoundTripsThroughGb2312) {
    const std::string utf8 = "Qirelo在线客户端 →遥控电脑 ●点播（）：";
    const std::string gb2312 = gb(utf8);
    EXPECT_EQ(gb("宋体"), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(gb2312.substr(0, 6), "Qirelo");
    EXPECT_EQ(utf8_from_gb(gb2312), utf8);
    EXPECT_EQ(utf16_from_gb("\xB5\xC7\xC2\xBC"), u"登录");
    EXPECT_EQ(gb_from_utf16(u"登录"), "\xB5\xC7\xC2\xBC");
}

TEST(Codepage, CharacterOutsideTheCodePageBecomesAQuestionMark) {
    EXPECT_EQ(gb_from_utf16(u"a\u0E01b"), "a?b");
}

TEST(Codepage, StrictConversionsRaiseForTextTheOtherSideCannotHold) {
    EXPECT_EQ(strict_utf8_from_gb("\xBB\xE1\xD4\xB1 demo"), "会员 demo");
    EXPECT_EQ(strict_gb_from_utf8("会员 demo"), "\xBB\xE1\xD4\xB1 demo");
    EXPECT_THROW(strict_utf8_from_gb("\xBB"), CodePageError);
    EXPECT_THROW(strict_gb_from_utf8("\xF0\x9F\x98\x80"),
                 CodePageError); // an emoji has no GB2312 form
}

TEST(Fpu, ControlWordIsSetAndRestored) {
    X87Fpu fpu;
    const std::uint16_t before = fpu.control_word();
    fpu.set_control_word(kFpuControlWordExtended);
    EXPECT_EQ(fpu.control_word() & 0x1F3F, kFpuControlWordExtended & 0x1F3F);
    fpu.set_control_word(before);
    EXPECT_EQ(fpu.control_word(), before);
}

} // namespace
} // namespace qirelo::platform
