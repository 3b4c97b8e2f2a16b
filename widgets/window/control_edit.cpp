// The edit boxes: single-line (TEditControl) and multi-line (TMemoControl).

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "control_edit.h"

using widgets_detail::FromQString;
using widgets_detail::ToQString;

namespace {
Qt::Alignment horizontal(uint8_t textAlign) {
    return textAlign == taRight    ? Qt::AlignRight
           : textAlign == taCenter ? Qt::AlignHCenter
                                   : Qt::AlignLeft;
}

// A change of the text runs the change slot (looked up through the link:
// the control may have gone first).
void fireChange(TWidgetLink* link) {
    TControl* c = link->Owner;
    if (!c || !c->OnChange) return;
    auto copy = c->OnChange;
    copy(*c);
}
}  // namespace

// ----- single line

TEditControl::TEditControl(TControl* parent, uint32_t options)
    : TControl(TControlKind::Edit, parent) {
    auto* e = new TBridge<QLineEdit>(this, parent ? parent->Widget() : nullptr);
    QObject::connect(e, &QLineEdit::textChanged, e, [e] { fireChange(e); });
    editOptions_ = options;
    style_ = WS_TABSTOP | WS_BORDER;
    adopt(e, e);
    e->setEchoMode((options & eoPassword) ? QLineEdit::Password : QLineEdit::Normal);
    e->setReadOnly(options & eoReadonly);
    if (options & eoNumber)
        e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
    if (options & (eoUpperCase | eoLowercase)) {
        const bool upper = options & eoUpperCase;
        QObject::connect(e, &QLineEdit::textEdited, e, [e, upper](const QString& s) {
            QString t = upper ? s.toUpper() : s.toLower();
            if (t != s) {
                int pos = e->cursorPosition();
                e->setText(t);
                e->setCursorPosition(pos);
            }
        });
    }
}

QLineEdit* TEditControl::edit() const {
    return static_cast<QLineEdit*>(Widget());
}

QString TEditControl::shownText() const {
    return edit()->text();
}

bool TEditControl::showText(std::string_view utf8) {
    // Always set, even to the same text: setting moves the cursor.
    QString s = ToQString(utf8);
    s.remove(QLatin1Char('\r'));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    edit()->setText(s);
    return true;
}

void TEditControl::applyTextAlign() {
    edit()->setAlignment(horizontal(TextAlign()) | Qt::AlignVCenter);
}

