#pragma once
// TKVDropFile: makes a window accept files dropped on it from the desktop
// and reports each drop as onStartDrop (NULL), one onDropFile per file (its
// full path as a String, in the order the desktop lists them), then
// onEndDrop (NULL), all during the drop.
//
// It hooks the host's messages from construction to destruction, passing
// every message on to the hook that was there before; the host starts
// accepting drops with the deferred initialisation, once the schema exists.
// The host must outlive the component (schemas destroy in reverse order of
// creation, so a receiver created after its window goes first).

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"
#include "tabulo/widgets/messages.h"

class TControl;

class TKVDropFile : public TObject {
public:
    explicit TKVDropFile(TControl* host);
    ~TKVDropFile() override;

    TControl* Host = nullptr;
    TMessageHook PreviousHook;
    TKV_Event onEndDrop;
    TKV_Event onDropFile;
    TKV_Event onStartDrop;

private:
    void acceptDrops();
    bool handle(TControl& sender, TMsg& msg);
};
