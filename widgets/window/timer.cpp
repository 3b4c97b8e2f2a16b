// TTimer over QTimer.

#include "tabulo/widgets/timer.h"

#include <QTimer>

namespace {
int effective(int ms) {
    return ms <= 0 ? 1000 : ms;
}
}  // namespace

TTimer::TTimer(int interval) : interval_(effective(interval)) {}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms) {
    interval_ = effective(ms);
    if (timer_ && enabled_) timer_->start(interval_);
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) {
        if (!timer_) {
            timer_ = std::make_unique<QTimer>();
            timer_->setTimerType(Qt::PreciseTimer);
            QObject::connect(timer_.get(), &QTimer::timeout, [this] { tick(); });
        }
        timer_->start(interval_);
    } else if (timer_) {
        timer_->stop();
    }
}

void TTimer::tick() {
    if (!enabled_ || !OnTimer) return;
    auto copy = OnTimer;
    copy(*this);
}
