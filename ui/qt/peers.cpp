#include "ui/qt/peers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/panel.h"
#include "ui/progress.h"
#include "ui/qt/browser_peer.h"
#include "ui/qt/keys.h"
#include "ui/qt/text.h"
#include "ui/qt/widget_peer.h"
#include "ui/status_bar.h"
#include "ui/track_bar.h"
#include "ui/web_browser.h"

namespace qirelo::ui::qt {
namespace {

ShiftState shift_of(const QKeyEvent& event) {
    const auto m = event.modifiers();
    return ShiftState{(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0,
                      (m & Qt::AltModifier) != 0};
}

QPixmap pixmap_of(const Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            image.setPixel(x, y, 0xFF000000u | bitmap.at(x, y));
    return QPixmap::fromImage(image);
}

// --- Texts on Qt's fonts ----------------------------------------------------

// The layout was measured with other fonts than Qt's, so a text may need more
// room than its control was given: the label or check box grows to its text,
// to the right and down, and a label or check box of the same row that starts
// before that text ends moves right to its end.
bool shows_text(const QWidget* widget);

void make_room_after(const QWidget* widget, int text_right) {
    const QRect g = widget->geometry();
    for (QObject* child : widget->parentWidget()->children()) {
        auto* other = qobject_cast<QWidget*>(child);
        if (!other || other == widget || !shows_text(other))
            continue;
        const QRect r = other->geometry();
        const bool same_row = r.top() <= g.bottom() && g.top() <= r.bottom();
        if (same_row && r.left() > g.left() && r.left() < text_right)
            other->move(text_right, r.top());
    }
}

enum class TextLayout {
    TopLine,     // a label's line, from its top
    CentredLine, // a check box's line, centred on its height
    Wrapped,     // a label's lines within its width
};

void fit_text(QWidget* widget, TextLayout layout) {
    const bool wrapped = layout == TextLayout::Wrapped;
    const QSize wanted = wrapped ? QSize(widget->width(), widget->heightForWidth(widget->width()))
                                 : widget->sizeHint();
    const QSize size = widget->size().expandedTo(wanted);
    const int taller = size.height() - widget->height();
    if (layout == TextLayout::CentredLine && taller > 0)
        widget->move(widget->x(), widget->y() - taller / 2);
    widget->resize(size);
    if (!wrapped && widget->parentWidget())
        make_room_after(widget, widget->x() + wanted.width());
}

// --- Top window -------------------------------------------------------------

class FormWidget final : public QWidget {
public:
    explicit FormWidget(Form& form, Backend& backend) : form_(form), backend_(backend) {}

    // The form's window state is being set from the window's own change.
    bool reporting() const { return reporting_; }

protected:
    // The member (or the window manager) minimised, maximised or restored the
    // window: the form learns it, so that asking it to maximise again acts.
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() != QEvent::WindowStateChange)
            return;
        reporting_ = true;
        backend_.guard([&] { form_.set_window_state(state_of(windowState())); });
        reporting_ = false;
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        backend_.guard([&] { form_.set_client_size(width(), height()); });
    }
    void closeEvent(QCloseEvent* event) override {
        // The form decides; when it goes it hides its window itself.
        event->ignore();
        backend_.guard([&] { form_.close(); });
    }

private:
    static WindowState state_of(Qt::WindowStates states) {
        if (states & Qt::WindowMinimized)
            return WindowState::Minimized;
        if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
            return WindowState::Maximized;
        return WindowState::Normal;
    }

    Form& form_;
    Backend& backend_;
    bool reporting_ = false;
};

class FormPeer final : public WidgetPeer {
public:
    FormPeer(Backend& backend, Form& form)
        : WidgetPeer(backend, form, new FormWidget(form, backend)), form_(form) {}

    void sync() override {
        widget_->setWindowTitle(qstring(form_.caption()));
        widget_->setFont(QFont(qstring(form_.font().name)));
        place();
        apply_state();
        if (form_.visible())
            show();
    }

