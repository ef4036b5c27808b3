#include "app/login/users_ini.h"

#include "app/version.h"
#include "platform/profile/codepage.h"

namespace qirelo::app::login {
namespace {

const std::string kUser = "user";
const std::string kName = "name";
const std::string kPass = "pass";
const std::string kMemo = "memo";

} // namespace

void WriteSavedLogin(platform::IniFile& ini, const SavedLogin& login) {
    ini.write_string(kUser, kName, login.name);
    ini.write_string(kUser, kPass, login.pass);
    ini.write_string(kMemo, platform::gb("说明"), platform::gb("密码已绑定本机二次加密"));
    ini.write_string(kMemo, platform::gb("版本"), platform::gb("Qirelo在线客户端") + app::kVersion);
}

void ForgetSavedPassword(platform::IniFile& ini) {
    ini.write_string(kUser, kPass, "");
}

SavedLogin ReadSavedLogin(const platform::IniFile& ini) {
    return SavedLogin{ini.read_string(kUser, kName, ""), ini.read_string(kUser, kPass, "")};
}

} // namespace qirelo::app::login
