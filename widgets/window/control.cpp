// TControl: construction, the handle table, geometry, alignment and state.

#include "tabulo/widgets/control.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "control_impl.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/icon.h"

namespace {
std::unordered_map<uint32_t, TControl*>& handleTable() {
    static std::unordered_map<uint32_t, TControl*> table;
    return table;
}
uint32_t nextHandle = 0x100;
uint64_t nextSerial = 1;

bool topLevel(TControlKind k) {
    return k == TControlKind::Form;
}

// A hidden window gets its move and resize notices only when shown; the
// layer's users expect them at once (children align, layouts arrange), so
// they are delivered now, as the toolkit itself would deliver them later.
void flushGeometryEvents(QWidget* w, QPoint oldPos, QSize oldSize) {
    if (w->testAttribute(Qt::WA_PendingMoveEvent)) {
        w->setAttribute(Qt::WA_PendingMoveEvent, false);
        QMoveEvent e(w->pos(), oldPos);
        QApplication::sendEvent(w, &e);
    }
    if (w->testAttribute(Qt::WA_PendingResizeEvent)) {
        w->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent e(w->size(), oldSize);
        QApplication::sendEvent(w, &e);
    }
}

void placeWidget(QWidget* w, const QRect& r) {
    if (w->geometry() == r) return;
    QPointer<QWidget> guard(w);
    const QPoint oldPos = w->pos();
    const QSize oldSize = w->size();
    w->setGeometry(r);
    if (guard) flushGeometryEvents(w, oldPos, oldSize);
}

// Deletes a window now, or, while any window of the layer is in the middle
// of an event (it may be this one or one inside it), from the event loop.
void disposeWidget(QWidget* w, TWidgetLink* link) {
    if (!w) return;
    if (link) link->Owner = nullptr;
    if (widgets_detail::EventDepth > 0) {
        w->hide();
        w->deleteLater();
    } else {
        delete w;
    }
}
}  // namespace

namespace widgets_detail {
int EventDepth = 0;

uint32_t IssueHandle(TControl* c) {
    auto& t = handleTable();
    do {
        ++nextHandle;
        if (nextHandle == 0) nextHandle = 0x100;
    } while (t.count(nextHandle));
    t[nextHandle] = c;
    return nextHandle;
}
void ReleaseHandle(uint32_t h) {
    if (h) handleTable().erase(h);
}
}  // namespace widgets_detail

TControl* ControlFromHandle(uint32_t handle) {
    auto& t = handleTable();
    auto it = t.find(handle);
    return it == t.end() ? nullptr : it->second;
}

void TControl::Impl::notifyGone(TControl* c) {
    Impl* d = c->d_.get();
    if (d->gone) return;
    d->gone = true;
    widgets_detail::ReleaseHandle(d->handle);
    d->handle = 0;
    if (c->IsForm()) widgets_detail::UnregisterForm(c);
    if (c == TControl::Capture()) TControl::ReleaseCapture();
}

// The window went away under the control (its parent's window was deleted,
// or a child form was closed for good).
void TControl::Impl::widgetGone(TControl* c) {
    Impl* d = c->d_.get();
    if (d->gone) return;
    TMsg msg;
    msg.Message = msgDestroy;
    c->Perform(msg);
    notifyGone(c);
    d->link = nullptr;
    if (c->OnDestroy) c->OnDestroy(*c);
}

TControl::TControl(TControlKind kind, TControl* parent)
    : kind_(kind), parent_(parent), d_(std::make_unique<Impl>()) {
    d_->serial = nextSerial++;
    if (parent_) parent_->children_.push_back(this);
    canvas_.Brush().SetColor(color_);
    font_.SetColor(clWindowText);
    font_.OnChange = [this] { applyFont(); };
}

TControl::~TControl() {
    font_.OnChange = nullptr;
    // Children outlive us as empty shells; they no longer have a parent.
    for (TControl* ch : children_) ch->parent_ = nullptr;
    children_.clear();
    if (parent_) {
        auto& sib = parent_->children_;
        sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
    }
    if (Applet() == this) SetApplet(nullptr);
    QWidget* w = d_->widget.data();
    TWidgetLink* link = d_->link;
    Impl::notifyGone(this);
    // Page areas are ours: free their objects (their windows go with ours).
    std::vector<TControl*> pages = std::move(d_->pages);
    for (TControl* p : pages) delete p;
    disposeWidget(w, link);
}

