#pragma once
// The application object and its message loop.
//
// The applet is the main form: the first form made (NewForm) when there is
// none, or the one given to Run. Closing a child form never ends the
// program; closing the main form (when no hook consumed the close) closes
// it and ends the loop. Minimising the main form minimises the application.
// The form list holds every live form in creation order.

#include <functional>
#include <vector>

#include "tabulo/widgets/control.h"

// Start and end of the layer's life in a program: Start makes the loop end
// only by Terminate (never because the last window closed), clears the
// terminate flag and keeps the forms on the monitors when one is added or
// removed; Stop forgets the applet and the hooks and stops watching the
// monitors. A QApplication must exist first.
void StartApplication();
void StopApplication();

// The applet (main form), or nullptr.
TControl* Applet();
// Makes `form` the applet (nullptr forgets it).
void SetApplet(TControl* form);

// Runs the loop until Terminate: makes `mainForm` the applet if none is set,
// makes sure its window exists, then waits for messages, processes them and
// calls the idle hook, until the terminate flag is set. Answers at once when
// the flag is already set.
void Run(TControl* mainForm);
// Run with the applet.
inline void RunApplication() {
    Run(Applet());
}
// Handles every message waiting now, then returns.
void ProcessMessages();
// Sets the terminate flag and ends a running loop.
void Terminate();
bool AppletTerminated();
bool AppletRunning();
// Clears the terminate flag and the applet (tests run many programs in one
// process).
void ResetApplicationForTesting();

// Window state of the application (0 normal, 1 minimised): the main form's.
uint8_t ApplicationState();
void SetApplicationState(uint8_t state);

// Every live form, in creation order.
const std::vector<TControl*>& FormList();
// Moves every top-level form, shown or hidden, that lies off the monitors
// onto them (KeepOnMonitors); Start runs it after a monitor comes or goes.
void KeepFormsOnMonitors();
// The form that has the focus, or nullptr.
TControl* ActiveForm();

// The applet's message hook sees every message of every control before the
// control's own hook; the global hook sees them before that. Each setter
// answers the previous hook.
TMessageHook SetAppletMessageHook(TMessageHook hook);
TMessageHook SetGlobalMessageHook(TMessageHook hook);
// Called after each round of message processing in Run.
void SetIdleHook(std::function<void()> hook);
