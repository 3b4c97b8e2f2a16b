#include "tabulo/app/restorehandle.h"

#include "tabulo/app/design.h"
#include "tabulo/components/keymask.h"
#include "tabulo/components/routing.h"
#include "tabulo/controls/mainform.h"

TClassChildForm_261B5A0::TClassChildForm_261B5A0(TKVContainer* container, TControl* parent,
                                                 TObject* /*owner*/) {
    // Create, set, initialise.
    HandleForm = Create<TKVMainForm>(parent);
    InitForm(HandleForm, {.Name = "HandleForm",
                          .Left = 35,
                          .Top = 105,
                          .Width = 113,
                          .Height = 57,
                          .Color = clHighlight,
                          .Caption = "Form",
                          .Frame = FrameStyle::SizeableToolBare,
                          .Icon = "KLVA",
                          .PlaceKey = "HidePos"});

    HandleBoundary = Create<TKVEditMulti>(1, 0);
    HandleBoundary->Container = container;
    HandleBoundary->Schema = this;
    Boundary = HandleBoundary;

    HandleButtons = Create<TKVIndexToChanel>();
    HandleButtons->SetCount(3);

    HandleKeys = Create<TKVKeyMask>();
    HandleKeys->ShiftMode = 0;  // any state
    HandleKeys->CtrlMode = 2;   // must be up
    HandleKeys->AltMode = 0;    // any state
    HandleKeys->Key = 0;

    HandleHub = Create<TKVHub>();
    HandleHub->SetInCount(3);
    HandleHub->SetCount(2);

    // Wire.
    HandleBoundary->Inputs[0] = BindEvent<&TKVMainForm::doVisible>(HandleForm, 0);
    HandleForm->onMouseUp = BindEvent<&TKVIndexToChanel::doEvent>(HandleButtons, 0);
    HandleButtons->onEvent[1] = BindEvent<&TKVHub::doEvent>(HandleHub, 0);
    HandleForm->onDblClick = BindEvent<&TKVHub::doEvent>(HandleHub, 1);
    HandleForm->onMouseEnter = BindEvent<&TKVKeyMask::doCheck>(HandleKeys, 0);
    HandleKeys->onMatch = BindEvent<&TKVHub::doEvent>(HandleHub, 2);
    HandleHub->onEvent[0] = BindEvent<&TKVMainForm::doClose>(HandleForm, 0);
    HandleHub->onEvent[1] = BindEvent<&TKVBoundary::doOutput>(HandleBoundary, 0);

    // Register.
    HandleForm->AttachLayout(nullptr);
    HandleForm->RegisterHint();
}
