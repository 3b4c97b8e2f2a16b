// The plain windows and the label, and the New... functions of every kind.

#include "control_kinds.h"

#include "control_buttons.h"
#include "control_edit.h"
#include "control_form.h"
#include "control_tabs.h"

#include <QFrame>
#include <QLabel>

#include "tabulo/widgets/application.h"

namespace widgets_detail {

void SetFrameShape(QWidget* frame, uint32_t style, uint32_t ex) {
    auto* f = static_cast<QFrame*>(frame);
    if (ex & WS_EX_CLIENTEDGE) {
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setLineWidth(2);
    } else if (ex & WS_EX_STATICEDGE) {
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setLineWidth(1);
    } else if (style & WS_BORDER) {
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
        f->setLineWidth(1);
    } else {
        f->setFrameStyle(QFrame::NoFrame);
    }
}

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

TText FromQString(const QString& s) {
    QByteArray b = s.toUtf8();
    return TText(std::string_view(b.constData(), std::size_t(b.size())));
}

}  // namespace widgets_detail

using widgets_detail::ToQString;

namespace {
QWidget* windowOf(TControl* parent) {
    return parent ? parent->Widget() : nullptr;
}

}  // namespace

// ----- plain windows

TPlainControl::TPlainControl(TControl* parent, const TText& text, TControlKind kind)
    : TControl(kind, parent) {
    auto* w = new TBridge<TPlainWidget>(this, windowOf(parent));
    w->setProperty("tabuloText", ToQString(text.view()));
    adopt(w, w);
}

namespace {
std::unique_ptr<TmdvPanelData> copyOf(const TmdvPanelData& layout) {
    auto d = std::make_unique<TmdvPanelData>();
    d->VAlign = layout.VAlign;
    d->HAlign = layout.HAlign;
    d->Value1 = layout.Value1;
    d->Value2 = layout.Value2;
    return d;
}
}  // namespace

TPanelControl::TPanelControl(TControl* parent, const TText& caption, const TmdvPanelData& layout)
    : TPlainControl(parent, caption, TControlKind::Panel), data_(copyOf(layout)) {}

void TPanelControl::DrawCaption(TCanvas& canvas, const TRect& r) {
    TText text = Text();
    if (text.empty()) return;
    uint32_t flags = dtSingleLine;
    flags |= data_->HAlign == 1 ? dtCenter : data_->HAlign == 2 ? dtRight : dtLeft;
    flags |= data_->VAlign == 1 ? dtVCenter : data_->VAlign == 2 ? dtBottom : dtTop;
    TRect box = r;
    canvas.Font().Assign(Font());
    canvas.DrawText(text.view(), box, flags);
}

void TPanelControl::LookChanged() {
    // The caption is placed by the size and drawn by the enabled state.
    if (QWidget* w = Widget()) w->update();
}

TSplitterControl::TSplitterControl(TControl* parent, int minPrev, int minNext)
    : TPlainControl(parent, TText(), TControlKind::Splitter), minPrev_(minPrev), minNext_(minNext) {
    SetSize(4, 4);
}

void TSplitterControl::MouseHandled(const TMsg& msg, TPoint screenPos) {
    const bool vertical = Align() == caLeft || Align() == caRight;
    const int pos = vertical ? screenPos.X : screenPos.Y;
    if (msg.Message == msgMouseDown && msg.Mouse.Button == 1) drag(pos, true);
    if (msg.Message == msgMouseMove && (msg.Mouse.Shift & mkLButton)) drag(pos, false);
    if (msg.Message == msgMouseUp) dragging_ = false;
}

void TSplitterControl::drag(int pos, bool start) {
    TControl* parent = Parent();
    if (!parent) return;
    // The aligned sibling just before the splitter, with the same alignment.
    TControl* prev = nullptr;
    for (TControl* s : parent->Children()) {
        if (s == this) break;
        if (s->Align() == Align() && s->Visible()) prev = s;
    }
    if (!prev) return;
    const bool vertical = Align() == caLeft || Align() == caRight;
    if (start) {
        dragging_ = true;
        dragStart_ = pos;
        dragOrigSize_ = vertical ? prev->Width() : prev->Height();
        return;
    }
    if (!dragging_) return;
    int delta = pos - dragStart_;
    if (Align() == caRight || Align() == caBottom) delta = -delta;
    int total = vertical ? parent->ClientWidth() : parent->ClientHeight();
    int size = std::max(dragOrigSize_ + delta, minPrev_);
    size = std::min(size, std::max(total - minNext_ - (vertical ? Width() : Height()), minPrev_));
    if (vertical)
        prev->SetWidth(size);
    else
        prev->SetHeight(size);
    parent->AlignChildren();
}

// ----- labels

TLabelControl::TLabelControl(TControl* parent, const TText& caption)
    : TControl(TControlKind::Label, parent) {
    auto* l = new TBridge<QLabel>(this, ToQString(caption.view()), windowOf(parent));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setAutoFillBackground(true);
    adopt(l, l);
}

QLabel* TLabelControl::label() const {
    return static_cast<QLabel*>(Widget());
}

QString TLabelControl::shownText() const {
    return label()->text();
}

bool TLabelControl::showText(std::string_view utf8) {
    if (QAnyStringView::equal(shownText(), QUtf8StringView(utf8))) return false;
    label()->setText(ToQString(utf8));
    return true;
}

void TLabelControl::SetWordWrap(bool on) {
    if (QLabel* l = label()) l->setWordWrap(on);
}

void TLabelControl::applyTextAlign() {
    const uint8_t a = TextAlign();
    const Qt::Alignment h = a == taRight    ? Qt::AlignRight
                            : a == taCenter ? Qt::AlignHCenter
                                            : Qt::AlignLeft;
    label()->setAlignment(h | Qt::AlignTop);
}

void TLabelControl::applyKindStyle() {
    widgets_detail::SetFrameShape(label(), style_, exStyle_);
}

// ----- constructors

TControl* NewForm(TControl* parent, const TText& caption) {
    auto* c = new TFormControl(parent, caption);
    if (!Applet()) SetApplet(c);
    return c;
}

TControl* NewPanel(TControl* parent, const TText& caption, uint8_t vAlign, uint8_t hAlign,
                   int16_t value1, int16_t value2) {
    TmdvPanelData layout;
    layout.VAlign = vAlign;
    layout.HAlign = hAlign;
    layout.Value1 = value1;
    layout.Value2 = value2;
    return new TPanelControl(parent, caption, layout);
}

TControl* NewControl(TControl* parent) {
    return new TPlainControl(parent, TText());
}

TControl* NewLabel(TControl* parent, const TText& caption) {
    return new TLabelControl(parent, caption);
}

TControl* NewButton(TControl* parent, const TText& caption) {
    return new TPushButtonControl(parent, caption);
}

TControl* NewBitButton(TControl* parent, const TText& caption) {
    return new TBitButtonControl(parent, caption);
}

TControl* NewCheckBox(TControl* parent, const TText& caption) {
    return new TCheckBoxControl(parent, caption);
}

TControl* NewEdit(TControl* parent, uint32_t options) {
    if (options & eoMultiline) return new TMemoControl(parent, options);
    return new TEditControl(parent, options);
}

TControl* NewTabControl(TControl* parent, bool buttons) {
    return new TTabControl(parent, buttons);
}

TControl* NewSplitter(TControl* parent, int minPrev, int minNext) {
    return new TSplitterControl(parent, minPrev, minNext);
}
