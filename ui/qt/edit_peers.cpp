#include "ui/qt/peer_factory.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "ui/edit.h"
#include "ui/form.h"
#include "ui/qt/keys.h"
#include "ui/qt/text.h"
#include "ui/qt/widget_peer.h"

namespace qirelo::ui::qt {
namespace {

ShiftState shift_of(const QKeyEvent& event) {
    const auto m = event.modifiers();
    return ShiftState{(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0,
                      (m & Qt::AltModifier) != 0};
}

// A line edit whose key events run the control's handlers first; a handler
// may swallow the key or move the focus itself (Tab in the login panel).
class LineEdit final : public QLineEdit {
public:
    LineEdit(Edit& edit, Backend& backend, QWidget* parent)
        : QLineEdit(parent), edit_(edit), backend_(backend) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                Control* before = edit_.form() ? edit_.form()->active_control() : nullptr;
                if (!run_handlers(*key))
                    return true;
                if (edit_.form() && edit_.form()->active_control() != before)
                    return true; // the handler moved the focus
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (run_handlers(*event))
            QLineEdit::keyPressEvent(event);
    }

private:
    // False when a handler swallowed the key.
    bool run_handlers(QKeyEvent& event) {
        bool pass = true;
        backend_.guard([&] {
            if (const std::uint16_t vk = VirtualKeyOf(event)) {
                if (edit_.key_down(vk, shift_of(event)) == 0) {
                    pass = false;
                    return;
                }
            }
            if (const char c = CharacterOf(event); c && edit_.key_press(c) == 0)
                pass = false;
        });
        if (!pass)
            event.accept();
        return pass;
    }

    Edit& edit_;
    Backend& backend_;
};

class EditPeer : public WidgetPeer {
public:
    EditPeer(Backend& backend, Edit& edit, QWidget* frame, LineEdit* line)
        : WidgetPeer(backend, edit, frame), edit_(edit), line_(line) {
        QObject::connect(line, &QLineEdit::textEdited, [this](const QString& text) {
            if (!updating_)
                guard([&] { edit_.set_text(gb_text(text)); });
        });
        if (frame != line)
            frame->setFocusProxy(line);
    }

protected:
    void apply_text() override {
        updating_ = true;
        if (line_->text() != qstring(edit_.text()))
            line_->setText(qstring(edit_.text()));
        if (edit_.password_char()) {
            line_->setEchoMode(QLineEdit::Password);
            line_->setStyleSheet(QStringLiteral("lineedit-password-character: %1")
                                     .arg(static_cast<unsigned char>(edit_.password_char())));
        } else {
            line_->setEchoMode(QLineEdit::Normal);
        }
        updating_ = false;
    }
    void apply(Property what) override {
        if (what == Property::ReadOnly) {
            line_->setReadOnly(edit_.read_only());
            line_->setFrame(edit_.border());
        }
        if (what == Property::Style)
            line_->setFrame(edit_.border());
        if (what == Property::Color || what == Property::Font) {
            QPalette palette = line_->palette();
            palette.setColor(QPalette::Base, qcolor(edit_.color(), palette));
            palette.setColor(QPalette::Text, qcolor(edit_.font().color, palette));
            line_->setPalette(palette);
        }
        if (what == Property::Selection) {
            const QString before = qstring(edit_.text().substr(0, edit_.sel_start()));
            const QString selected = qstring(edit_.selected_text());
            line_->setSelection(static_cast<int>(before.size()), static_cast<int>(selected.size()));
        }
    }

    Edit& edit_;
    LineEdit* line_;
    bool updating_ = false;
};

// The address bar: the edit with its go button at the right end.
class ButtonEditPeer final : public EditPeer {
public:
    ButtonEditPeer(Backend& backend, ButtonEdit& edit, QWidget* frame, LineEdit* line,
                   QToolButton* button)
        : EditPeer(backend, edit, frame, line) {
        auto* layout = new QHBoxLayout(frame);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(line, 1);
        layout->addWidget(button);
        button->setFixedWidth(edit.button_width());
        if (edit.glyph().empty()) {
            button->setText(QStringLiteral("→"));
        } else {
            const QPixmap glyph = pixmap_of(edit.glyph());
            button->setIcon(QIcon(glyph));
            button->setIconSize(glyph.size());
        }
        button->setFocusPolicy(Qt::NoFocus);
        QObject::connect(button, &QToolButton::clicked,
                         [this, &edit] { guard([&] { edit.click_button(); }); });
    }
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Edit& edit) {
    auto* line = new LineEdit(edit, backend, container_of(edit.parent()));
    return std::make_unique<EditPeer>(backend, edit, line, line);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, ButtonEdit& edit) {
    auto* frame = new QWidget(container_of(edit.parent()));
    auto* line = new LineEdit(edit, backend, frame);
    return std::make_unique<ButtonEditPeer>(backend, edit, frame, line, new QToolButton(frame));
}

} // namespace qirelo::ui::qt