void TEditControl::applyKindStyle() {
    edit()->setFrame((style_ & WS_BORDER) || (exStyle_ & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
}

bool TEditControl::ReadOnly() const {
    QLineEdit* e = edit();
    return e && e->isReadOnly();
}

void TEditControl::SetReadOnly(bool on) {
    TControl::SetReadOnly(on);
    if (QLineEdit* e = edit()) e->setReadOnly(on);
}

TText TEditControl::Line(int i) const {
    QLineEdit* e = edit();
    return e && i == 0 ? FromQString(e->text()) : TText();
}

int TEditControl::SelStart() const {
    QLineEdit* e = edit();
    if (!e) return 0;
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

int TEditControl::SelLength() const {
    QLineEdit* e = edit();
    return e ? int(e->selectedText().size()) : 0;
}

void TEditControl::SetSelection(int start, int length) {
    QLineEdit* e = edit();
    if (!e) return;
    const int n = int(e->text().size());
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    if (length == 0)
        e->setCursorPosition(start);
    else
        e->setSelection(start, length);
}

TText TEditControl::SelText() const {
    QLineEdit* e = edit();
    return e ? FromQString(e->selectedText()) : TText();
}

void TEditControl::ReplaceSelection(const TText& text) {
    if (QLineEdit* e = edit()) e->insert(ToQString(text.view()));
}

// ----- multi-line

TMemoControl::TMemoControl(TControl* parent, uint32_t options)
    : TControl(TControlKind::Memo, parent) {
    auto* m = new TBridge<QPlainTextEdit>(this, parent ? parent->Widget() : nullptr);
    QObject::connect(m, &QPlainTextEdit::textChanged, m, [m] { fireChange(m); });
    // Inner windows report their mouse moves too, and through their control
    // only: never once more by propagation to it.
    for (QWidget* inner : m->findChildren<QWidget*>()) {
        inner->setMouseTracking(true);
        inner->setAttribute(Qt::WA_NoMousePropagation, true);
    }
    widgets_detail::ForwardInnerMouse(m, m->viewport(), m);
    editOptions_ = options;
    style_ = WS_TABSTOP | WS_BORDER;
    adopt(m, m);
    m->setReadOnly(options & eoReadonly);
    // Without horizontal scrolling the lines wrap at the window's width.
    m->setLineWrapMode((options & eoNoHScroll) ? QPlainTextEdit::WidgetWidth
                                               : QPlainTextEdit::NoWrap);
    m->setHorizontalScrollBarPolicy((options & eoNoHScroll) ? Qt::ScrollBarAlwaysOff
                                                            : Qt::ScrollBarAsNeeded);
    m->setVerticalScrollBarPolicy((options & eoNoVScroll) ? Qt::ScrollBarAlwaysOff
                                                          : Qt::ScrollBarAlwaysOn);
    m->setTabChangesFocus(!(options & eoWantTab));
    for (QWidget* inner : m->findChildren<QWidget*>()) inner->setMouseTracking(true);
}

QPlainTextEdit* TMemoControl::memo() const {
    return static_cast<QPlainTextEdit*>(Widget());
}

QString TMemoControl::shownText() const {
    QString s = memo()->toPlainText();
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

bool TMemoControl::showText(std::string_view utf8) {
    // Always set, even to the same text: setting moves the cursor.
    QString s = ToQString(utf8);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo()->setPlainText(s);
    return true;
}

void TMemoControl::applyTextAlign() {
    QPlainTextEdit* m = memo();
    QTextOption o = m->document()->defaultTextOption();
    o.setAlignment(horizontal(TextAlign()));
    m->document()->setDefaultTextOption(o);
}

void TMemoControl::applyKindStyle() {
    widgets_detail::SetFrameShape(memo(), style_, exStyle_);
}

bool TMemoControl::ReadOnly() const {
    QPlainTextEdit* m = memo();
    return m && m->isReadOnly();
}

void TMemoControl::SetReadOnly(bool on) {
    TControl::SetReadOnly(on);
    if (QPlainTextEdit* m = memo()) m->setReadOnly(on);
}

int TMemoControl::LineCount() const {
    QPlainTextEdit* m = memo();
    return m ? m->document()->blockCount() : 0;
}

TText TMemoControl::Line(int i) const {
    QPlainTextEdit* m = memo();
    if (!m) return TText();
    QTextBlock b = m->document()->findBlockByNumber(i);
    return b.isValid() ? FromQString(b.text()) : TText();
}

int TMemoControl::LineStart(int i) const {
    QPlainTextEdit* m = memo();
    if (!m) return -1;
    QTextBlock b = m->document()->findBlockByNumber(i);
    return b.isValid() ? b.position() : -1;
}

int TMemoControl::SelStart() const {
    QPlainTextEdit* m = memo();
    return m ? m->textCursor().selectionStart() : 0;
}

int TMemoControl::SelLength() const {
    QPlainTextEdit* m = memo();
    if (!m) return 0;
    QTextCursor c = m->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMemoControl::SetSelection(int start, int length) {
    QPlainTextEdit* m = memo();
    if (!m) return;
    QTextCursor c(m->document());
    const int n = m->document()->characterCount() - 1;
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    m->setTextCursor(c);
}

TText TMemoControl::SelText() const {
    QPlainTextEdit* m = memo();
    if (!m) return TText();
    QString s = m->textCursor().selectedText();
    s.replace(QChar(0x2029), QStringLiteral("\r\n"));
    return FromQString(s);
}

void TMemoControl::ReplaceSelection(const TText& text) {
    QPlainTextEdit* m = memo();
    if (!m) return;
    QString s = ToQString(text.view());
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor c = m->textCursor();
    c.insertText(s);
    m->setTextCursor(c);
}

// ----- every kind: redraw off around many changes

int TControl::TextLength() const {
    return int(Text().size());
}

void TControl::BeginUpdate() {
    QWidget* w = Widget();
    if (!w) return;
    if (d_->updateDepth++ == 0) w->setUpdatesEnabled(false);
}

void TControl::EndUpdate() {
    QWidget* w = Widget();
    if (!w || d_->updateDepth == 0) return;
    if (--d_->updateDepth == 0) {
        w->setUpdatesEnabled(true);
        w->update();
    }
}