namespace {
// Signals of the standard controls become the click and change slots. The
// connections live as long as the window; the control is looked up through
// the link each time, as it may have gone first.
void fire(TWidgetLink* link, TControl::TNotify TControl::*slot) {
    TControl* c = link->Owner;
    if (!c || !(c->*slot)) return;
    auto copy = c->*slot;
    copy(*c);
}

void connectSignals(QWidget* w, TWidgetLink* link) {
    if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, b,
                         [link] { fire(link, &TControl::OnClick); });
    } else if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textChanged, e,
                         [link] { fire(link, &TControl::OnChange); });
    } else if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QObject::connect(m, &QPlainTextEdit::textChanged, m,
                         [link] { fire(link, &TControl::OnChange); });
    } else if (auto* t = dynamic_cast<QTabWidget*>(w)) {
        QObject::connect(t, &QTabWidget::currentChanged, t,
                         [link] { fire(link, &TControl::OnChange); });
    }
}
}  // namespace

void TControl::build(const TText& text) {
    QWidget* parentWidget = parent_ ? parent_->Widget() : nullptr;
    QWidget* w = nullptr;
    TWidgetLink* link = nullptr;
    auto make = [&](auto* bridged) {
        w = bridged;
        link = bridged;
    };
    const QString qtext = QString::fromUtf8(text.view().data(), qsizetype(text.size()));
    switch (kind_) {
        case TControlKind::Form: {
            // An owned form stays a window of its own (Qt::Window).
            make(new TBridge<TPlainWidget>(this, parentWidget, Qt::Window));
            // No system menu (close button) until the owner asks for one.
            style_ = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
            w->setWindowTitle(qtext);
            w->setAttribute(Qt::WA_QuitOnClose, false);
            break;
        }
        case TControlKind::Panel:
        case TControlKind::Custom:
        case TControlKind::TabPage:
        case TControlKind::Splitter:
            make(new TBridge<TPlainWidget>(this, parentWidget));
            w->setProperty("tabuloText", qtext);
            break;
        case TControlKind::Label: {
            auto* l = new TBridge<QLabel>(this, qtext, parentWidget);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setAutoFillBackground(true);
            make(l);
            break;
        }
        case TControlKind::Button:
            make(new TBridge<QPushButton>(this, qtext, parentWidget));
            style_ = WS_TABSTOP;
            break;
        case TControlKind::BitButton: {
            auto* b = new TBridge<TBitButtonWidget>(this, parentWidget);
            b->setText(qtext);
            b->setAttribute(Qt::WA_Hover, true);
            b->setMouseTracking(true);
            make(b);
            style_ = WS_TABSTOP;
            break;
        }
        case TControlKind::CheckBox: {
            auto* c = new TBridge<QCheckBox>(this, qtext, parentWidget);
            c->setAutoFillBackground(true);
            make(c);
            style_ = WS_TABSTOP;
            break;
        }
        case TControlKind::Edit: {
            auto* e = new TBridge<QLineEdit>(this, parentWidget);
            e->setText(qtext);
            make(e);
            style_ = WS_TABSTOP | WS_BORDER;
            break;
        }
        case TControlKind::Memo: {
            auto* m = new TBridge<QPlainTextEdit>(this, parentWidget);
            m->setPlainText(qtext);
            make(m);
            style_ = WS_TABSTOP | WS_BORDER;
            break;
        }
        case TControlKind::TabControl:
            make(new TBridge<TTabWidget>(this, parentWidget));
            style_ = WS_TABSTOP;
            break;
    }
    d_->widget = w;
    d_->link = link;
    connectSignals(w, link);
    d_->handle = widgets_detail::IssueHandle(this);
    if (!topLevel(kind_)) style_ |= WS_CHILD;
    w->setMouseTracking(true);
    // A mouse message belongs to the window under the pointer: one that the
    // control leaves unhandled is not offered to its parent as well.
    w->setAttribute(Qt::WA_NoMousePropagation, true);
    if (kind_ == TControlKind::TabControl || kind_ == TControlKind::Memo) {
        // Inner windows report their mouse moves too, and through their
        // control only: never once more by propagation to it.
        for (QWidget* inner : w->findChildren<QWidget*>()) {
            inner->setMouseTracking(true);
            inner->setAttribute(Qt::WA_NoMousePropagation, true);
        }
        if (auto* m = dynamic_cast<QPlainTextEdit*>(w))
            widgets_detail::ForwardInnerMouse(w, m->viewport(), link);
        if (auto* t = dynamic_cast<QTabWidget*>(w))
            widgets_detail::ForwardInnerMouse(w, t->tabBar(), link);
    }
    if (topLevel(kind_)) {
        widgets_detail::RegisterForm(this);
        color_ = clBtnFace;
    } else {
        if (parent_) color_ = parent_->color_;
        // Tab pages are shown and hidden by their tab strip.
        if (kind_ != TControlKind::TabPage) w->setVisible(true);
        style_ |= WS_VISIBLE;
    }
    canvas_.Brush().SetColor(color_);
    applyStyle();
    applyFont();  // sets the colours too
    if (parent_ && align_ != caNone) parent_->AlignChildren();
}

