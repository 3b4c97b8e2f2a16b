#pragma once
// Private state of TControl, shared by the control's source files.

#include <QDeadlineTimer>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <unordered_map>

#include "control_widgets.h"
#include "tabulo/widgets/control.h"

struct TControl::Impl {
    QPointer<QWidget> widget;
    TWidgetLink* link = nullptr;
    uint32_t handle = 0;
    uint64_t serial = 0;             // creation order
    bool leftPressedInside = false;  // click tracking of the layer's own kinds
    bool aligning = false;
    bool closingFromProgram = false;
    bool gone = false;  // the window is gone
    bool hovered = false;
    int updateDepth = 0;
    uint8_t lastState = 0;       // last window state seen
    bool applyingFlags = false;  // window flags being applied (re-entry waits)
    bool flagsPending = false;
    bool quietShowHide = false;     // the hide/show of a flag change is no news
    bool paletteInherited = false;  // colours equal the inherited ones, none set
    QIcon largeIcon;                // the whole icon, given after the first paint
    // Minimised by hiding, where the window system cannot be asked to
    // minimise and restore (Wayland).
    bool minimisedByHiding = false;
    uint32_t focusToReturn = 0;  // X window to hand the focus back to
    QDeadlineTimer focusReturnBy;

    static Impl* of(TControl* c) { return c->d_.get(); }
    // The toolkit button of a button kind, or nullptr.
    static QAbstractButton* buttonOf(const TControl* c) { return c->button(); }
    static void widgetGone(TControl* c);
    static void notifyGone(TControl* c);
    // The form became the active window.
    static void activated(TControl* c);
    // The window is shown and about to be mapped.
    static void aboutToMap(TControl* c);
    // The window has painted itself.
    static void painted(TControl* c);
};

namespace widgets_detail {

// The handle table.
uint32_t IssueHandle(TControl* c);
void ReleaseHandle(uint32_t h);
// Forms: registration in the form list and the applet rules.
void RegisterForm(TControl* form);
void UnregisterForm(TControl* form);
// Offers msg to the global and applet hooks; true = consumed.
bool ApplicationHooks(TControl& c, TMsg& msg);
// The main form closed for good: end the loop.
void MainFormClosed(TControl* form);
// The main form's window state changed.
void MainFormStateChanged(TControl* form, uint8_t state);
// Qt cursor shape of a cursor identifier.
int CursorShape(int cursor);
}  // namespace widgets_detail
