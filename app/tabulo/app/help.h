#pragma once
// The Help page (tab "About"): the about text and the colour legend. The
// page has no wiring of its own; the animator and the launcher are created
// with it and never driven.
//
//   Panel "About"
//     LegendHost --builds--> colour legend (top)
//     AboutText  read-only about text, vertical scroll bar (layout "grid")

#include "tabulo/app/base.h"

class TKVMemo;
class TkvIconAnimation;
class TKVWinExec;
class TKVVBoxLayout;

class TClassHelp_253CB10 : public TClassbase_253CB10 {
public:
    using TClassbase_253CB10::TClassbase_253CB10;

    TKVMemo* AboutText = nullptr;
    TkvIconAnimation* HelpAnimation = nullptr;
    TKVWinExec* HelpLauncher = nullptr;
    TKVMultiElement* LegendHost = nullptr;
    TKVVBoxLayout* Grid = nullptr;

protected:
    void InitPage(TControl* pageArea) override;
    void BuildPage() override;
};