// ----- identity

uint32_t TControl::Handle() const {
    return d_->gone ? 0 : d_->handle;
}
void TControl::CreateWindow() {}
QWidget* TControl::Widget() const {
    return d_->gone ? nullptr : d_->widget.data();
}

void TControl::SetName(const std::string& name) {
    if (QWidget* w = Widget()) w->setObjectName(QString::fromStdString(name));
}
std::string TControl::Name() const {
    QWidget* w = Widget();
    return w ? w->objectName().toStdString() : std::string();
}

TControl* TControl::Child(int i) const {
    return i >= 0 && i < int(children_.size()) ? children_[std::size_t(i)] : nullptr;
}

TControl* TControl::ParentForm() {
    TControl* c = this;
    while (c && !c->IsForm()) c = c->parent_;
    return c;
}

TControl* TControl::FromWidget(const QWidget* w) {
    auto* link = dynamic_cast<const TWidgetLink*>(w);
    return link ? link->Owner : nullptr;
}

// ----- geometry

int TControl::Left() const {
    QWidget* w = Widget();
    return w ? w->x() : 0;
}
int TControl::Top() const {
    QWidget* w = Widget();
    return w ? w->y() : 0;
}
int TControl::Width() const {
    QWidget* w = Widget();
    return w ? w->width() : 0;
}
int TControl::Height() const {
    QWidget* w = Widget();
    return w ? w->height() : 0;
}

void TControl::SetPosition(int x, int y) {
    QWidget* w = Widget();
    if (!w) return;
    const bool hint = IsForm() && !w->testAttribute(Qt::WA_Moved);
    if (w->x() == x && w->y() == y && !hint) return;
    QPointer<QWidget> guard(w);
    const QPoint oldPos = w->pos();
    w->move(x, y);
    if (IsForm()) {
        // A form's position is a wish for the window manager (a position
        // hint; without one it places a new window where it likes, even one
        // already at the position asked for), and it is the frame's: the
        // frame's corner lands where asked, whatever the frame's size.
        if (QWindow* native = w->windowHandle()) native->setFramePosition(QPoint(x, y));
    }
    if (guard) flushGeometryEvents(w, oldPos, w->size());
}

void TControl::SetSize(int width, int height) {
    QWidget* w = Widget();
    if (!w) return;
    if (IsForm()) {
        // A zero size means "the platform's default".
        if (width <= 0) width = 640;
        if (height <= 0) height = 480;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == w->width() && height == w->height()) return;
    TMsg msg;
    msg.Message = msgSizeChanging;
    msg.NewWidth = width;
    msg.NewHeight = height;
    Perform(msg);
    if (!Widget()) return;
    width = std::max(msg.NewWidth, 0);
    height = std::max(msg.NewHeight, 0);
    QPointer<QWidget> guard(w);
    const QSize oldSize = w->size();
    if (IsForm() && !(style_ & WS_THICKFRAME)) {
        w->setFixedSize(width, height);
    } else {
        w->resize(width, height);
    }
    if (guard) flushGeometryEvents(w, w->pos(), oldSize);
}

