// The tooltip control over a QLabel tip window and an event filter on the
// owner's window.

#include "tabulo/widgets/tooltip.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "tabulo/widgets/control.h"

// Watches the owner window and shows or hides the tip window, which it
// makes on first use. Lives as a child of the owner, so it goes with it (and
// takes the tip window along).
class TTipController : public QObject {
public:
    TTipController(TToolTip* tip, QWidget* owner) : QObject(owner), tip_(tip), owner_(owner) {
        wait_.setSingleShot(true);
        wait_.setInterval(500);
        pop_.setSingleShot(true);
        pop_.setInterval(5000);
        QObject::connect(&wait_, &QTimer::timeout, this, [this] { show(); });
        QObject::connect(&pop_, &QTimer::timeout, this, [this] { hide(); });
        owner->installEventFilter(this);
        tip->TipWindow.controller_ = this;
    }
    ~TTipController() override {
        if (tip_) {
            tip_->Controller = nullptr;
            tip_->TipWindow = nullptr;
            tip_->Owner = nullptr;
        }
        delete window_.data();
    }

    // The record is going; the controller stays quiet until it is deleted.
    void detach() { tip_ = nullptr; }

    // The tip window, made now if it is not made yet (null once it is gone).
    QLabel* window() {
        if (window_ || made_ || !owner_) return window_;
        made_ = true;
        auto* w = new QLabel(owner_, Qt::ToolTip | Qt::FramelessWindowHint |
                                         Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        w->setObjectName("TabuloToolTip");
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setTextFormat(Qt::AutoText);
        w->hide();
        window_ = w;
        if (hasFont_) w->setFont(font_);
        restyle();
        if (!text_.isEmpty()) w->setText(text_);
        return w;
    }

    void setDelays(int initial, int autoPop) {
        wait_.setInterval(initial < 0 ? 0 : initial);
        pop_.setInterval(autoPop < 0 ? 0 : autoPop);
    }
    void setBalloon(bool on) {
        balloon_ = on;
        restyle();
    }
    void setColors(TColor text, TColor back) {
        text_color_ = text;
        back_ = back;
        restyle();
    }
    void setMargin(int margin) {
        margin_ = margin < 0 ? 0 : margin;
        restyle();
    }
    void setFont(const QFont& font) {
        font_ = font;
        hasFont_ = true;
        if (window_) window_->setFont(font_);
    }
    void setText(const QString& text) {
        text_ = text;
        if (window_) window_->setText(text_);
    }

    void hide() {
        wait_.stop();
        pop_.stop();
        if (window_) window_->hide();
    }
    void showAt(QPoint global) {
        if (!tip_ || tip_->Text.empty()) return;
        QLabel* w = window();
        if (!w) return;
        w->adjustSize();
        QRect r(global, w->size());
        if (const QScreen* s = QGuiApplication::screenAt(global)) {
            const QRect area = s->availableGeometry();
            if (r.right() > area.right()) r.moveRight(area.right());
            if (r.bottom() > area.bottom()) r.moveBottom(global.y() - 24);
            if (r.left() < area.left()) r.moveLeft(area.left());
            if (r.top() < area.top()) r.moveTop(area.top());
        }
        w->move(r.topLeft());
        w->show();
        w->raise();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != owner_) return false;
        switch (e->type()) {
            case QEvent::Enter:
            case QEvent::MouseMove:
            case QEvent::HoverMove:
                // The pointer has to come to rest: every move restarts the wait.
                if (!window_ || !window_->isVisible()) wait_.start();
                break;
            case QEvent::Leave:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::Hide:
            case QEvent::WindowDeactivate:
                hide();
                break;
            case QEvent::ToolTip:
                return true;  // the tip is ours, not the toolkit's
            default:
                break;
        }
        return false;
    }

private:
    void show() {
        if (!owner_ || !owner_->isVisible()) return;
        showAt(QCursor::pos() + QPoint(0, 20));
        pop_.start();
    }

    // The palette for code that reads it, and the style sheet that draws the
    // frame, the corners and the padding.
    void restyle() {
        if (!window_) return;
        const QColor back = ToQColor(ColorToRGB(back_));
        const QColor fore = ToQColor(ColorToRGB(text_color_));
        QPalette pal = window_->palette();
        pal.setColor(QPalette::Window, back);
        pal.setColor(QPalette::WindowText, fore);
        window_->setPalette(pal);
        window_->setAutoFillBackground(true);
        window_->setStyleSheet(
            QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %3; "
                           "border-radius: %4px; padding: %5px; }")
                .arg(back.name(), fore.name(), fore.name())
                .arg(balloon_ ? 6 : 0)
                .arg(2 + margin_));
    }

    TToolTip* tip_;
    QPointer<QWidget> owner_;
    QPointer<QLabel> window_;
    bool made_ = false;  // the window was made (it is not made twice)
    QTimer wait_, pop_;
    bool balloon_ = false;
    TColor text_color_ = clInfoText;
    TColor back_ = clInfoBk;
    int margin_ = 0;
    QFont font_;
    bool hasFont_ = false;
    QString text_;  // the label's text, as last set
};

QLabel* TTipWindowRef::get() const {
    return controller_ ? controller_->window() : nullptr;
}

namespace {
QString labelText(const TToolTip& tip) {
    const QString text = QString::fromUtf8(tip.Text.view().data(), qsizetype(tip.Text.size()));
    if (tip.Title.empty()) return text;
    const QString title = QString::fromUtf8(tip.Title.view().data(), qsizetype(tip.Title.size()));
    return "<b>" + title.toHtmlEscaped() + "</b><br>" + text.toHtmlEscaped().replace('\n', "<br>");
}
}  // namespace

bool CreateTipWindow(TToolTip& tip, TControl* owner, bool balloon) {
    QWidget* ownerWindow = owner ? owner->Widget() : nullptr;
    if (!ownerWindow || tip.Controller) return false;
    tip.Owner = ownerWindow;
    tip.Controller = new TTipController(&tip, ownerWindow);
    tip.Controller->setBalloon(balloon);
    return true;
}

void DestroyTipWindow(TToolTip& tip) {
    if (TTipController* c = tip.Controller) {
        c->detach();
        delete c;  // takes the tip window with it
    }
    tip.Controller = nullptr;
    tip.TipWindow = nullptr;
    tip.Owner = nullptr;
}

void SetTipFont(TToolTip& tip, const TGraphicTool& font) {
    if (tip.Controller) tip.Controller->setFont(font.ToQFont());
}

void SetTipColors(TToolTip& tip, TColor text, TColor background) {
    if (tip.Controller) tip.Controller->setColors(text, background);
}

void SetTipDelays(TToolTip& tip, int initial, int autoPop) {
    if (tip.Controller) tip.Controller->setDelays(initial, autoPop);
}

void SetTipMargin(TToolTip& tip, int margin) {
    if (tip.Controller) tip.Controller->setMargin(margin);
}

void UpdateTipText(TToolTip& tip) {
    if (!tip.Controller) return;
    tip.Controller->setText(labelText(tip));
    if (tip.Text.empty()) tip.Controller->hide();
}

void TrackTip(TToolTip& tip, bool on) {
    if (!tip.Controller) return;
    if (!on) {
        tip.Controller->hide();
        return;
    }
    QLabel* w = tip.TipWindow;
    tip.Controller->showAt(w ? w->pos() : QCursor::pos());
}

void TrackTipPosition(TToolTip& tip, int x, int y) {
    if (QLabel* w = tip.TipWindow) w->move(x, y);
}
