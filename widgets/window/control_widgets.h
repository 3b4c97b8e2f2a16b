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
// The toolkit's own handling of an event by the window (its base class).
using TToolkitEvent = bool (*)(QWidget* w, QEvent* e);
// One event of a window of the layer: the hooks and slots of its control,
// the toolkit's handling, the notices after it; inside the event scope.
bool DispatchEvent(TWidgetLink* link, QWidget* w, QEvent* e, TToolkitEvent toolkit);
// Answers true when the owner painted the whole window.
bool Paint(TWidgetLink* link, QWidget* w, QPaintEvent* e, bool basePainted);
void Dying(TWidgetLink* link, QWidget* w);
bool PaintsBeforeBase(const TWidgetLink* link);
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
        return widgets_detail::DispatchEvent(this, this, e, &toolkitEvent);
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

private:
    static bool toolkitEvent(QWidget* w, QEvent* e) {
        return static_cast<TBridge*>(w)->Base::event(e);
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