TRect TControl::BoundsRect() const {
    return TRect{Left(), Top(), Left() + Width(), Top() + Height()};
}
void TControl::SetBoundsRect(const TRect& r) {
    SetPosition(r.Left, r.Top);
    SetSize(r.Width(), r.Height());
}
TRect TControl::ClientRect() const {
    return TRect{0, 0, Width(), Height()};
}
void TControl::SetClientSize(int w, int h) {
    SetSize(w, h);
}

TPoint TControl::ScreenToClient(TPoint p) const {
    QWidget* w = Widget();
    if (!w) return p;
    QPoint q = w->mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}
TPoint TControl::ClientToScreen(TPoint p) const {
    QWidget* w = Widget();
    if (!w) return p;
    QPoint q = w->mapToGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

void TControl::SetAlign(uint8_t a) {
    if (a > caClient) a = caNone;
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->AlignChildren();
}

void TControl::SetSpacing(int px) {
    spacing_ = std::max(px, 0);
    AlignChildren();
}

// Aligned children take their place in this order: top, bottom, left,
// right, then the one that fills what is left; within a kind, in creation
// order. Hidden children take no place.
void TControl::AlignChildren() {
    if (!Widget() || d_->aligning) return;
    d_->aligning = true;
    const int m = spacing_;
    TRect free{m, m, Width() - m, Height() - m};
    static const uint8_t order[] = {caTop, caBottom, caLeft, caRight, caClient};
    for (uint8_t kind : order) {
        for (TControl* ch : children_) {
            if (ch->align_ != kind || !ch->Widget() || !ch->Visible()) continue;
            if (ch->kind_ == TControlKind::TabPage) continue;
            int w = ch->Width(), h = ch->Height();
            TRect r;
            switch (kind) {
                case caTop:
                    r = {free.Left, free.Top, free.Right, free.Top + h};
                    free.Top += h + m;
                    break;
                case caBottom:
                    r = {free.Left, free.Bottom - h, free.Right, free.Bottom};
                    free.Bottom -= h + m;
                    break;
                case caLeft:
                    r = {free.Left, free.Top, free.Left + w, free.Bottom};
                    free.Left += w + m;
                    break;
                case caRight:
                    r = {free.Right - w, free.Top, free.Right, free.Bottom};
                    free.Right -= w + m;
                    break;
                default:
                    r = free;
                    break;
            }
            if (r.Right < r.Left) r.Right = r.Left;
            if (r.Bottom < r.Top) r.Bottom = r.Top;
            placeWidget(ch->Widget(), QRect(r.Left, r.Top, r.Width(), r.Height()));
        }
    }
    d_->aligning = false;
}

void TControl::BringToFront() {
    if (QWidget* w = Widget()) w->raise();
}
void TControl::SendToBack() {
    if (QWidget* w = Widget()) w->lower();
}

// ----- state

namespace {
// The text of a window that shows it as it was set (all but the memo).
QString shownText(TControlKind kind, const QWidget* w) {
    switch (kind) {
        case TControlKind::Form:
            return w->windowTitle();
        case TControlKind::Label:
            return static_cast<const QLabel*>(w)->text();
        case TControlKind::Button:
        case TControlKind::BitButton:
        case TControlKind::CheckBox:
            return static_cast<const QAbstractButton*>(w)->text();
        case TControlKind::Edit:
            return static_cast<const QLineEdit*>(w)->text();
        default:
            return w->property("tabuloText").toString();
    }
}
}  // namespace

TText TControl::Text() const {
    QWidget* w = Widget();
    if (!w) return TText();
    QString s;
    if (kind_ == TControlKind::Memo) {
        s = static_cast<QPlainTextEdit*>(w)->toPlainText();
        s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    } else {
        s = shownText(kind_, w);
    }
    QByteArray b = s.toUtf8();
    return TText(std::string_view(b.constData(), std::size_t(b.size())));
}

void TControl::SetText(const TText& text) {
    QWidget* w = Widget();
    if (!w) return;
    // A caption set to the text it shows changes nothing: no layout, no
    // repaint (pages refresh their captions on every mouse move). An edit
    // or memo is always set, since setting moves its cursor.
    if (kind_ != TControlKind::Edit && kind_ != TControlKind::Memo &&
        QAnyStringView::equal(shownText(kind_, w), QUtf8StringView(text.view())))
        return;
    QString s = QString::fromUtf8(text.view().data(), qsizetype(text.size()));
    switch (kind_) {
        case TControlKind::Form:
            w->setWindowTitle(s);
            break;
        case TControlKind::Label:
            static_cast<QLabel*>(w)->setText(s);
            break;
        case TControlKind::Button:
        case TControlKind::BitButton:
        case TControlKind::CheckBox:
            static_cast<QAbstractButton*>(w)->setText(s);
            w->update();
            break;
        case TControlKind::Edit:
            s.remove(QLatin1Char('\r'));
            s.replace(QLatin1Char('\n'), QLatin1Char(' '));
            static_cast<QLineEdit*>(w)->setText(s);
            break;
        case TControlKind::Memo:
            s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            static_cast<QPlainTextEdit*>(w)->setPlainText(s);
            break;
        default:
            w->setProperty("tabuloText", s);
            w->update();
            break;
    }
    if (!Widget()) return;
    TMsg msg;
    msg.Message = msgSetText;
    Perform(msg);
}

bool TControl::Visible() const {
    QWidget* w = Widget();
    return w && !w->isHidden();
}

void TControl::SetVisible(bool on) {
    QWidget* w = Widget();
    if (!w) return;
    if (on == !w->isHidden()) return;
    w->setVisible(on);
    if (parent_ && align_ != caNone) parent_->AlignChildren();
}

bool TControl::Enabled() const {
    QWidget* w = Widget();
    return w && w->isEnabled();
}
void TControl::SetEnabled(bool on) {
    if (QWidget* w = Widget()) w->setEnabled(on);
}
bool TControl::Focused() const {
    QWidget* w = Widget();
    return w && w->hasFocus();
}
void TControl::SetFocus() {
    if (QWidget* w = Widget()) w->setFocus(Qt::OtherFocusReason);
}

void TControl::SetColor(TColor c) {
    color_ = c;
    canvas_.Brush().SetColor(c);
    applyColors();
}

void TControl::SetParentColor(bool on) {
    parentColor_ = on;
    if (on && parent_) SetColor(parent_->color_);
}

void TControl::SetStyle(uint32_t style) {
    style_ = style;
    applyStyle();
}
void TControl::SetExStyle(uint32_t exStyle) {
    exStyle_ = exStyle;
    applyStyle();
}
void TControl::SetFlat(bool on) {
    SetStyle(on ? (style_ | BS_FLAT) : (style_ & ~uint32_t(BS_FLAT)));
}
void TControl::SetTabStop(bool on) {
    SetStyle(on ? (style_ | WS_TABSTOP) : (style_ & ~uint32_t(WS_TABSTOP)));
}

void TControl::SetTabOrder(int order) {
    tabOrder_ = order;
    TControl* form = ParentForm();
    if (!form) return;
    // Re-chain the tab stops of the form by (order, creation).
    std::vector<TControl*> stops;
    std::vector<TControl*> stack{form};
    while (!stack.empty()) {
        TControl* c = stack.back();
        stack.pop_back();
        for (TControl* ch : c->children_) {
            if (ch->IsForm()) continue;
            if (ch->Widget() && ch->TabStop()) stops.push_back(ch);
            stack.push_back(ch);
        }
        for (TControl* p : c->d_->pages) stack.push_back(p);
    }
    std::stable_sort(stops.begin(), stops.end(), [](TControl* a, TControl* b) {
        int ka = a->tabOrder_ > 0 ? a->tabOrder_ : INT32_MAX;
        int kb = b->tabOrder_ > 0 ? b->tabOrder_ : INT32_MAX;
        if (ka != kb) return ka < kb;
        return a->d_->serial < b->d_->serial;
    });
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1]->Widget(), stops[i]->Widget());
}

