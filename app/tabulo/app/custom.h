#pragma once
// The "Custom" page: the user's own chart slots.

#include "tabulo/app/base.h"

class TClassCustom_253CB10 : public TClassbase_253CB10 {
public:
    using TClassbase_253CB10::TClassbase_253CB10;

protected:
    void InitPage(TControl* pageArea) override;
};
