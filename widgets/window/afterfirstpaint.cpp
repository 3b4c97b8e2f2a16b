#include "tabulo/widgets/afterfirstpaint.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "tabulo/widgets/control.h"

namespace {

// Events that come from the user (or the window manager on the user's
// behalf): the work must be done before any of them is handled.
bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::NativeGesture:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

}  // namespace

// Watches every event of the application (an application event filter sees
// them before any receiver) until the work has run. It stays alive with its
// owner, as it may be inside one of its own handlers when the work runs.
class TAfterFirstPaint::Watcher : public QObject {
public:
    Watcher(TAfterFirstPaint& owner, QWidget* form) : owner_(owner), form_(form) {
        qApp->installEventFilter(this);
    }
    ~Watcher() override { Stop(); }
    void Stop() {
        if (qApp) qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (IsInput(event->type())) {
            owner_.RunNow();
            return false;
        }
        if (event->type() == QEvent::Paint && !posted_ && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->window() == form_) {
            // The frame is painted and flushed when the paint round ends;
            // the posted call runs after it.
            posted_ = true;
            QMetaObject::invokeMethod(
                this, [this] { owner_.RunNow(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    TAfterFirstPaint& owner_;
    QPointer<QWidget> form_;
    bool posted_ = false;
};

TAfterFirstPaint::TAfterFirstPaint(TControl* form, std::function<void()> work)
    : work_(std::move(work)) {
    if (work_) watcher_ = std::make_unique<Watcher>(*this, form ? form->Widget() : nullptr);
}

TAfterFirstPaint::~TAfterFirstPaint() = default;

void TAfterFirstPaint::RunNow() {
    if (!work_) return;
    std::function<void()> work = std::move(work_);
    work_ = nullptr;
    watcher_->Stop();
    work();
}