namespace {
constexpr int kIconSizeWithWindow = 64;
}  // namespace

void TControl::SetIcon(const TIcon* icon) {
    icon_ = icon;
    QWidget* w = Widget();
    if (!w) return;
    QIcon qi = icon ? icon->Icon() : QIcon();
    if (IsForm()) {
        d_->largeIcon = QIcon();
        if (!w->testAttribute(Qt::WA_WState_Created)) {
            // A window gets its icon converted for X as it is created, every
            // size of it: the large ones cost more than building the rest of
            // the main window. The window manager gets the sizes it draws
            // with the window, and the large ones right after its first paint.
            QIcon small;
            for (const QSize size : qi.availableSizes())
                if (size.width() <= kIconSizeWithWindow && size.height() <= kIconSizeWithWindow)
                    small.addPixmap(qi.pixmap(size));
            if (!small.isNull() && small.availableSizes().size() < qi.availableSizes().size()) {
                d_->largeIcon = qi;
                qi = small;
            }
        }
        w->setWindowIcon(qi);
    } else if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
        b->setIcon(qi);
    }
}

void TControl::SetCursor(int cursor) {
    cursor_ = cursor;
    QWidget* w = Widget();
    if (!w) return;
    if (cursor == crDefault) {
        w->unsetCursor();
    } else {
        w->setCursor(QCursor(Qt::CursorShape(widgets_detail::CursorShape(cursor))));
    }
}