    void changed(Property what) override {
        switch (what) {
        case Property::Bounds:
            place();
            break;
        case Property::Visible:
            form_.visible() ? show() : widget_->hide();
            break;
        case Property::Text:
            widget_->setWindowTitle(qstring(form_.caption()));
            break;
        case Property::WindowState:
            if (!static_cast<FormWidget*>(widget_.data())->reporting())
                apply_state();
            break;
        case Property::Font:
            WidgetPeer::changed(what);
            break;
        default:
            break;
        }
    }

private:
    // The form's bounds are its outer frame; Qt places the client area.
    void place() {
        const Rect& r = form_.bounds();
        if (r.width <= 0 || r.height <= 0 || form_.window_state() != WindowState::Normal)
            return;
        widget_->resize(std::max(r.width - 16, 1), std::max(r.height - 38, 1));
        if (form_.centered()) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            widget_->move(screen.center() - widget_->rect().center());
        } else {
            widget_->move(r.left, r.top);
        }
    }

    void apply_state() {
        switch (form_.window_state()) {
        case WindowState::Maximized:
            // Without a window manager nobody else would size the window.
            widget_->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
            widget_->setWindowState(Qt::WindowMaximized);
            break;
        case WindowState::Minimized:
            widget_->setWindowState(Qt::WindowMinimized);
            break;
        case WindowState::Normal:
            widget_->setWindowState(Qt::WindowNoState);
            place();
            break;
        }
    }

    void show() {
        widget_->show();
        apply_state();
        widget_->raise();
        widget_->activateWindow();
        // Without a window manager the first request comes before the window
        // is mapped and is lost; ask again once the loop has mapped it.
        QTimer::singleShot(100, widget_, [w = widget_] {
            if (w && !w->isActiveWindow())
                w->activateWindow();
        });
        if (Control* active = form_.active_control())
            if (QWidget* w = widget_of(*active))
                w->setFocus(Qt::ActiveWindowFocusReason);
    }

    Form& form_;
};

// --- Containers and static controls ---------------------------------------

class PlainPeer final : public WidgetPeer {
public:
    PlainPeer(Backend& backend, Control& control, QWidget* widget)
        : WidgetPeer(backend, control, widget) {}
};

class GroupBoxPeer final : public WidgetPeer {
public:
    GroupBoxPeer(Backend& backend, GroupBox& box)
        : WidgetPeer(backend, box, new QGroupBox(container_of(box.parent()))) {}

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit();
    }

protected:
    void apply_text() override {
        static_cast<QGroupBox*>(widget_.data())->setTitle(qstring(control_.caption()));
        fit();
    }

private:
    // The title is not cut short: the box widens to it.
    void fit() {
        auto* box = static_cast<QGroupBox*>(widget_.data());
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.rect = QRect(0, 0, QWIDGETSIZE_MAX / 2, box->height());
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        if (title.right() + 1 > box->width())
            box->resize(title.right() + 1, box->height());
    }
};

class BevelWidget final : public QWidget {
public:
    BevelWidget(Bevel& bevel, QWidget* parent) : QWidget(parent), bevel_(bevel) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor shadow = palette().color(QPalette::Dark);
        const QColor light = palette().color(QPalette::Light);
        const int w = width(), h = height();
        auto line = [&](int x1, int y1, int x2, int y2, const QColor& c) {
            painter.setPen(c);
            painter.drawLine(x1, y1, x2, y2);
        };
        switch (bevel_.shape()) {
        case BevelShape::BottomLine:
            line(0, h - 2, w - 1, h - 2, shadow);
            line(0, h - 1, w - 1, h - 1, light);
            break;
        case BevelShape::TopLine:
            line(0, 0, w - 1, 0, shadow);
            line(0, 1, w - 1, 1, light);
            break;
        default:
            painter.setPen(shadow);
            painter.drawRect(0, 0, w - 2, h - 2);
            painter.setPen(light);
            painter.drawRect(1, 1, w - 2, h - 2);
            break;
        }
    }

private:
    Bevel& bevel_;
};

class ClickableLabel final : public QLabel {
public:
    ClickableLabel(Label& label, Backend& backend, QWidget* parent)
        : QLabel(parent), label_(label), backend_(backend) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (label_.OnClick && rect().contains(event->position().toPoint()))
            backend_.guard([&] { label_.click(); });
    }

private:
    Label& label_;
    Backend& backend_;
};

class LabelPeer final : public WidgetPeer {
public:
    LabelPeer(Backend& backend, Label& label)
        : WidgetPeer(backend, label,
                     new ClickableLabel(label, backend, container_of(label.parent()))) {
        auto* qlabel = static_cast<QLabel*>(widget_.data());
        qlabel->setWordWrap(label.word_wrap());
        qlabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (label.cursor() == Cursor::Hand)
            qlabel->setCursor(Qt::PointingHandCursor);
    }

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit();
    }

    // A label grows to its text, as the toolkit's auto-sized labels do.
    void fit() {
        auto* label = static_cast<QLabel*>(widget_.data());
        fit_text(label, label->wordWrap() ? TextLayout::Wrapped : TextLayout::TopLine);
    }

