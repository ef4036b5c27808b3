#pragma once

// The question window: whether to upgrade now. It stays above every other
// window. Yes (the button or Enter) answers true; Later, Escape or the close
// button false.

#include <string>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace qirelo::upgrade {

class TupQuestionForm : public ui::Form {
public:
    TupQuestionForm();

    // Puts the texts in (message 23 with the title and the message) and sizes
    // the window to them.
    void Fill(const std::string& title, const std::string& message);
    bool Ask(ui::Application& application);

    ui::Label Label1{this, "Label1"};
    ui::Image Icon{this, "Icon"};
    ui::Panel BottomPanel{this, "BottomPanel"};
    ui::Button YesBtn{&BottomPanel, "YesBtn"};
    ui::Button LaterBtn{&BottomPanel, "LaterBtn"};

private:
    void LayOut();
};

// The title the question names: the application's, unless it names the
// development tool (string resource 40998); then "<AppTitle>" (40997).
std::string UpgradeTitle(const std::string& applicationTitle);

} // namespace qirelo::upgrade
