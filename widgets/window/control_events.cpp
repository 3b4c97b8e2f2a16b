// TControl: toolkit events become messages for the hooks, then slot calls.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>
#include <utility>

#include "control_impl.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/eventscope.h"

namespace {

uint32_t modifierBits(Qt::KeyboardModifiers m) {
    uint32_t s = 0;
    if (m & Qt::ShiftModifier) s |= mkShift;
    if (m & Qt::ControlModifier) s |= mkControl;
    if (m & Qt::AltModifier) s |= mkAlt;
    return s;
}
uint32_t buttonBits(Qt::MouseButtons b) {
    uint32_t s = 0;
    if (b & Qt::LeftButton) s |= mkLButton;
    if (b & Qt::RightButton) s |= mkRButton;
    if (b & Qt::MiddleButton) s |= mkMButton;
    return s;
}
uint8_t buttonNumber(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 3;
        default:
            return 0;
    }
}
TMouseInfo mouseInfo(QMouseEvent* e) {
    TMouseInfo m;
    m.Button = buttonNumber(e->button());
    m.Shift = buttonBits(e->buttons()) | modifierBits(e->modifiers());
    QPoint p = e->position().toPoint();
    m.X = p.x();
    m.Y = p.y();
    return m;
}

// What became of a message offered to a control.
enum class TOutcome : uint8_t {
    GoOn,      // nobody took it: the next step runs
    Consumed,  // a hook took it
    Gone,      // the control went while its hooks or its slot ran
};

// Offers msg to the control's hooks.
TOutcome runHooks(TWidgetLink* link, TMsg& msg) {
    const bool consumed = link->Owner->Perform(msg);
    if (!link->Owner) return TOutcome::Gone;
    return consumed ? TOutcome::Consumed : TOutcome::GoOn;
}

// Runs a slot of the control (a copy: the slot may replace itself) when set.
template <class Slot, class... A>
TOutcome runSlot(TWidgetLink* link, Slot TControl::*slot, A&... args) {
    TControl* c = link->Owner;
    if (!c) return TOutcome::Gone;
    if (!(c->*slot)) return TOutcome::GoOn;
    auto copy = c->*slot;
    copy(*c, args...);
    return link->Owner ? TOutcome::GoOn : TOutcome::Gone;
}

// The hooks, then, when none took the message, the slot.
template <class Slot, class... A>
TOutcome runHooksThenSlot(TWidgetLink* link, TMsg& msg, Slot TControl::*slot, A&... args) {
    const TOutcome hooks = runHooks(link, msg);
    return hooks == TOutcome::GoOn ? runSlot(link, slot, args...) : hooks;
}

// The event is the control's: the toolkit does nothing more with it.
bool consume(QEvent* e) {
    e->accept();
    return true;
}
// The event is refused (a close the control keeps from happening).
bool refuse(QEvent* e) {
    e->ignore();
    return true;
}

// A key event a window did not take, which the toolkit passes on to the
// parent next: the parent must not treat it as its own key. With the key
// the window's slot made of it (the parent's default and cancel buttons
// answer to that one).
struct TKeyPassedOn {
    const QEvent* Event = nullptr;
    QPointer<QWidget> From;
    int Key = 0;
};
TKeyPassedOn keyPassedOn;

// A key event is the window's own unless a child did not take it and the
// toolkit now passes it up.
bool ownsKeys(QWidget* w, QEvent* e) {
    return !(e == keyPassedOn.Event && keyPassedOn.From && keyPassedOn.From->parentWidget() == w);
}

void keyDone(QWidget* w, QKeyEvent* e, int key) {
    if (e->isAccepted())
        keyPassedOn = TKeyPassedOn{};
    else
        keyPassedOn = TKeyPassedOn{e, w, key};
}

TControl* findButton(TControl* root, bool wantDefault) {
    for (TControl* ch : root->Children()) {
        if (ch->IsForm()) continue;
        if (ch->Widget() && ch->Enabled() && ch->Visible() && ch->PressedByKeys()) {
            if (wantDefault ? ch->DefaultButton() : ch->CancelButton()) return ch;
        }
        if (TControl* f = findButton(ch, wantDefault)) return f;
    }
    return nullptr;
}

}  // namespace

