#pragma once
// The toolkit windows behind TControl: each is a Qt widget class with a link
// back to its control, so that every event passes the control first.

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "tabulo/widgets/ini.h"

class TControl;

// The mixin every widget of the layer carries.
struct TWidgetLink {
    TControl* Owner = nullptr;
    int Depth = 0;  // events being dispatched right now
    virtual ~TWidgetLink() = default;
};

namespace widgets_detail {
// Events of the layer's windows being dispatched right now (all windows).
extern int EventDepth;
// Implemented in control_events.cpp.
bool BeforeEvent(TWidgetLink* link, QWidget* w, QEvent* e, bool& result);
void AfterEvent(TWidgetLink* link, QWidget* w, QEvent* e);
// Answers true when the owner painted the whole window.
bool Paint(TWidgetLink* link, QWidget* w, QPaintEvent* e, bool basePainted);
void Dying(TWidgetLink* link, QWidget* w);
bool PaintsBeforeBase(const TWidgetLink* link);
// Remembers a key event the window did not take: the toolkit passes it on to
// the parent next, which must not treat it as its own key.
void KeyNotTaken(QWidget* w, QEvent* e);
// Mouse events of an inner window of a standard control (a memo's text
// area, a tab strip's tab bar) reach the control's hooks and slots too.
void ForwardInnerMouse(QWidget* outer, QWidget* inner, TWidgetLink* link);
}  // namespace widgets_detail

template <class Base>
class TBridge : public Base, public TWidgetLink {
public:
    template <class... A>
    explicit TBridge(TControl* owner, A&&... args) : Base(std::forward<A>(args)...) {
        Owner = owner;
    }
    ~TBridge() override {
        if (Owner) widgets_detail::Dying(this, this);
    }

protected:
    bool event(QEvent* e) override {
        // The window deletes itself here: nothing of it may be touched after.
        if (e->type() == QEvent::DeferredDelete) return Base::event(e);
        // All that one event reads from INI files (a page refreshing its
        // captions) looks at each file once; the next event looks again.
        const TIniReadScope iniReads;
        ++Depth;
        ++widgets_detail::EventDepth;
        bool result = false;
        if (Owner && widgets_detail::BeforeEvent(this, this, e, result)) {
            if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
                widgets_detail::KeyNotTaken(this, e);
            --Depth;
            --widgets_detail::EventDepth;
            return result;
        }
        result = Base::event(e);
        if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease))
            widgets_detail::KeyNotTaken(this, e);
        if (Owner) widgets_detail::AfterEvent(this, this, e);
        --Depth;
        --widgets_detail::EventDepth;
        return result;
    }
    void paintEvent(QPaintEvent* e) override {
        if (!Owner) {
            Base::paintEvent(e);
            return;
        }
        if (widgets_detail::PaintsBeforeBase(this)) {
            if (!widgets_detail::Paint(this, this, e, false)) Base::paintEvent(e);
        } else {
            Base::paintEvent(e);
            if (Owner) widgets_detail::Paint(this, this, e, true);
        }
    }
};

// A plain window the owner paints (forms, panels, custom controls, pages).
class TPlainWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// The owner-drawn button. Painting is the owner's; a double click that does
// not follow a press of its own counts as a press, so that fast clicking
// gives one click per press.
class TBitButtonWidget : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;
    QSize sizeHint() const override { return QSize(75, 25); }

protected:
    void paintEvent(QPaintEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

// A tab strip whose page areas are our own windows.
class TTabWidget : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
};
