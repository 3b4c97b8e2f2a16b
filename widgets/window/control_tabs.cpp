// The tab strip and its page areas.

#include <QTabBar>
#include <QTabWidget>

#include "control_tabs.h"

using widgets_detail::FromQString;
using widgets_detail::ToQString;

// A plain window, shown and hidden by its strip (never by the layer).
TTabPageControl::TTabPageControl(TControl* strip) : TControl(TControlKind::TabPage, strip) {
    auto* w = new TBridge<TPlainWidget>(this, strip->Widget());
    w->setProperty("tabuloText", QString());
    adopt(w, w);
}

TTabControl::TTabControl(TControl* parent, bool buttons)
    : TControl(TControlKind::TabControl, parent) {
    auto* t = new TBridge<TTabWidget>(this, parent ? parent->Widget() : nullptr);
    QObject::connect(t, &QTabWidget::currentChanged, t, [t] {
        TControl* c = static_cast<TWidgetLink*>(t)->Owner;
        if (!c || !c->OnChange) return;
        auto copy = c->OnChange;
        copy(*c);
    });
    // Inner windows report their mouse moves too, and through their control
    // only: never once more by propagation to it.
    for (QWidget* inner : t->findChildren<QWidget*>()) {
        inner->setMouseTracking(true);
        inner->setAttribute(Qt::WA_NoMousePropagation, true);
    }
    widgets_detail::ForwardInnerMouse(t, t->tabBar(), t);
    style_ = WS_TABSTOP;
    adopt(t, t);
    t->setDocumentMode(buttons);
}

TTabControl::~TTabControl() {
    // Page areas are ours: free their objects (their windows go with ours).
    std::vector<TPage> pages = std::move(pages_);
    for (const TPage& p : pages) delete p.Page;
}

QTabWidget* TTabControl::tabs() const {
    return static_cast<QTabWidget*>(Widget());
}

TControl* TTabControl::AddTab(const TText& text) {
    QTabWidget* t = tabs();
    if (!t) return nullptr;
    auto* page = new TTabPageControl(this);
    pages_.push_back({page, -1});
    t->addTab(page->Widget(), ToQString(text.view()));
    return page;
}

int TTabControl::TabCount() const {
    QTabWidget* t = tabs();
    return t ? t->count() : 0;
}

TControl* TTabControl::TabPage(int i) const {
    QTabWidget* t = tabs();
    if (!t || i < 0 || i >= t->count()) return nullptr;
    return FromWidget(t->widget(i));
}

int TTabControl::TabIndexOfPage(const TControl* page) const {
    QTabWidget* t = tabs();
    if (!t || !page || !page->Widget()) return -1;
    return t->indexOf(page->Widget());
}

TText TTabControl::TabText(int i) const {
    QTabWidget* t = tabs();
    if (!t || i < 0 || i >= t->count()) return TText();
    return FromQString(t->tabText(i));
}

void TTabControl::SetTabText(int i, const TText& text) {
    QTabWidget* t = tabs();
    if (t && i >= 0 && i < t->count()) t->setTabText(i, ToQString(text.view()));
}

void TTabControl::SetTabImage(int i, int imageIndex) {
    // Tabs carry no image list; the index is kept for the owner.
    TControl* page = TabPage(i);
    for (TPage& p : pages_)
        if (page && p.Page == page) p.Image = imageIndex;
}

int TTabControl::TabImage(int i) const {
    TControl* page = TabPage(i);
    for (const TPage& p : pages_)
        if (page && p.Page == page) return p.Image;
    return -1;
}

void TTabControl::DeleteTab(int i) {
    QTabWidget* t = tabs();
    if (!t || i < 0 || i >= t->count()) return;
    TControl* page = TabPage(i);
    t->removeTab(i);
    for (auto it = pages_.begin(); it != pages_.end(); ++it) {
        if (it->Page == page) {
            pages_.erase(it);
            break;
        }
    }
    delete page;
}

int TTabControl::CurrentTab() const {
    QTabWidget* t = tabs();
    return t ? t->currentIndex() : -1;
}

void TTabControl::SetCurrentTab(int i) {
    QTabWidget* t = tabs();
    if (t && i >= 0 && i < t->count()) t->setCurrentIndex(i);
}