namespace {

// One event on its way through a window of the layer.
struct TDelivery {
    TDelivery(TWidgetLink* link, QWidget* w, QEvent* e,
              widgets_detail::TToolkitEvent toolkit = nullptr)
        : Link(link), Widget(w), Event(e), Toolkit(toolkit) {}
    TWidgetLink* Link;
    QWidget* Widget;
    QEvent* Event;
    widgets_detail::TToolkitEvent Toolkit;
    // Key events: the key and the text the toolkit is to see (the slots may
    // change them; the toolkit then gets a new event that carries them).
    int Key = 0;
    QString Text;
};

bool takeEvent(TDelivery& d);

class InnerMouseFilter : public QObject {
public:
    InnerMouseFilter(QWidget* outer, TWidgetLink* link)
        : QObject(outer), outer_(outer), link_(link) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type t = e->type();
        const bool mouse = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                           t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove;
        if ((!mouse && t != QEvent::Wheel) || !link_->Owner) return false;
        bool consumed = false;
        ++widgets_detail::EventDepth;
        if (mouse) {
            // The same event in the control's own coordinates.
            auto* me = static_cast<QMouseEvent*>(e);
            const QPointF p = static_cast<QWidget*>(o)->mapTo(outer_, me->position().toPoint());
            QMouseEvent copy(t, p, me->globalPosition(), me->button(), me->buttons(),
                             me->modifiers());
            TDelivery d(link_, outer_, &copy);
            consumed = takeEvent(d);
        } else {
            TDelivery d(link_, outer_, e);
            consumed = takeEvent(d);
        }
        --widgets_detail::EventDepth;
        return consumed;
    }

private:
    QWidget* outer_;
    TWidgetLink* link_;
};

// A window without a system menu offers the user no way to close it; some
// window managers (openbox) keep their close action all the same, and its
// request is refused here. The program's own closing is not affected.
bool offersClose(TControl* c, QEvent* e) {
    return !c->IsForm() || !e->spontaneous() || c->impl()->closingFromProgram ||
           (c->Style() & WS_SYSMENU);
}

// Mouse buttons and moves: hooks, then the slot of the message, then the
// layer's own click and splitter handling.
bool mouseEvent(TWidgetLink* link, QWidget* w, QMouseEvent* me) {
    TMsg msg;
    msg.Message = me->type() == QEvent::MouseButtonPress      ? msgMouseDown
                  : me->type() == QEvent::MouseButtonRelease  ? msgMouseUp
                  : me->type() == QEvent::MouseButtonDblClick ? msgMouseDblClk
                                                              : msgMouseMove;
    msg.Mouse = mouseInfo(me);
    TControl::TMouseSlot TControl::*slot = msg.Message == msgMouseDown   ? &TControl::OnMouseDown
                                           : msg.Message == msgMouseUp   ? &TControl::OnMouseUp
                                           : msg.Message == msgMouseMove ? &TControl::OnMouseMove
                                                                         : &TControl::OnMouseDblClk;
    if (runHooksThenSlot(link, msg, slot, msg.Mouse) != TOutcome::GoOn) return consume(me);
    TControl* c = link->Owner;
    const QPoint screenPos = me->globalPosition().toPoint();
    c->MouseHandled(msg, {screenPos.x(), screenPos.y()});
    if (c->StandardControl()) return false;
    TControl::Impl* d = c->impl();
    // A double click stands for the press of the second click: the toolkit
    // may send it without a press (when the first click went to another
    // window at the same spot).
    if ((msg.Message == msgMouseDown || msg.Message == msgMouseDblClk) && msg.Mouse.Button == 1)
        d->leftPressedInside = true;
    if (msg.Message == msgMouseUp && msg.Mouse.Button == 1) {
        const bool inside = w->rect().contains(me->position().toPoint());
        const bool pressed = std::exchange(d->leftPressedInside, false);
        if (pressed && inside && runSlot(link, &TControl::OnClick) == TOutcome::Gone)
            return consume(me);
    }
    return false;
}

