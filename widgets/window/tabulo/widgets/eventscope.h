#pragma once
// A scope around the handling of each event of the layer's windows.
//
// The layer does not know what the scope is for: a higher layer installs a
// function that sets something up, runs the delivery it is given exactly
// once, tears down and answers what the delivery answered. Events delivered
// inside an event nest their scopes. Plain function pointers and a context
// pointer, so that an event costs no allocation.

// Delivers the event; answers whether it was handled.
using TEventDelivery = bool (*)(void* context);
// Runs deliver(context) inside the scope.
using TEventScope = bool (*)(TEventDelivery deliver, void* context);

// Installs `scope` (nullptr: none); answers the one installed before, to be
// put back when the installer goes.
TEventScope SetEventScope(TEventScope scope);

// Runs deliver(context) inside the installed scope, or plainly without one.
bool RunInEventScope(TEventDelivery deliver, void* context);