protected:
    void apply_text() override {
        static_cast<QLabel*>(widget_.data())->setText(qstring(control_.caption()));
        fit();
    }
};

class ImagePeer final : public WidgetPeer {
public:
    ImagePeer(Backend& backend, Image& image)
        : WidgetPeer(backend, image, new QLabel(container_of(image.parent()))), image_(image) {}

protected:
    void apply(Property what) override {
        if (what != Property::Picture || image_.picture().empty())
            return;
        QPixmap pixmap = pixmap_of(image_.picture());
        if (image_.stretch())
            pixmap = pixmap.scaled(image_.width(), image_.height());
        static_cast<QLabel*>(widget_.data())->setPixmap(pixmap);
    }

private:
    Image& image_;
};

// --- Buttons ------------------------------------------------------------------

class ButtonPeer final : public WidgetPeer {
public:
    ButtonPeer(Backend& backend, Control& button, QAbstractButton* widget)
        : WidgetPeer(backend, button, widget) {
        QObject::connect(widget, &QAbstractButton::clicked,
                         [this] { guard([this] { control_.click(); }); });
        if (auto* speed = dynamic_cast<SpeedButton*>(&button)) {
            auto* tool = static_cast<QToolButton*>(widget);
            tool->setAutoRaise(speed->flat());
            tool->setFocusPolicy(Qt::NoFocus);
        }
    }

protected:
    void apply_text() override {
        static_cast<QAbstractButton*>(widget_.data())->setText(qstring(control_.caption()));
    }
    void apply(Property what) override {
        if (what != Property::Picture)
            return;
        const Bitmap* glyph = nullptr;
        if (auto* bit = dynamic_cast<BitBtn*>(&control_))
            glyph = &bit->glyph();
        else if (auto* speed = dynamic_cast<SpeedButton*>(&control_))
            glyph = &speed->glyph();
        if (glyph && !glyph->empty())
            static_cast<QAbstractButton*>(widget_.data())->setIcon(QIcon(pixmap_of(*glyph)));
    }
};

class CheckBoxPeer final : public WidgetPeer {
public:
    CheckBoxPeer(Backend& backend, CheckBox& box)
        : WidgetPeer(backend, box, new QCheckBox(container_of(box.parent()))), box_(box) {
        QObject::connect(static_cast<QCheckBox*>(widget_.data()), &QCheckBox::clicked,
                         [this](bool checked) { guard([&] { box_.set_checked(checked); }); });
    }

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit();
    }

    void fit() { fit_text(widget_, TextLayout::CentredLine); }

protected:
    void apply_text() override {
        static_cast<QCheckBox*>(widget_.data())->setText(qstring(control_.caption()));
        fit();
    }
    void apply(Property what) override {
        if (what == Property::Checked)
            static_cast<QCheckBox*>(widget_.data())->setChecked(box_.checked());
    }

private:
    CheckBox& box_;
};

// --- Edits ---------------------------------------------------------------------

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
        if (what == Property::ReadOnly)
            line_->setReadOnly(edit_.read_only());
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

// --- Ranges ---------------------------------------------------------------------

class TrackBarPeer final : public WidgetPeer {
public:
    TrackBarPeer(Backend& backend, TrackBar& bar)
        : WidgetPeer(backend, bar, new QSlider(Qt::Horizontal, container_of(bar.parent()))),
          bar_(bar) {
        auto* slider = static_cast<QSlider*>(widget_.data());
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(16);
        QObject::connect(slider, &QSlider::valueChanged, [this](int value) {
            if (!updating_)
                guard([&] { bar_.set_position(value); });
        });
    }

protected:
    void apply(Property what) override {
        if (what != Property::Position)
            return;
        updating_ = true;
        auto* slider = static_cast<QSlider*>(widget_.data());
        slider->setRange(bar_.min(), bar_.max());
        slider->setValue(bar_.position());
        updating_ = false;
    }

private:
    TrackBar& bar_;
    bool updating_ = false;
};