bool wheelEvent(TWidgetLink* link, QWheelEvent* we) {
    TMsg msg;
    msg.Message = msgMouseWheel;
    msg.Mouse.Shift = buttonBits(we->buttons()) | modifierBits(we->modifiers());
    int delta = we->angleDelta().y();
    if (delta == 0) delta = we->angleDelta().x();
    msg.Mouse.WheelDelta = int16_t(std::clamp(delta, -32768, 32767));
    QPoint p = we->position().toPoint();
    msg.Mouse.X = p.x();
    msg.Mouse.Y = p.y();
    if (runHooksThenSlot(link, msg, &TControl::OnMouseWheel, msg.Mouse) != TOutcome::GoOn)
        return consume(we);
    return false;
}

// The pointer comes over the window or leaves it.
bool hoverEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    TControl* c = link->Owner;
    if (!c->TrackMouse()) return false;
    const bool enter = e->type() == QEvent::Enter;
    c->impl()->hovered = enter;
    TMsg msg;
    msg.Message = enter ? msgMouseHover : msgMouseLeave;
    if (enter) {
        QPoint p = w->mapFromGlobal(QCursor::pos());
        msg.Mouse.X = p.x();
        msg.Mouse.Y = p.y();
    }
    if (runHooksThenSlot(link, msg, enter ? &TControl::OnMouseEnter : &TControl::OnMouseLeave) !=
        TOutcome::GoOn)
        return consume(e);
    link->Owner->HoverChanged();
    return false;
}

// A key a child did not take: Enter and Escape press the form's default
// and cancel buttons.
bool keyPassedUp(TControl* c, QKeyEvent* ke, int key) {
    if (ke->type() != QEvent::KeyPress || !c->IsForm()) return false;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    if (!enter && !escape) return false;
    TControl* b = findButton(c, enter);
    QAbstractButton* ab = b ? TControl::Impl::buttonOf(b) : nullptr;
    if (!ab) return false;
    ab->click();
    return consume(ke);
}

// Tab in a form without Tab-key navigation: the focus stays; the key still
// reaches the hooks and the slot.
bool tabKeptInPlace(TWidgetLink* link, QKeyEvent* ke) {
    int vk = vkTab;
    uint32_t shift = modifierBits(ke->modifiers());
    TMsg msg;
    msg.Message = msgKeyDown;
    msg.WParam = vk;
    runHooksThenSlot(link, msg, &TControl::OnKeyDown, vk, shift);
    return consume(ke);
}

// The typed character of a key press: hooks, then the character slot, which
// may change or swallow it.
bool typedChar(TDelivery& d, uint32_t shift) {
    QByteArray utf8 = d.Text.toUtf8();
    TMsg msg;
    msg.Message = msgChar;
    msg.Text.assign(utf8.constData(), std::size_t(utf8.size()));
    switch (runHooks(d.Link, msg)) {
        case TOutcome::Gone:
            return consume(d.Event);
        case TOutcome::Consumed:
            d.Text.clear();
            return false;
        case TOutcome::GoOn:
            break;
    }
    std::string ch = msg.Text;
    if (runSlot(d.Link, &TControl::OnChar, ch, shift) == TOutcome::Gone) return consume(d.Event);
    if (ch != msg.Text) d.Text = QString::fromUtf8(ch.data(), qsizetype(ch.size()));
    return false;
}

bool keyEvent(TDelivery& d, bool ownKey) {
    auto* ke = static_cast<QKeyEvent*>(d.Event);
    TControl* c = d.Link->Owner;
    const bool press = ke->type() == QEvent::KeyPress;
    if (!ownKey) return keyPassedUp(c, ke, d.Key);
    if (press && (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)) {
        TControl* form = c->ParentForm();
        if (form && !form->TabNavigation()) return tabKeptInPlace(d.Link, ke);
    }
    const bool keypad = ke->modifiers() & Qt::KeypadModifier;
    const int vk = QtKeyToVirtualKey(ke->key(), keypad);
    uint32_t shift = modifierBits(ke->modifiers());
    TMsg msg;
    msg.Message = press ? msgKeyDown : msgKeyUp;
    msg.WParam = vk;
    if (runHooks(d.Link, msg) != TOutcome::GoOn) return consume(ke);
    int key = vk;
    if (vk != 0) {
        auto slot = press ? &TControl::OnKeyDown : &TControl::OnKeyUp;
        if (runSlot(d.Link, slot, key, shift) == TOutcome::Gone || key == 0) return consume(ke);
        if (key != vk) {
            if (int qk = VirtualKeyToQtKey(key)) d.Key = qk;
        }
    }
    if (press && !d.Text.isEmpty()) return typedChar(d, shift);
    return false;
}

