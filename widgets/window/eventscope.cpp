// The scope around each event of the layer's windows.

#include "tabulo/widgets/eventscope.h"

#include <utility>

namespace {
TEventScope installedScope = nullptr;
}  // namespace

TEventScope SetEventScope(TEventScope scope) {
    return std::exchange(installedScope, scope);
}

bool RunInEventScope(TEventDelivery deliver, void* context) {
    return installedScope ? installedScope(deliver, context) : deliver(context);
}
