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

#include "control_impl.h"
#include "tabulo/widgets/application.h"

namespace {

struct KeyEdit : QKeyEvent {
    static void setKey(QKeyEvent* e, int key) { static_cast<KeyEdit*>(e)->m_key = key; }
    static void setText(QKeyEvent* e, const QString& t) { static_cast<KeyEdit*>(e)->m_text = t; }
};

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

// The control behind a link, or nullptr once it went during a call.
inline TControl* alive(TWidgetLink* link) {
    return link->Owner;
}

const QEvent* keyPassedOn = nullptr;
QPointer<QWidget> keyPassedFrom;

// A key event is the window's own unless a child did not take it and the
// toolkit now passes it up.
bool ownsKeys(QWidget* w, QEvent* e) {
    return !(e == keyPassedOn && keyPassedFrom && keyPassedFrom->parentWidget() == w);
}

TControl* findButton(TControl* root, bool wantDefault) {
    for (TControl* ch : root->Children()) {
        if (ch->IsForm()) continue;
        if (ch->Widget() && ch->Enabled() && ch->Visible() &&
            (ch->Kind() == TControlKind::Button || ch->Kind() == TControlKind::BitButton)) {
            if (wantDefault ? ch->DefaultButton() : ch->CancelButton()) return ch;
        }
        if (TControl* f = findButton(ch, wantDefault)) return f;
    }
    return nullptr;
}

void splitterDrag(TControl* c, TControl::Impl* d, QMouseEvent* me, bool start) {
    TControl* parent = c->Parent();
    if (!parent) return;
    // The aligned sibling just before the splitter, with the same alignment.
    TControl* prev = nullptr;
    for (TControl* s : parent->Children()) {
        if (s == c) break;
        if (s->Align() == c->Align() && s->Visible()) prev = s;
    }
    if (!prev) return;
    const bool vertical = c->Align() == caLeft || c->Align() == caRight;
    QPoint g = me->globalPosition().toPoint();
    int pos = vertical ? g.x() : g.y();
    if (start) {
        d->dragging = true;
        d->dragStart = pos;
        d->dragOrigSize = vertical ? prev->Width() : prev->Height();
        return;
    }
    if (!d->dragging) return;
    int delta = pos - d->dragStart;
    if (c->Align() == caRight || c->Align() == caBottom) delta = -delta;
    int total = vertical ? parent->ClientWidth() : parent->ClientHeight();
    int size = std::max(d->dragOrigSize + delta, d->minPrev);
    size = std::min(
        size, std::max(total - d->minNext - (vertical ? c->Width() : c->Height()), d->minPrev));
    if (vertical)
        prev->SetWidth(size);
    else
        prev->SetHeight(size);
    parent->AlignChildren();
}

}  // namespace

void TBitButtonWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click counts as another press, unless the toolkit already sent
    // the press of this second click.
    if (isDown()) {
        e->accept();
        return;
    }
    mousePressEvent(e);
}

namespace {
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
        bool result = false;
        bool consumed = false;
        ++widgets_detail::EventDepth;
        if (mouse) {
            // The same event in the control's own coordinates.
            auto* me = static_cast<QMouseEvent*>(e);
            const QPointF p = static_cast<QWidget*>(o)->mapTo(outer_, me->position().toPoint());
            QMouseEvent copy(t, p, me->globalPosition(), me->button(), me->buttons(),
                             me->modifiers());
            consumed = widgets_detail::BeforeEvent(link_, outer_, &copy, result);
        } else {
            consumed = widgets_detail::BeforeEvent(link_, outer_, e, result);
        }
        --widgets_detail::EventDepth;
        return consumed;
    }

private:
    QWidget* outer_;
    TWidgetLink* link_;
};
}  // namespace

