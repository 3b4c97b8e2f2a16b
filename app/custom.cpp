#include "tabulo/app/custom.h"

// Temporary: the panel alone, until the page's components are in.
TClassCustom_253CB10::TClassCustom_253CB10(TKVContainer* container, TControl* pageArea,
                                           TObject* owner)
    : TClassbase_253CB10(container, pageArea, owner) {}

void TClassCustom_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "Custom", 35, 105, 469, 469);
}

void TClassCustom_253CB10::BuildPage() {}