bool TControl::Checked() const {
    auto* b = dynamic_cast<QAbstractButton*>(Widget());
    return b && b->isChecked();
}
void TControl::SetChecked(bool on) {
    auto* b = dynamic_cast<QAbstractButton*>(Widget());
    if (!b) return;
    if (!b->isCheckable()) b->setCheckable(true);
    b->setChecked(on);
}

void TControl::SetDefaultButton(bool on) {
    isDefault_ = on;
    if (auto* b = dynamic_cast<QPushButton*>(Widget())) b->setDefault(on);
}
void TControl::SetCancelButton(bool on) {
    isCancel_ = on;
}

int TControl::DrawState() const {
    auto* b = dynamic_cast<QAbstractButton*>(Widget());
    if (!b) return odsNormal;
    if (!b->isEnabled()) return odsDisabled;
    if (b->isDown() || b->isChecked()) return odsPressed;
    if (b->underMouse()) return odsHot;
    if (b->hasFocus()) return odsFocused;
    return odsNormal;
}

void TControl::SetTextAlign(uint8_t a) {
    if (a > taCenter) a = taLeft;
    textAlign_ = a;
    QWidget* w = Widget();
    if (!w) return;
    Qt::Alignment h = a == taRight    ? Qt::AlignRight
                      : a == taCenter ? Qt::AlignHCenter
                                      : Qt::AlignLeft;
    if (auto* l = dynamic_cast<QLabel*>(w)) {
        l->setAlignment(h | Qt::AlignTop);
    } else if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        e->setAlignment(h | Qt::AlignVCenter);
    } else if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QTextOption o = m->document()->defaultTextOption();
        o.setAlignment(h);
        m->document()->setDefaultTextOption(o);
    } else {
        w->update();
    }
}

void TControl::SetWordWrap(bool on) {
    if (auto* l = dynamic_cast<QLabel*>(Widget())) l->setWordWrap(on);
}

void TControl::AutoSizeToText() {
    QWidget* w = Widget();
    if (!w) return;
    QFontMetrics fm(w->font());
    QString s = QString::fromUtf8(Text().c_str());
    QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, s);
    int extra = (style_ & WS_BORDER) ? 2 : 0;
    SetSize(r.width() + extra, std::max(r.height(), fm.height()) + extra);
}

// ----- painting

void TControl::Invalidate() {
    if (QWidget* w = Widget()) w->update();
}
void TControl::Update() {
    if (QWidget* w = Widget()) w->repaint();
}

// ----- mouse

