// The button kinds: push button, owner-drawn bit button, check box.

#include "control_buttons.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>

#include "tabulo/widgets/icon.h"

using widgets_detail::ToQString;

namespace {
QWidget* windowOf(TControl* parent) {
    return parent ? parent->Widget() : nullptr;
}

// A signal of a standard control runs a slot. The connection lives as long
// as the window; the control is looked up through the link each time, as it
// may have gone first.
void fire(TWidgetLink* link, TControl::TNotify TControl::*slot) {
    TControl* c = link->Owner;
    if (!c || !(c->*slot)) return;
    auto copy = c->*slot;
    copy(*c);
}
}  // namespace

// ----- buttons

QAbstractButton* TButtonControl::button() const {
    return static_cast<QAbstractButton*>(Widget());
}

QString TButtonControl::shownText() const {
    return button()->text();
}

bool TButtonControl::showText(std::string_view utf8) {
    if (QAnyStringView::equal(shownText(), QUtf8StringView(utf8))) return false;
    button()->setText(ToQString(utf8));
    button()->update();
    return true;
}

void TButtonControl::applyIcon() {
    button()->setIcon(Icon() ? Icon()->Icon() : QIcon());
}

namespace {
// A button reports its clicks through the click slot.
template <class Button>
Button* clicking(Button* b) {
    QObject::connect(b, &QAbstractButton::clicked, b, [b] { fire(b, &TControl::OnClick); });
    return b;
}
}  // namespace

TPushButtonControl::TPushButtonControl(TControl* parent, const TText& caption)
    : TButtonControl(TControlKind::Button, parent) {
    auto* b = clicking(new TBridge<QPushButton>(this, ToQString(caption.view()), windowOf(parent)));
    style_ = WS_TABSTOP;
    adopt(b, b);
}

void TPushButtonControl::applyDefault() {
    if (auto* b = static_cast<QPushButton*>(Widget())) b->setDefault(DefaultButton());
}

void TPushButtonControl::applyKindStyle() {
    static_cast<QPushButton*>(Widget())->setFlat(style_ & BS_FLAT);
}

TBitButtonControl::TBitButtonControl(TControl* parent, const TText& caption)
    : TButtonControl(TControlKind::BitButton, parent) {
    auto* b = clicking(new TBridge<TBitButtonWidget>(this, windowOf(parent)));
    b->setText(ToQString(caption.view()));
    b->setAttribute(Qt::WA_Hover, true);
    style_ = WS_TABSTOP;
    adopt(b, b);
}

void TBitButtonControl::DrawDefaultLook(TCanvas& canvas, const TRect& rect, int state) {
    canvas.FillRect(rect, Color());
    TRect r = rect;
    canvas.DrawEdge(r, state == odsPressed ? edgeSunken : edgeRaised, bfRect);
    TRect t = rect;
    if (state == odsPressed) {
        t.Left += TextShift().X;
        t.Top += TextShift().Y;
        t.Right += TextShift().X;
        t.Bottom += TextShift().Y;
    }
    canvas.Font().Assign(Font());
    if (state == odsDisabled) canvas.Font().SetColor(clGrayText);
    canvas.DrawText(Text().view(), t, dtCenter | dtVCenter | dtSingleLine);
}

void TBitButtonControl::HoverChanged() {
    // The hot look follows the pointer.
    if (QWidget* w = Widget()) w->update();
}

void TBitButtonWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click counts as another press, unless the toolkit already sent
    // the press of this second click.
    if (isDown()) {
        e->accept();
        return;
    }
    mousePressEvent(e);
}

TCheckBoxControl::TCheckBoxControl(TControl* parent, const TText& caption)
    : TButtonControl(TControlKind::CheckBox, parent) {
    auto* c = clicking(new TBridge<QCheckBox>(this, ToQString(caption.view()), windowOf(parent)));
    c->setAutoFillBackground(true);
    style_ = WS_TABSTOP;
    adopt(c, c);
}
