#include "tabulo/app/position.h"

// The panel alone for now; the grid and the chart display follow.
TClassPosition_253CB10::TClassPosition_253CB10(TKVContainer* container, TControl* pageArea,
                                               TObject* owner)
    : TChartPageSchema(container, pageArea, owner) {}

void TClassPosition_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "Position", 35, 105, 400, 300);
}

void TClassPosition_253CB10::BuildPage() {}