namespace {
QPointer<QWidget> captureWidget;
TControl* captureControl = nullptr;
}  // namespace

void TControl::SetCapture() {
    QWidget* w = Widget();
    if (!w) return;
    ReleaseCapture();
    captureControl = this;
    captureWidget = w;
    if (w->isVisible()) w->grabMouse();
}
void TControl::ReleaseCapture() {
    if (captureWidget) captureWidget->releaseMouse();
    captureWidget = nullptr;
    captureControl = nullptr;
}
TControl* TControl::Capture() {
    return captureWidget ? captureControl : nullptr;
}

bool TControl::MouseInside() const {
    QWidget* w = Widget();
    return w && w->rect().contains(w->mapFromGlobal(QCursor::pos()));
}

void TControl::SetAcceptDrops(bool on) {
    exStyle_ = on ? (exStyle_ | WS_EX_ACCEPTFILES) : (exStyle_ & ~uint32_t(WS_EX_ACCEPTFILES));
    if (QWidget* w = Widget()) w->setAcceptDrops(on);
}

void TControl::SetOpaquePaint(bool on) {
    if (QWidget* w = Widget()) w->setAttribute(Qt::WA_OpaquePaintEvent, on);
}

// ----- message hook

TMessageHook TControl::SetMessageHook(TMessageHook hook) {
    TMessageHook previous = std::move(hook_);
    hook_ = std::move(hook);
    return previous;
}

bool TControl::Perform(TMsg& msg) {
    if (widgets_detail::ApplicationHooks(*this, msg)) return true;
    if (!hook_) return false;
    // A hook may replace itself while it runs: call a copy.
    TMessageHook hook = hook_;
    return hook(*this, msg);
}

// ----- constructors

TControl* NewForm(TControl* parent, const TText& caption) {
    auto* c = new TControl(TControlKind::Form, parent);
    c->build(caption);
    if (!Applet()) SetApplet(c);
    return c;
}

TControl* NewPanel(TControl* parent, const TText& caption, uint8_t vAlign, uint8_t hAlign,
                   int16_t value1, int16_t value2) {
    auto* c = new TControl(TControlKind::Panel, parent);
    c->panelData_ = std::make_unique<TmdvPanelData>();
    c->panelData_->VAlign = vAlign;
    c->panelData_->HAlign = hAlign;
    c->panelData_->Value1 = value1;
    c->panelData_->Value2 = value2;
    c->build(caption);
    return c;
}

TControl* NewControl(TControl* parent) {
    auto* c = new TControl(TControlKind::Custom, parent);
    c->build(TText());
    return c;
}

TControl* NewLabel(TControl* parent, const TText& caption) {
    auto* c = new TControl(TControlKind::Label, parent);
    c->build(caption);
    return c;
}

TControl* NewButton(TControl* parent, const TText& caption) {
    auto* c = new TControl(TControlKind::Button, parent);
    c->build(caption);
    return c;
}

TControl* NewBitButton(TControl* parent, const TText& caption) {
    auto* c = new TControl(TControlKind::BitButton, parent);
    c->build(caption);
    return c;
}

TControl* NewCheckBox(TControl* parent, const TText& caption) {
    auto* c = new TControl(TControlKind::CheckBox, parent);
    c->build(caption);
    return c;
}

TControl* NewEdit(TControl* parent, uint32_t options) {
    auto* c =
        new TControl((options & eoMultiline) ? TControlKind::Memo : TControlKind::Edit, parent);
    c->editOptions_ = options;
    c->build(TText());
    c->applyEditOptions();
    return c;
}

TControl* NewTabControl(TControl* parent, bool buttons) {
    auto* c = new TControl(TControlKind::TabControl, parent);
    c->build(TText());
    if (auto* t = dynamic_cast<QTabWidget*>(c->Widget())) t->setDocumentMode(buttons);
    return c;
}

TControl* NewSplitter(TControl* parent, int minPrev, int minNext) {
    auto* c = new TControl(TControlKind::Splitter, parent);
    c->d_->minPrev = minPrev;
    c->d_->minNext = minNext;
    c->build(TText());
    c->SetSize(4, 4);
    return c;
}