class ProgressBarPeer final : public WidgetPeer {
public:
    ProgressBarPeer(Backend& backend, ProgressBar& bar)
        : WidgetPeer(backend, bar, new QProgressBar(container_of(bar.parent()))), bar_(bar) {
        static_cast<QProgressBar*>(widget_.data())->setTextVisible(false);
    }

protected:
    void apply(Property what) override {
        if (what != Property::Position)
            return;
        auto* progress = static_cast<QProgressBar*>(widget_.data());
        progress->setRange(bar_.min(), bar_.max());
        progress->setValue(bar_.position());
    }

private:
    ProgressBar& bar_;
};

class GaugeWidget final : public QWidget {
public:
    GaugeWidget(Gauge& gauge, QWidget* parent) : QWidget(parent), gauge_(gauge) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), qcolor(gauge_.back_color(), palette()));
        const int drawn = width() * gauge_.percent_done() / 100;
        painter.fillRect(0, 0, drawn, height(), qcolor(gauge_.fore_color(), palette()));
    }

private:
    Gauge& gauge_;
};

class GaugePeer final : public WidgetPeer {
public:
    GaugePeer(Backend& backend, Gauge& gauge)
        : WidgetPeer(backend, gauge, new GaugeWidget(gauge, container_of(gauge.parent()))) {}

protected:
    void apply(Property what) override {
        if (what == Property::Position || what == Property::Color)
            widget_->update();
    }
};

// --- Status bar ------------------------------------------------------------------

class StatusBarPeer final : public WidgetPeer {
public:
    StatusBarPeer(Backend& backend, StatusBar& bar)
        : WidgetPeer(backend, bar, new QWidget(container_of(bar.parent()))), bar_(bar) {
        layout_ = new QHBoxLayout(widget_);
        layout_->setContentsMargins(2, 1, 2, 1);
        layout_->setSpacing(2);
        layout_->addStretch(1);
    }

protected:
    void apply(Property what) override {
        if (what != Property::Panels)
            return;
        while (panels_.size() < bar_.panel_count()) {
            auto* label = new QLabel(widget_);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            layout_->insertWidget(static_cast<int>(panels_.size()), label);
            panels_.push_back(label);
        }
        for (std::size_t i = 0; i < panels_.size(); ++i) {
            panels_[i]->setFixedWidth(bar_.panel(i).width);
            panels_[i]->setText(qstring(bar_.panel(i).text));
        }
    }

private:
    StatusBar& bar_;
    QHBoxLayout* layout_;
    std::vector<QLabel*> panels_;
};

// --- Page control ---------------------------------------------------------------

class PageControlPeer final : public WidgetPeer {
public:
    PageControlPeer(Backend& backend, PageControl& pages)
        : WidgetPeer(backend, pages, new QWidget(container_of(pages.parent()))), pages_(pages) {
        tabs_ = new QTabBar(widget_);
        tabs_->setDocumentMode(pages.style() != TabStyle::Tabs);
        tabs_->setDrawBase(pages.style() == TabStyle::Tabs);
        tabs_->setExpanding(false);
        tabs_->setFocusPolicy(Qt::NoFocus);
        QObject::connect(tabs_, &QTabBar::currentChanged, [this](int index) {
            if (!updating_ && index >= 0)
                guard([&] { pages_.select_tab(static_cast<std::size_t>(index)); });
        });
    }

    // A sheet's caption changed.
    void update_tabs() {
        updating_ = true;
        const auto& sheets = pages_.pages();
        while (tabs_->count() > static_cast<int>(sheets.size()))
            tabs_->removeTab(tabs_->count() - 1);
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            const QString caption = qstring(sheets[i]->caption());
            if (static_cast<int>(i) < tabs_->count())
                tabs_->setTabText(static_cast<int>(i), caption);
            else
                tabs_->addTab(caption);
        }
        const int active = pages_.active_page() ? pages_.active_page()->page_index() : -1;
        tabs_->setCurrentIndex(active);
        updating_ = false;
        const int height = tabs_->sizeHint().height();
        tabs_->setGeometry(0, 0, widget_->width(), height);
        if (height != pages_.tab_height())
            guard([&] { pages_.set_tab_height(height); });
    }

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds)
            tabs_->setGeometry(0, 0, widget_->width(), tabs_->sizeHint().height());
    }

protected:
    void apply(Property what) override {
        if (what == Property::ActivePage)
            update_tabs();
    }

private:
    PageControl& pages_;
    QTabBar* tabs_;
    bool updating_ = false;
};

