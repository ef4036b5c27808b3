#include "app/focused_edit.h"

#include "ui/edit.h"

namespace qirelo::app {

void ClearFocusedEdit(ui::Form& form) {
    if (auto* edit = dynamic_cast<ui::Edit*>(form.active_control())) {
        edit->set_text("");
    }
}

void ClearFocusedEditOnMainThread(ui::Application& application, ui::Form& form) {
    application.synchronize([&form] { ClearFocusedEdit(form); });
}

} // namespace qirelo::app
