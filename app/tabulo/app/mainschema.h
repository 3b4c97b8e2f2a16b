#pragma once
// The main schema: the main window, its four pages, the restore handle and
// the routing that keeps the window on top and minimises it to the handle.
//
//   MainWindow activate, deactivate, create, focus in/out, mouse over,
//              mouse move, mouse leave, show --> FormHub --0--> WindowTools.doTopMost
//                                              (NULL: on top; 0: left drag, release)
//   WindowTools.pullHandle <-- MainWindow.getHandle
//
//   MainWindow.onMouseUp --+
//   Pages output 0 --------+--> ButtonRouter --ch 1 (right)--> MinimizeHub
//                                MinimizeHub 1 --> MainWindow.doMinimize
//                                MinimizeHub 2 --> HandleHost in 0 (show the handle)
//   HandleHost out 0 ----------> MainWindow.doRestore

#include "tabulo/runtime/multi.h"
#include "tabulo/runtime/schema.h"

class TKVMainForm;
class TKVWinTools;
class TKVPageControl;
class TKVIndexToChanel;
class TKVHub;

class TClassMainForm_3063820 : public TSchema {
public:
    TClassMainForm_3063820();
    ~TClassMainForm_3063820() override;

    TKVMainForm* MainWindow = nullptr;
    TKVWinTools* WindowTools = nullptr;
    TKVPageControl* Pages = nullptr;
    TKVMultiElement* HandleHost = nullptr;
    TKVIndexToChanel* ButtonRouter = nullptr;
    TKVHub* MinimizeHub = nullptr;
    TKVHub* FormHub = nullptr;
};

// The running main schema, from its construction to its destruction.
TClassMainForm_3063820* RunningMainSchema();
