// TControl: edit boxes and the tab strip.

#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>

#include "control_impl.h"

namespace {
QString toQ(const TText& t) {
    return QString::fromUtf8(t.view().data(), qsizetype(t.size()));
}
TText fromQ(const QString& s) {
    QByteArray b = s.toUtf8();
    return TText(std::string_view(b.constData(), std::size_t(b.size())));
}
}  // namespace

void TControl::applyEditOptions() {
    QWidget* w = Widget();
    const uint32_t o = editOptions_;
    if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        e->setEchoMode((o & eoPassword) ? QLineEdit::Password : QLineEdit::Normal);
        e->setReadOnly(o & eoReadonly);
        if (o & eoNumber)
            e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
        if (o & (eoUpperCase | eoLowercase)) {
            const bool upper = o & eoUpperCase;
            QObject::connect(e, &QLineEdit::textEdited, e, [e, upper](const QString& s) {
                QString t = upper ? s.toUpper() : s.toLower();
                if (t != s) {
                    int pos = e->cursorPosition();
                    e->setText(t);
                    e->setCursorPosition(pos);
                }
            });
        }

    } else if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        m->setReadOnly(o & eoReadonly);
        // Without horizontal scrolling the lines wrap at the window's width.
        m->setLineWrapMode((o & eoNoHScroll) ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
        m->setHorizontalScrollBarPolicy((o & eoNoHScroll) ? Qt::ScrollBarAlwaysOff
                                                          : Qt::ScrollBarAsNeeded);
        m->setVerticalScrollBarPolicy((o & eoNoVScroll) ? Qt::ScrollBarAlwaysOff
                                                        : Qt::ScrollBarAlwaysOn);
        m->setTabChangesFocus(!(o & eoWantTab));
        for (QWidget* inner : m->findChildren<QWidget*>()) inner->setMouseTracking(true);
    }
}

bool TControl::ReadOnly() const {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) return e->isReadOnly();
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) return m->isReadOnly();
    return false;
}

void TControl::SetReadOnly(bool on) {
    editOptions_ = on ? (editOptions_ | eoReadonly) : (editOptions_ & ~uint32_t(eoReadonly));
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) e->setReadOnly(on);
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        m->setReadOnly(on);
    }
}

int TControl::LineCount() const {
    QWidget* w = Widget();
    if (dynamic_cast<QLineEdit*>(w)) return 1;
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) return m->document()->blockCount();
    return 0;
}

TText TControl::Line(int i) const {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) return i == 0 ? fromQ(e->text()) : TText();
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QTextBlock b = m->document()->findBlockByNumber(i);
        return b.isValid() ? fromQ(b.text()) : TText();
    }
    return TText();
}

int TControl::LineStart(int i) const {
    QWidget* w = Widget();
    if (dynamic_cast<QLineEdit*>(w)) return i == 0 ? 0 : -1;
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QTextBlock b = m->document()->findBlockByNumber(i);
        return b.isValid() ? b.position() : -1;
    }
    return -1;
}

int TControl::SelStart() const {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w))
        return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) return m->textCursor().selectionStart();
    return 0;
}

int TControl::SelLength() const {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) return int(e->selectedText().size());
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QTextCursor c = m->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return 0;
}

void TControl::SetSelection(int start, int length) {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        const int n = int(e->text().size());
        start = std::clamp(start, 0, n);
        length = std::clamp(length, 0, n - start);
        if (length == 0)
            e->setCursorPosition(start);
        else
            e->setSelection(start, length);
    } else if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QTextCursor c(m->document());
        const int n = m->document()->characterCount() - 1;
        start = std::clamp(start, 0, n);
        length = std::clamp(length, 0, n - start);
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

TText TControl::SelText() const {
    QWidget* w = Widget();
    if (auto* e = dynamic_cast<QLineEdit*>(w)) return fromQ(e->selectedText());
    if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        QString s = m->textCursor().selectedText();
        s.replace(QChar(0x2029), QStringLiteral("\r\n"));
        return fromQ(s);
    }
    return TText();
}

void TControl::ReplaceSelection(const TText& text) {
    QWidget* w = Widget();
    QString s = toQ(text);
    if (auto* e = dynamic_cast<QLineEdit*>(w)) {
        e->insert(s);
    } else if (auto* m = dynamic_cast<QPlainTextEdit*>(w)) {
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTextCursor c = m->textCursor();
        c.insertText(s);
        m->setTextCursor(c);
    }
}

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

// ----- tab strip

namespace {
QTabWidget* tabsOf(const TControl* c) {
    return dynamic_cast<QTabWidget*>(c->Widget());
}
}  // namespace

TControl* TControl::AddTab(const TText& text) {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs) return nullptr;
    auto* page = new TControl(TControlKind::TabPage, this);
    page->build(TText());
    d_->pages.push_back(page);
    d_->tabImages.push_back(-1);
    tabs->addTab(page->Widget(), toQ(text));
    return page;
}

int TControl::TabCount() const {
    QTabWidget* tabs = tabsOf(this);
    return tabs ? tabs->count() : 0;
}

TControl* TControl::TabPage(int i) const {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs || i < 0 || i >= tabs->count()) return nullptr;
    return FromWidget(tabs->widget(i));
}

int TControl::TabIndexOfPage(const TControl* page) const {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs || !page || !page->Widget()) return -1;
    return tabs->indexOf(page->Widget());
}

TText TControl::TabText(int i) const {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs || i < 0 || i >= tabs->count()) return TText();
    return fromQ(tabs->tabText(i));
}

void TControl::SetTabText(int i, const TText& text) {
    QTabWidget* tabs = tabsOf(this);
    if (tabs && i >= 0 && i < tabs->count()) tabs->setTabText(i, toQ(text));
}

void TControl::SetTabImage(int i, int imageIndex) {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs || i < 0 || i >= tabs->count()) return;
    // Tabs carry no image list; the index is kept for the owner.
    if (TControl* page = TabPage(i)) {
        for (std::size_t k = 0; k < d_->pages.size(); ++k)
            if (d_->pages[k] == page) d_->tabImages[k] = imageIndex;
    }
}

int TControl::TabImage(int i) const {
    TControl* page = TabPage(i);
    for (std::size_t k = 0; k < d_->pages.size(); ++k)
        if (page && d_->pages[k] == page) return d_->tabImages[k];
    return -1;
}

void TControl::DeleteTab(int i) {
    QTabWidget* tabs = tabsOf(this);
    if (!tabs || i < 0 || i >= tabs->count()) return;
    TControl* page = TabPage(i);
    tabs->removeTab(i);
    for (std::size_t k = 0; k < d_->pages.size(); ++k) {
        if (d_->pages[k] == page) {
            d_->pages.erase(d_->pages.begin() + std::ptrdiff_t(k));
            d_->tabImages.erase(d_->tabImages.begin() + std::ptrdiff_t(k));
            break;
        }
    }
    delete page;
}

int TControl::CurrentTab() const {
    QTabWidget* tabs = tabsOf(this);
    return tabs ? tabs->currentIndex() : -1;
}

void TControl::SetCurrentTab(int i) {
    QTabWidget* tabs = tabsOf(this);
    if (tabs && i >= 0 && i < tabs->count()) tabs->setCurrentIndex(i);
}
