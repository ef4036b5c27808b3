#pragma once

// The password window: asked for when the update server wants a user name
// and password for a file. It offers the stored user name and an empty
// password; OK (the button or Enter) hands both back, Cancel, Escape or the
// close button leave them as they were.

#include <string>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace qirelo::upgrade {

class TupPasswordForm : public ui::Form {
public:
    TupPasswordForm();

    // Puts the texts in (message 29 names `fileName`) and sizes the window
    // to them.
    void Fill(const std::string& fileName, const std::string& userName);
    // Shows the window modally; true for OK, with the two set to what was
    // typed.
    bool Ask(ui::Application& application, std::string& userName, std::string& password);

    ui::Label Label1{this, "Label1"};
    ui::Image Image1{this, "Image1"};
    ui::Panel BottomPanel{this, "BottomPanel"};
    ui::Label UsernameLab{&BottomPanel, "UsernameLab"};
    ui::Label PasswordLab{&BottomPanel, "PasswordLab"};
    ui::Edit UsernameEdit{&BottomPanel, "UsernameEdit"};
    ui::Edit PasswordEdit{&BottomPanel, "PasswordEdit"};
    ui::Button OKBtn{&BottomPanel, "OKBtn"};
    ui::Button CancelBtn{&BottomPanel, "CancelBtn"};

private:
    void LayOut();
    void OKBtnClick();

    std::string* userName_ = nullptr;
    std::string* password_ = nullptr;
};

// The last path element of `url`, slashes read as backslashes.
std::string FileNameOfUrl(const std::string& url);

} // namespace qirelo::upgrade
