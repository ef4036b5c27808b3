#include "ui/qt/peer_factory.h"

#include <QTabBar>

#include "ui/page_control.h"
#include "ui/qt/text.h"
#include "ui/qt/widget_peer.h"

namespace qirelo::ui::qt {
namespace {

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

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, PageControl& pages) {
    return std::make_unique<PageControlPeer>(backend, pages);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, TabSheet& sheet) {
    return std::make_unique<TabSheetPeer>(backend, sheet);
}

} // namespace qirelo::ui::qt
