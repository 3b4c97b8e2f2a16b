#pragma once
// TTimer: calls OnTimer every Interval milliseconds while enabled, from the
// event loop. An interval of 0 or less means 1000 ms.

#include <functional>
#include <memory>

#include "tabulo/widgets/obj.h"

class QTimer;

class TTimer : public TObj {
public:
    explicit TTimer(int interval = 1000);
    ~TTimer() override;

    // The interval in effect (never 0 or less).
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    std::function<void(TTimer&)> OnTimer;

private:
    void tick();
    int interval_ = 1000;
    bool enabled_ = false;
    std::unique_ptr<QTimer> timer_;
};
