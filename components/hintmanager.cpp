#include "tabulo/components/hintmanager.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "tabulo/widgets/control.h"
#include "tabulo/widgets/graphics.h"

// Watches the owner window and shows or hides the tip window. Lives as a
// child of the owner, so it goes with it.
class TToolTipController : public QObject {
public:
    TToolTipController(TToolTip* tip, QWidget* owner, int delay, int autoPop)
        : QObject(owner), tip_(tip), owner_(owner) {
        wait_.setSingleShot(true);
        wait_.setInterval(delay);
        pop_.setSingleShot(true);
        pop_.setInterval(autoPop);
        QObject::connect(&wait_, &QTimer::timeout, this, [this] { show(); });
        QObject::connect(&pop_, &QTimer::timeout, this, [this] { hide(); });
        owner->installEventFilter(this);
    }
    ~TToolTipController() override {
        if (tip_) {
            tip_->Controller = nullptr;
            tip_->TipWindow = nullptr;
            tip_->Owner = nullptr;
        }
        delete window_.data();
    }

    void setWindow(QLabel* w) { window_ = w; }
    // The record is going; the controller stays quiet until it is deleted.
    void detach() { tip_ = nullptr; }

    void hide() {
        wait_.stop();
        pop_.stop();
        if (window_) window_->hide();
    }
    void showAt(QPoint global) {
        if (!window_ || !tip_ || tip_->Text.empty()) return;
        window_->adjustSize();
        QRect r(global, window_->size());
        if (const QScreen* s = QGuiApplication::screenAt(global)) {
            const QRect area = s->availableGeometry();
            if (r.right() > area.right()) r.moveRight(area.right());
            if (r.bottom() > area.bottom()) r.moveBottom(global.y() - 24);
            if (r.left() < area.left()) r.moveLeft(area.left());
            if (r.top() < area.top()) r.moveTop(area.top());
        }
        window_->move(r.topLeft());
        window_->show();
        window_->raise();
    }
    bool waiting() const { return wait_.isActive(); }

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

    TToolTip* tip_;
    QPointer<QWidget> owner_;
    QPointer<QLabel> window_;
    QTimer wait_, pop_;
};

namespace {
std::unique_ptr<TKVHintManager>& instance() {
    static std::unique_ptr<TKVHintManager> m;
    return m;
}

QString labelText(const TToolTip& tip) {
    const QString text = QString::fromUtf8(tip.Text.view().data(), qsizetype(tip.Text.size()));
    if (tip.Title.empty()) return text;
    const QString title = QString::fromUtf8(tip.Title.view().data(), qsizetype(tip.Title.size()));
    return "<b>" + title.toHtmlEscaped() + "</b><br>" + text.toHtmlEscaped().replace('\n', "<br>");
}
}  // namespace

TKVHintManager::TKVHintManager() = default;
TKVHintManager::~TKVHintManager() = default;

TToolTip* TKVHintManager::CreateTip(QWidget* owner) {
    if (!owner) return nullptr;
    auto* tip = new TToolTip;
    tip->Owner = owner;

    auto* w = new QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                    Qt::WindowDoesNotAcceptFocus);
    w->setObjectName("TabuloToolTip");
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setTextFormat(Qt::AutoText);

    TGraphicTool font(TGraphicToolKind::Font);
    font.SetFontName(Font.Name);
    font.SetFontSize(Font.Size);
    font.SetFontStyle(Font.Style);
    font.SetFontCharset(Font.Charset);
    font.SetColor(Font.Color);
    w->setFont(font.ToQFont());

    const QColor back = ToQColor(ColorToRGB(Background));
    const QColor fore = ToQColor(ColorToRGB(Font.Color));
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, fore);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    // The frame and a small inner padding, as the platform tip draws them,
    // plus the margin asked for.
    const int pad = 2 + Margin;
    w->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %3; "
                                    "border-radius: %4px; padding: %5px; }")
                         .arg(back.name(), fore.name(), fore.name())
                         .arg(Plain ? 0 : 6)
                         .arg(pad));
    w->hide();

    tip->TipWindow = w;
    tip->Controller = new TToolTipController(tip, owner, InitialDelay, AutoPop);
    tip->Controller->setWindow(w);
    ++tips_;
    return tip;
}

TToolTip* TKVHintManager::CreateTip(TControl* owner) {
    return owner ? CreateTip(owner->Widget()) : nullptr;
}

void TKVHintManager::DestroyTip(TToolTip* tip) {
    if (!tip) return;
    if (tip->Controller) {
        tip->Controller->detach();
        delete tip->Controller;  // takes the tip window with it
    }
    delete tip;
    --tips_;
}

void TKVHintManager::SetText(TToolTip* tip, std::string_view text) {
    if (!tip) return;
    tip->Text = TText(text);
    if (tip->TipWindow) {
        tip->TipWindow->setText(labelText(*tip));
        if (tip->Text.empty() && tip->Controller) tip->Controller->hide();
    }
}

void TKVHintManager::SetTitle(TToolTip* tip, int icon, std::string_view title) {
    if (!tip) return;
    tip->TitleIcon = icon;
    tip->Title = TText(title);
    if (tip->TipWindow) tip->TipWindow->setText(labelText(*tip));
}

void TKVHintManager::TrackActivate(TToolTip* tip, bool on) {
    if (!tip || !Tracking || !tip->Controller) return;
    if (on)
        tip->Controller->showAt(tip->TipWindow ? tip->TipWindow->pos() : QCursor::pos());
    else
        tip->Controller->hide();
}

void TKVHintManager::TrackPosition(TToolTip* tip, int x, int y) {
    if (!tip || !Tracking || !tip->TipWindow) return;
    tip->TipWindow->move(x, y);
}

TToolTip* TKVHintManager::Register(QWidget* owner, std::string_view hint) {
    if (hint.empty() || !owner) return nullptr;
    TToolTip* tip = CreateTip(owner);
    SetText(tip, hint);
    return tip;
}

TToolTip* TKVHintManager::Register(TControl* owner, std::string_view hint) {
    return owner ? Register(owner->Widget(), hint) : nullptr;
}

void StartHintManager() {
    if (!instance()) instance() = std::make_unique<TKVHintManager>();
}

void StopHintManager() {
    instance().reset();
}

TKVHintManager* HintManager() {
    StartHintManager();
    return instance().get();
}