// A close request: hooks (which may refuse it), then the close slot.
bool closeEvent(TWidgetLink* link, QEvent* e) {
    TControl* c = link->Owner;
    if (!offersClose(c, e)) return refuse(e);
    TMsg msg;
    msg.Message = msgClose;
    msg.WParam = c->impl()->closingFromProgram ? 1 : 0;
    bool accept = true;
    switch (runHooksThenSlot(link, msg, &TControl::OnClose, accept)) {
        case TOutcome::Consumed:
            return refuse(e);
        case TOutcome::Gone:
            return consume(e);
        case TOutcome::GoOn:
            break;
    }
    if (!accept) return refuse(e);
    return false;  // the toolkit hides the window; see windowEvent
}

// Files dragged over the window and dropped on it.
bool dropEvent(TWidgetLink* link, QDropEvent* de) {
    TControl* c = link->Owner;
    const bool accepts = c->ExStyle() & WS_EX_ACCEPTFILES;
    if (de->type() != QEvent::Drop) {
        bool files = false;
        if (de->mimeData() && de->mimeData()->hasUrls())
            for (const QUrl& u : de->mimeData()->urls()) files = files || u.isLocalFile();
        if (!files || !accepts) return false;
        de->acceptProposedAction();
        return true;
    }
    if (!accepts || !de->mimeData()) return false;
    TMsg msg;
    msg.Message = msgDropFiles;
    for (const QUrl& u : de->mimeData()->urls())
        if (u.isLocalFile()) msg.Files.push_back(u.toLocalFile().toStdString());
    if (msg.Files.empty()) return false;
    QPoint p = de->position().toPoint();
    msg.Mouse.X = p.x();
    msg.Mouse.Y = p.y();
    c->Perform(msg);
    de->acceptProposedAction();
    return true;
}

// Before the toolkit, one function per event family (the paint family is
// Paint): true when the control took the event.
bool takeEvent(TDelivery& d) {
    QEvent* e = d.Event;
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouseEvent(d.Link, d.Widget, static_cast<QMouseEvent*>(e));
        case QEvent::Wheel:
            return wheelEvent(d.Link, static_cast<QWheelEvent*>(e));
        case QEvent::Enter:
        case QEvent::Leave:
            return hoverEvent(d.Link, d.Widget, e);
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return keyEvent(d, ownsKeys(d.Widget, e));
        case QEvent::Close:
            return closeEvent(d.Link, e);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return dropEvent(d.Link, static_cast<QDropEvent*>(e));
        default:
            return false;
    }
}

// After the toolkit: a notice for the hooks (what they answer does not
// matter), then a slot; false when the control went meanwhile.
bool notify(TWidgetLink* link, uint32_t id, intptr_t wparam,
            TControl::TNotify TControl::*slot = nullptr) {
    TMsg msg;
    msg.Message = id;
    msg.WParam = wparam;
    if (runHooks(link, msg) == TOutcome::Gone) return false;
    return !slot || runSlot(link, slot) != TOutcome::Gone;
}

// Size and position.
void geometryEvent(TWidgetLink* link, QEvent* e) {
    TControl* c = link->Owner;
    if (e->type() == QEvent::Move) {
        notify(link, msgMove, 0, &TControl::OnMove);
        return;
    }
    if (!notify(link, msgSize, c->IsForm() ? c->WindowState() : 0, &TControl::OnResize)) return;
    c = link->Owner;
    c->AlignChildren();
    c->LookChanged();
}

// Shown, hidden, enabled.
void visibilityEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    TControl* c = link->Owner;
    switch (e->type()) {
        case QEvent::Show:
            TControl::Impl::aboutToMap(c);
            if (!c->impl()->quietShowHide) notify(link, msgShow, 0, &TControl::OnShow);
            break;
        case QEvent::Hide:
            if (!c->impl()->quietShowHide) notify(link, msgHide, 0, &TControl::OnHide);
            break;
        default:  // EnabledChange
            if (notify(link, msgEnable, w->isEnabled() ? 1 : 0)) link->Owner->LookChanged();
            break;
    }
}

