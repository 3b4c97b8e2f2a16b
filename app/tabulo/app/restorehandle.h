#pragma once
// The restore handle: a small captionless tool window that stands in for
// the minimised main window and brings it back.
//
//   main schema --> HandleBoundary in 0 --> HandleForm.doVisible (show)
//
//   HandleForm.onMouseUp ----> HandleButtons --ch 1 (right)--> HandleHub 0
//   HandleForm.onDblClick -----------------------------------> HandleHub 1
//   HandleForm.onMouseEnter -> HandleKeys (Ctrl up) --match--> HandleHub 2
//   HandleHub 0 --> HandleForm.doClose         (hides it, saves "HidePos")
//   HandleHub 1 --> HandleBoundary out 0       (main schema: restore)

#include "tabulo/runtime/schema.h"

class TKVMainForm;
class TKVIndexToChanel;
class TKVKeyMask;
class TKVHub;

class TClassChildForm_261B5A0 : public TClassMultiBase {
public:
    TClassChildForm_261B5A0(TKVContainer* container, TControl* parent, TObject* owner);

    TKVMainForm* HandleForm = nullptr;
    TKVEditMulti* HandleBoundary = nullptr;
    TKVIndexToChanel* HandleButtons = nullptr;
    TKVKeyMask* HandleKeys = nullptr;
    TKVHub* HandleHub = nullptr;
};
