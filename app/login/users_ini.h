#pragma once

#include <string>

#include "platform/profile/ini_file.h"

// users.ini beside the executable: the member name as typed and, when the
// member asks for it, the scrambled password; a memo says how it is bound.
//   [user]  name=...  pass=...
//   [memo]  说明=密码已绑定本机二次加密  版本=Qirelo在线客户端2013.8.9.0
// A write the system refuses raises IniWriteError and the writes after it do
// not happen.
namespace qirelo::app::login {

struct SavedLogin {
    std::string name;
    std::string pass; // the scrambled text, empty when no password is kept
};

// The values a login leaves, in the order a first login's file shows them.
void WriteSavedLogin(platform::IniFile& ini, const SavedLogin& login);

// Empties the saved password (the key stays, as "pass=").
void ForgetSavedPassword(platform::IniFile& ini);

// What start-up fills the login boxes from; a missing file or key reads empty.
SavedLogin ReadSavedLogin(const platform::IniFile& ini);

} // namespace qirelo::app::login
