// TControl: construction, the handle table, geometry, alignment and state.

#include "tabulo/widgets/control.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "control_kinds.h"
#include "tabulo/widgets/application.h"

namespace {
std::unordered_map<uint32_t, TControl*>& handleTable() {
    static std::unordered_map<uint32_t, TControl*> table;
    return table;
}
uint32_t nextHandle = 0x100;
uint64_t nextSerial = 1;

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
    disposeWidget(w, link);
}

void TControl::adopt(QWidget* w, TWidgetLink* link) {
    d_->widget = w;
    d_->link = link;
    d_->handle = widgets_detail::IssueHandle(this);
    if (!IsForm()) style_ |= WS_CHILD;
    w->setMouseTracking(true);
    // A mouse message belongs to the window under the pointer: one that the
    // control leaves unhandled is not offered to its parent as well.
    w->setAttribute(Qt::WA_NoMousePropagation, true);
    if (IsForm()) {
        widgets_detail::RegisterForm(this);
        color_ = clBtnFace;
    } else {
        if (parent_) color_ = parent_->color_;
        // Tab pages are shown and hidden by their tab strip.
        if (PlacedByAlignment()) w->setVisible(true);
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
    for (uint8_t side : order) {
        for (TControl* ch : children_) {
            if (ch->align_ != side || !ch->Widget() || !ch->Visible()) continue;
            if (!ch->PlacedByAlignment()) continue;
            int w = ch->Width(), h = ch->Height();
            TRect r;
            switch (side) {
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

QString TControl::shownText() const {
    QWidget* w = Widget();
    return w ? w->property("tabuloText").toString() : QString();
}

bool TControl::showText(std::string_view utf8) {
    QWidget* w = Widget();
    if (QAnyStringView::equal(shownText(), QUtf8StringView(utf8))) return false;
    w->setProperty("tabuloText", widgets_detail::ToQString(utf8));
    w->update();
    return true;
}

TText TControl::Text() const {
    return Widget() ? widgets_detail::FromQString(shownText()) : TText();
}

void TControl::SetText(const TText& text) {
    // A caption set to the text it shows changes nothing: no layout, no
    // repaint (pages refresh their captions on every mouse move).
    if (!Widget() || !showText(text.view()) || !Widget()) return;
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
        for (int i = 0; i < c->TabCount(); ++i) stack.push_back(c->TabPage(i));
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

void TControl::SetIcon(const TIcon* icon) {
    icon_ = icon;
    if (Widget()) applyIcon();
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
    QAbstractButton* b = button();
    return b && b->isChecked();
}
void TControl::SetChecked(bool on) {
    QAbstractButton* b = button();
    if (!b) return;
    if (!b->isCheckable()) b->setCheckable(true);
    b->setChecked(on);
}

void TControl::SetDefaultButton(bool on) {
    isDefault_ = on;
    applyDefault();
}
void TControl::SetCancelButton(bool on) {
    isCancel_ = on;
}

int TControl::DrawState() const {
    QAbstractButton* b = button();
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
    if (Widget()) applyTextAlign();
}
void TControl::applyTextAlign() {
    Widget()->update();
}

void TControl::SetWordWrap(bool) {}

void TControl::SetReadOnly(bool on) {
    editOptions_ = on ? (editOptions_ | eoReadonly) : (editOptions_ & ~uint32_t(eoReadonly));
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
