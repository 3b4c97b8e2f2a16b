#pragma once
// TAfterFirstPaint: work that may wait until a form is on the screen, but
// never until the user acts.
//
// The work runs once: right after the form's first paint (posted from that
// paint, so the frame goes to the window system first), or earlier, just
// before the application handles any input event (a key, a pointer button,
// move or wheel, a pointer entering a window, a drag, a close request), so
// that no input ever finds the work undone. Destroying the object drops work
// that has not run.

#include <functional>
#include <memory>

class TControl;

class TAfterFirstPaint {
public:
    TAfterFirstPaint(TControl* form, std::function<void()> work);
    ~TAfterFirstPaint();
    TAfterFirstPaint(const TAfterFirstPaint&) = delete;
    TAfterFirstPaint& operator=(const TAfterFirstPaint&) = delete;

    bool Pending() const { return bool(work_); }
    // Runs the work now if it has not run yet.
    void RunNow();

private:
    class Watcher;
    std::function<void()> work_;
    std::unique_ptr<Watcher> watcher_;
};