void focusEvent(TWidgetLink* link, QEvent* e) {
    if (e->type() == QEvent::FocusIn)
        notify(link, msgSetFocus, 0, &TControl::OnSetFocus);
    else
        notify(link, msgKillFocus, 0, &TControl::OnKillFocus);
}

// Activation, the minimised and maximised states, and closing for good.
void windowEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    TControl* c = link->Owner;
    switch (e->type()) {
        case QEvent::WindowActivate:
            TControl::Impl::activated(c);
            notify(link, msgActivate, 1);
            break;
        case QEvent::WindowDeactivate:
            notify(link, msgActivate, 0);
            break;
        case QEvent::WindowStateChange: {
            if (!c->IsForm()) break;
            TControl::Impl* d = c->impl();
            uint8_t state = c->WindowState();
            if (state == d->lastState) break;
            d->lastState = state;
            if (state == wsMinimized) {
                TMsg m;
                m.Message = msgMinimize;
                if (runHooks(link, m) == TOutcome::Gone) return;
            }
            if (!notify(link, msgWindowState, state)) return;
            widgets_detail::MainFormStateChanged(link->Owner, state);
            break;
        }
        default: {  // Close
            if (!e->isAccepted() || !c->IsForm()) break;
            if (c == Applet()) {
                widgets_detail::MainFormClosed(c);
            } else {
                // A child form closed for good: its window is destroyed.
                w->hide();
                w->deleteLater();
            }
            break;
        }
    }
}

// After the toolkit handled the event.
void afterEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    switch (e->type()) {
        case QEvent::Resize:
        case QEvent::Move:
            geometryEvent(link, e);
            break;
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::EnabledChange:
            visibilityEvent(link, w, e);
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            focusEvent(link, e);
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowStateChange:
        case QEvent::Close:
            windowEvent(link, w, e);
            break;
        default:
            break;
    }
}

// The toolkit's handling of a key event, with the key and text the slots
// left: a new event when they changed anything.
bool toolkitKey(const TDelivery& d, QKeyEvent* ke) {
    if (d.Key == ke->key() && d.Text == ke->text()) return d.Toolkit(d.Widget, ke);
    QKeyEvent rewritten(ke->type(), d.Key, ke->modifiers(), ke->nativeScanCode(),
                        ke->nativeVirtualKey(), ke->nativeModifiers(), d.Text, ke->isAutoRepeat(),
                        ke->count(), ke->device());
    const bool result = d.Toolkit(d.Widget, &rewritten);
    ke->setAccepted(rewritten.isAccepted());
    return result;
}

bool deliver(void* context) {
    TDelivery& d = *static_cast<TDelivery*>(context);
    QEvent* e = d.Event;
    auto* ke = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease
                   ? static_cast<QKeyEvent*>(e)
                   : nullptr;
    if (ke) {
        d.Key = ownsKeys(d.Widget, ke) ? ke->key() : keyPassedOn.Key;
        d.Text = ke->text();
    }
    ++d.Link->Depth;
    ++widgets_detail::EventDepth;
    bool result = true;
    if (!d.Link->Owner || !takeEvent(d)) {
        result = ke ? toolkitKey(d, ke) : d.Toolkit(d.Widget, e);
        if (d.Link->Owner) afterEvent(d.Link, d.Widget, e);
    }
    if (ke) keyDone(d.Widget, ke, d.Key);
    --d.Link->Depth;
    --widgets_detail::EventDepth;
    return result;
}

}  // namespace

namespace widgets_detail {

bool DispatchEvent(TWidgetLink* link, QWidget* w, QEvent* e, TToolkitEvent toolkit) {
    TDelivery d(link, w, e, toolkit);
    return RunInEventScope(&deliver, &d);
}

void ForwardInnerMouse(QWidget* outer, QWidget* inner, TWidgetLink* link) {
    if (inner) inner->installEventFilter(new InnerMouseFilter(outer, link));
}

void Dying(TWidgetLink* link, QWidget*) {
    TControl* c = link->Owner;
    link->Owner = nullptr;
    if (c) TControl::Impl::widgetGone(c);
}

}  // namespace widgets_detail