namespace widgets_detail {

void ForwardInnerMouse(QWidget* outer, QWidget* inner, TWidgetLink* link) {
    if (inner) inner->installEventFilter(new InnerMouseFilter(outer, link));
}

void KeyNotTaken(QWidget* w, QEvent* e) {
    if (e->isAccepted()) {
        keyPassedOn = nullptr;
        keyPassedFrom = nullptr;
    } else {
        keyPassedOn = e;
        keyPassedFrom = w;
    }
}

void Dying(TWidgetLink* link, QWidget*) {
    TControl* c = link->Owner;
    link->Owner = nullptr;
    if (c) TControl::Impl::widgetGone(c);
}

bool PaintsBeforeBase(const TWidgetLink* link) {
    switch (link->Owner->Kind()) {
        case TControlKind::Form:
        case TControlKind::Panel:
        case TControlKind::Custom:
        case TControlKind::TabPage:
        case TControlKind::Splitter:
        case TControlKind::BitButton:
            return true;
        default:
            return false;
    }
}

namespace {
void drawBorder(TControl* c, TCanvas& canvas, QWidget* w) {
    if (c->IsForm()) return;
    TRect r{0, 0, w->width(), w->height()};
    if (c->ExStyle() & WS_EX_CLIENTEDGE) {
        canvas.DrawEdge(r, edgeSunken, bfRect);
    } else if (c->ExStyle() & WS_EX_STATICEDGE) {
        canvas.DrawEdge(r, bdrSunkenOuter, bfRect);
    } else if (c->Style() & WS_BORDER) {
        canvas.FrameRect(r, clWindowFrame);
    }
}

void defaultBitButton(TControl* c, TCanvas& canvas, const TRect& rect, int state) {
    canvas.FillRect(rect, c->Color());
    TRect r = rect;
    canvas.DrawEdge(r, state == odsPressed ? edgeSunken : edgeRaised, bfRect);
    TRect t = rect;
    if (state == odsPressed) {
        t.Left += c->TextShift().X;
        t.Top += c->TextShift().Y;
        t.Right += c->TextShift().X;
        t.Bottom += c->TextShift().Y;
    }
    canvas.Font().Assign(c->Font());
    if (state == odsDisabled) canvas.Font().SetColor(clGrayText);
    canvas.DrawText(c->Text().view(), t, dtCenter | dtVCenter | dtSingleLine);
}

void panelCaption(TControl* c, TCanvas& canvas, QWidget* w) {
    TmdvPanelData* pd = c->PanelData();
    TText text = c->Text();
    if (!pd || text.empty()) return;
    uint32_t flags = dtSingleLine;
    flags |= pd->HAlign == 1 ? dtCenter : pd->HAlign == 2 ? dtRight : dtLeft;
    flags |= pd->VAlign == 1 ? dtVCenter : pd->VAlign == 2 ? dtBottom : dtTop;
    TRect r{0, 0, w->width(), w->height()};
    canvas.Font().Assign(c->Font());
    canvas.DrawText(text.view(), r, flags);
}
}  // namespace

bool Paint(TWidgetLink* link, QWidget* w, QPaintEvent*, bool basePainted) {
    TControl* c = link->Owner;
    if (!c) return true;
    if (c->IsForm()) TControl::Impl::painted(c);
    const TRect rect{0, 0, w->width(), w->height()};
    if (!basePainted) {
        TMsg erase;
        erase.Message = msgEraseBkgnd;
        bool skipErase = c->Perform(erase);
        if (!(c = alive(link))) return true;
        TMsg paint;
        paint.Message = msgPaint;
        if (c->Perform(paint)) return true;
        if (!(c = alive(link))) return true;
        QPainter p(w);
        TCanvas& canvas = c->Canvas();
        canvas.BindPainter(&p);
        if (c->Kind() == TControlKind::BitButton) {
            int state = c->DrawState();
            bool drawn = false;
            if (c->OnDrawItem) {
                auto slot = c->OnDrawItem;
                drawn = slot(*c, canvas, rect, state);
            }
            if ((c = alive(link)) && !drawn) defaultBitButton(c, canvas, rect, state);
        } else {
            if (!skipErase && c->Color() != clNone) canvas.FillRect(rect, c->Color());
            if (c->Kind() == TControlKind::Panel) panelCaption(c, canvas, w);
            drawBorder(c, canvas, w);
            if (c->OnPaint) {
                auto slot = c->OnPaint;
                slot(*c, canvas);
            }
            if ((c = alive(link)) && c->PanelData() && c->PanelData()->PaintHook) {
                auto hook = c->PanelData()->PaintHook;
                hook(*c, canvas);
            }
        }
        if ((c = alive(link))) c->Canvas().Unbind();
        return true;
    }
    // Standard controls: they painted themselves; the owner may add to it.
    if (c->OnPaint) {
        QPainter p(w);
        TCanvas& canvas = c->Canvas();
        canvas.BindPainter(&p);
        auto slot = c->OnPaint;
        slot(*c, canvas);
        if ((c = alive(link))) c->Canvas().Unbind();
    }
    return true;
}

namespace {
// A window without a system menu offers the user no way to close it; some
// window managers (openbox) keep their close action all the same, and its
// request is refused here. The program's own closing is not affected.
bool OffersClose(TControl* c, QEvent* e) {
    return !c->IsForm() || !e->spontaneous() || c->impl()->closingFromProgram ||
           (c->Style() & WS_SYSMENU);
}
}  // namespace

namespace {

// The event is the control's: the toolkit does nothing more with it.
bool consume(QEvent* e, bool& result) {
    e->accept();
    result = true;
    return true;
}

// Mouse buttons and moves: hooks, then the slot of the message, then the
// layer's own click and splitter handling.
bool mouseEvent(TWidgetLink* link, QWidget* w, QMouseEvent* me, bool& result) {
    TControl* c = link->Owner;
    TControl::Impl* d = c->impl();
    TMsg msg;
    msg.Message = me->type() == QEvent::MouseButtonPress      ? msgMouseDown
                  : me->type() == QEvent::MouseButtonRelease  ? msgMouseUp
                  : me->type() == QEvent::MouseButtonDblClick ? msgMouseDblClk
                                                              : msgMouseMove;
    msg.Mouse = mouseInfo(me);
    if (c->Perform(msg)) return consume(me, result);
    if (!(c = alive(link))) return consume(me, result);
    TControl::TMouseSlot* slot = msg.Message == msgMouseDown   ? &c->OnMouseDown
                                 : msg.Message == msgMouseUp   ? &c->OnMouseUp
                                 : msg.Message == msgMouseMove ? &c->OnMouseMove
                                                               : &c->OnMouseDblClk;
    if (*slot) {
        auto copy = *slot;
        copy(*c, msg.Mouse);
        if (!(c = alive(link))) return consume(me, result);
    }
    if (c->Kind() == TControlKind::Splitter) {
        if (msg.Message == msgMouseDown && msg.Mouse.Button == 1) splitterDrag(c, d, me, true);
        if (msg.Message == msgMouseMove && (msg.Mouse.Shift & mkLButton))
            splitterDrag(c, d, me, false);
        if (msg.Message == msgMouseUp) d->dragging = false;
    }
    if (!widgets_detail::IsStandardControl(c->Kind())) {
        // A double click stands for the press of the second click: the
        // toolkit may send it without a press (when the first click went to
        // another window at the same spot).
        if ((msg.Message == msgMouseDown || msg.Message == msgMouseDblClk) && msg.Mouse.Button == 1)
            d->leftPressedInside = true;
        if (msg.Message == msgMouseUp && msg.Mouse.Button == 1) {
            bool inside = w->rect().contains(me->position().toPoint());
            bool was = d->leftPressedInside;
            d->leftPressedInside = false;
            if (was && inside && c->OnClick) {
                auto click = c->OnClick;
                click(*c);
                if (!(c = alive(link))) return consume(me, result);
            }
        }
    }
    return false;
}

bool wheelEvent(TWidgetLink* link, QWheelEvent* we, bool& result) {
    TControl* c = link->Owner;
    TMsg msg;
    msg.Message = msgMouseWheel;
    msg.Mouse.Shift = buttonBits(we->buttons()) | modifierBits(we->modifiers());
    int delta = we->angleDelta().y();
    if (delta == 0) delta = we->angleDelta().x();
    msg.Mouse.WheelDelta = int16_t(std::clamp(delta, -32768, 32767));
    QPoint p = we->position().toPoint();
    msg.Mouse.X = p.x();
    msg.Mouse.Y = p.y();
    if (c->Perform(msg)) return consume(we, result);
    if (!(c = alive(link))) return consume(we, result);
    if (c->OnMouseWheel) {
        auto copy = c->OnMouseWheel;
        copy(*c, msg.Mouse);
        if (!alive(link)) return consume(we, result);
    }
    return false;
}

// The pointer comes over the window or leaves it.
bool hoverEvent(TWidgetLink* link, QWidget* w, QEvent* e, bool& result) {
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
    if (c->Perform(msg)) return consume(e, result);
    if (!(c = alive(link))) return consume(e, result);
    auto& slot = enter ? c->OnMouseEnter : c->OnMouseLeave;
    if (slot) {
        auto copy = slot;
        copy(*c);
        if (!alive(link)) return consume(e, result);
    }
    if (c->Kind() == TControlKind::BitButton) w->update();
    return false;
}

// A key a child did not take: Enter and Escape press the form's default
// and cancel buttons.
bool keyPassedUp(TControl* c, QKeyEvent* ke, bool& result) {
    if (ke->type() != QEvent::KeyPress || !c->IsForm()) return false;
    const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
    const bool escape = ke->key() == Qt::Key_Escape;
    if (!enter && !escape) return false;
    TControl* b = findButton(c, enter);
    auto* ab = b ? dynamic_cast<QAbstractButton*>(b->Widget()) : nullptr;
    if (!ab) return false;
    ab->click();
    return consume(ke, result);
}

// Tab in a form without Tab-key navigation: the focus stays; the key still
// reaches the hooks and the slot.
bool tabKeptInPlace(TWidgetLink* link, QKeyEvent* ke, bool& result) {
    TControl* c = link->Owner;
    ke->accept();
    result = true;
    int vk = vkTab;
    TMsg msg;
    msg.Message = msgKeyDown;
    msg.WParam = vk;
    if (c->Perform(msg)) return true;
    if ((c = alive(link)) && c->OnKeyDown) {
        auto copy = c->OnKeyDown;
        copy(*c, vk, modifierBits(ke->modifiers()));
    }
    return true;
}

// The typed character of a key press: hooks, then the character slot, which
// may change or swallow it.
bool typedChar(TWidgetLink* link, QKeyEvent* ke, uint32_t shift, bool& result) {
    TControl* c = link->Owner;
    QByteArray utf8 = ke->text().toUtf8();
    TMsg cm;
    cm.Message = msgChar;
    cm.Text.assign(utf8.constData(), std::size_t(utf8.size()));
    if (c->Perform(cm)) {
        KeyEdit::setText(ke, QString());
    } else if ((c = alive(link)) && c->OnChar) {
        std::string ch = cm.Text;
        auto copy = c->OnChar;
        copy(*c, ch, shift);
        if (!alive(link)) return consume(ke, result);
        if (ch != cm.Text) KeyEdit::setText(ke, QString::fromUtf8(ch.data(), qsizetype(ch.size())));
    }
    if (!alive(link)) return consume(ke, result);
    return false;
}

bool keyEvent(TWidgetLink* link, QWidget* w, QKeyEvent* ke, bool& result) {
    TControl* c = link->Owner;
    const bool press = ke->type() == QEvent::KeyPress;
    if (!ownsKeys(w, ke)) return keyPassedUp(c, ke, result);
    if (press && (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)) {
        TControl* form = c->ParentForm();
        if (form && !form->TabNavigation()) return tabKeptInPlace(link, ke, result);
    }
    const bool keypad = ke->modifiers() & Qt::KeypadModifier;
    int vk = QtKeyToVirtualKey(ke->key(), keypad);
    const uint32_t shift = modifierBits(ke->modifiers());
    TMsg msg;
    msg.Message = press ? msgKeyDown : msgKeyUp;
    msg.WParam = vk;
    if (c->Perform(msg)) return consume(ke, result);
    if (!(c = alive(link))) return consume(ke, result);
    int key = vk;
    auto& slot = press ? c->OnKeyDown : c->OnKeyUp;
    if (slot && vk != 0) {
        auto copy = slot;
        copy(*c, key, shift);
        if (!(c = alive(link))) return consume(ke, result);
        if (key == 0) return consume(ke, result);
        if (key != vk) {
            if (int qk = VirtualKeyToQtKey(key)) KeyEdit::setKey(ke, qk);
        }
    }
    if (press && !ke->text().isEmpty()) return typedChar(link, ke, shift, result);
    return false;
}

// A close request: hooks (which may refuse it), then the close slot.
bool closeEvent(TWidgetLink* link, QEvent* e, bool& result) {
    TControl* c = link->Owner;
    if (!OffersClose(c, e)) {
        e->ignore();
        result = true;
        return true;
    }
    TMsg msg;
    msg.Message = msgClose;
    msg.WParam = c->impl()->closingFromProgram ? 1 : 0;
    if (c->Perform(msg)) {
        e->ignore();
        result = true;
        return true;
    }
    if (!(c = alive(link))) return consume(e, result);
    bool accept = true;
    if (c->OnClose) {
        auto copy = c->OnClose;
        copy(*c, accept);
        if (!(c = alive(link))) return consume(e, result);
    }
    if (!accept) {
        e->ignore();
        result = true;
        return true;
    }
    return false;  // the toolkit hides the window; see AfterEvent
}

// Files dragged over the window and dropped on it.
bool dropEvent(TWidgetLink* link, QDropEvent* de, bool& result) {
    TControl* c = link->Owner;
    const bool accepts = c->ExStyle() & WS_EX_ACCEPTFILES;
    if (de->type() != QEvent::Drop) {
        bool files = false;
        if (de->mimeData() && de->mimeData()->hasUrls())
            for (const QUrl& u : de->mimeData()->urls()) files = files || u.isLocalFile();
        if (!files || !accepts) return false;
        de->acceptProposedAction();
        result = true;
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
    result = true;
    return true;
}

// After the toolkit: a notice for the hooks, then a slot; false when the
// control went meanwhile.
bool notify(TWidgetLink* link, uint32_t id, intptr_t wparam, TControl::TNotify TControl::*slot) {
    TControl* c = link->Owner;
    TMsg msg;
    msg.Message = id;
    msg.WParam = wparam;
    c->Perform(msg);
    if (!(c = alive(link))) return false;
    if (slot && c->*slot) {
        auto copy = c->*slot;
        copy(*c);
        if (!alive(link)) return false;
    }
    return true;
}

// Size and position.
void geometryEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    TControl* c = link->Owner;
    if (e->type() == QEvent::Move) {
        notify(link, msgMove, 0, &TControl::OnMove);
        return;
    }
    if (!notify(link, msgSize, c->IsForm() ? c->WindowState() : 0, &TControl::OnResize)) return;
    c = link->Owner;
    c->AlignChildren();
    if (c->Kind() == TControlKind::Panel) w->update();
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
            if (notify(link, msgEnable, w->isEnabled() ? 1 : 0, nullptr) &&
                link->Owner->Kind() == TControlKind::Panel)
                w->update();
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
            notify(link, msgActivate, 1, nullptr);
            break;
        case QEvent::WindowDeactivate:
            notify(link, msgActivate, 0, nullptr);
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
                c->Perform(m);
                if (!(c = alive(link))) return;
            }
            if (!notify(link, msgWindowState, state, nullptr)) return;
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

}  // namespace

// One function per event family; the paint family is Paint above.
bool BeforeEvent(TWidgetLink* link, QWidget* w, QEvent* e, bool& result) {
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouseEvent(link, w, static_cast<QMouseEvent*>(e), result);
        case QEvent::Wheel:
            return wheelEvent(link, static_cast<QWheelEvent*>(e), result);
        case QEvent::Enter:
        case QEvent::Leave:
            return hoverEvent(link, w, e, result);
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return keyEvent(link, w, static_cast<QKeyEvent*>(e), result);
        case QEvent::Close:
            return closeEvent(link, e, result);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return dropEvent(link, static_cast<QDropEvent*>(e), result);
        default:
            return false;
    }
}

void AfterEvent(TWidgetLink* link, QWidget* w, QEvent* e) {
    switch (e->type()) {
        case QEvent::Resize:
        case QEvent::Move:
            geometryEvent(link, w, e);
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

}  // namespace widgets_detail