class TabSheetPeer final : public WidgetPeer {
public:
    TabSheetPeer(Backend& backend, TabSheet& sheet)
        : WidgetPeer(backend, sheet, new QWidget(container_of(sheet.parent()))), sheet_(sheet) {}

protected:
    void apply_text() override {
        if (auto* owner = dynamic_cast<PageControlPeer*>(sheet_.page_control().peer()))
            owner->update_tabs();
    }

private:
    TabSheet& sheet_;
};

bool shows_text(const QWidget* widget) {
    return dynamic_cast<const ClickableLabel*>(widget) || qobject_cast<const QCheckBox*>(widget);
}

// --- Creating the peers -----------------------------------------------------------

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Control& control) {
    QWidget* parent = container_of(control.parent());
    if (auto* form = dynamic_cast<Form*>(&control))
        return std::make_unique<FormPeer>(backend, *form);
    if (auto* browser = dynamic_cast<WebBrowser*>(&control))
        return std::make_unique<BrowserPeer>(backend, *browser, parent);
    if (auto* pages = dynamic_cast<PageControl*>(&control))
        return std::make_unique<PageControlPeer>(backend, *pages);
    if (auto* sheet = dynamic_cast<TabSheet*>(&control))
        return std::make_unique<TabSheetPeer>(backend, *sheet);
    if (auto* group = dynamic_cast<GroupBox*>(&control))
        return std::make_unique<GroupBoxPeer>(backend, *group);
    if (auto* bevel = dynamic_cast<Bevel*>(&control))
        return std::make_unique<PlainPeer>(backend, control, new BevelWidget(*bevel, parent));
    if (auto* button_edit = dynamic_cast<ButtonEdit*>(&control)) {
        auto* frame = new QWidget(parent);
        auto* line = new LineEdit(*button_edit, backend, frame);
        return std::make_unique<ButtonEditPeer>(backend, *button_edit, frame, line,
                                                new QToolButton(frame));
    }
    if (auto* edit = dynamic_cast<Edit*>(&control)) {
        auto* line = new LineEdit(*edit, backend, parent);
        return std::make_unique<EditPeer>(backend, *edit, line, line);
    }
    if (auto* label = dynamic_cast<Label*>(&control))
        return std::make_unique<LabelPeer>(backend, *label);
    if (auto* check = dynamic_cast<CheckBox*>(&control))
        return std::make_unique<CheckBoxPeer>(backend, *check);
    if (dynamic_cast<Button*>(&control))
        return std::make_unique<ButtonPeer>(backend, control, new QPushButton(parent));
    if (dynamic_cast<SpeedButton*>(&control))
        return std::make_unique<ButtonPeer>(backend, control, new QToolButton(parent));
    if (auto* bar = dynamic_cast<TrackBar*>(&control))
        return std::make_unique<TrackBarPeer>(backend, *bar);
    if (auto* progress = dynamic_cast<ProgressBar*>(&control))
        return std::make_unique<ProgressBarPeer>(backend, *progress);
    if (auto* gauge = dynamic_cast<Gauge*>(&control))
        return std::make_unique<GaugePeer>(backend, *gauge);
    if (auto* status = dynamic_cast<StatusBar*>(&control))
        return std::make_unique<StatusBarPeer>(backend, *status);
    if (auto* image = dynamic_cast<Image*>(&control))
        return std::make_unique<ImagePeer>(backend, *image);
    // Panels and any other container.
    return std::make_unique<PlainPeer>(backend, control, new QWidget(parent));
}

void realize_tree(Backend& backend, Control& control, std::vector<ControlPeer*>& made) {
    auto peer = make_peer(backend, control);
    made.push_back(peer.get());
    control.attach_peer(std::move(peer));
    for (Control* child : control.children())
        realize_tree(backend, *child, made);
}

} // namespace

void realize(Backend& backend, Control& root) {
    std::vector<ControlPeer*> made;
    realize_tree(backend, root, made);
    // Children first take their state, so the top window shows last, whole.
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        if (auto* browser = dynamic_cast<BrowserPeer*>(*it))
            browser->sync();
        else
            static_cast<WidgetPeer*>(*it)->sync();
    }
    // Every text in its place now, each row makes room from its left end on.
    for (ControlPeer* peer : made) {
        if (auto* label = dynamic_cast<LabelPeer*>(peer))
            label->fit();
        else if (auto* check = dynamic_cast<CheckBoxPeer*>(peer))
            check->fit();
    }
}

} // namespace qirelo::ui::qt
