#pragma once
// The chart edit window: names one slot of the Custom page and picks its
// picture, then stores both in "Custom.ini" (section "B"k, keys "File" and
// "Caption").
//
//   EditBoundary input 0 ("B"k) --> OpenHub 0 EditForm.doEnabled
//                                           1 EditForm.doVisible
//                                           3 SlotMemory.doValue
//   SlotMemory --> LoadHub 0 CaptionLoadPath, 1 CaptionLoad --> NameEdit.doText
//                          2 FileLoadPath,    3 FileLoad    --> PathHub 0
//   SelectButton --> OpenDialog --> PathHub 1;  FileDrop --> PathHub 1
//   PathHub 0 --> PathHolder.doCaption               (the chosen picture path)
//   SaveButton --> SaveHub 0 SaveOkMark --> SaveState ("ok")
//                          1 FileSavePath, 2 FileSave.doWrite (File <-- PathHolder)
//                          3 FileSavedTest (SaveState = "ok"?)
//   FileSavedTest true --> CaptionSaveHub 0 CaptionSavePath
//                                         1 CaptionSave.doWrite (Caption <-- NameEdit)
//                                         2 CaptionSavedTest (SaveState = "ok"?)
//   CaptionSavedTest true --> CloseHub 0 EditForm.doClose
//                                      1 EditBoundary output 0 (the page refreshes)
//   FileSave / CaptionSave onWriteFailed (file name)
//     --> SaveFailHub 0 SaveFailMark --> SaveState ("failed")
//                     1 SaveFailText --> SaveFailMessage     (names the file)
//
// A write that fails therefore stops the save: the message names the file,
// the window stays open with what the user entered, and the page is not
// told that anything was saved.

#include "tabulo/runtime/schema.h"

class TKVMainForm;
class TKVODialog;
class TKVButton;
class TKVEdit;
class TKVLabel;
class TKVDropFile;
class TKVBitBtn;
class TKVini;
class TKVDir;
class TKVFormatStr;
class TKVHub;
class TKVMemory;
class TKVIf_else;
class TKVShowMessage;

class TClassChildFormEx_261A310 : public TClassMultiBase {
public:
    TClassChildFormEx_261A310(TKVContainer* container, TControl* parent, TObject* owner);

    TKVMainForm* EditForm = nullptr;
    TKVEditMultiEx* EditBoundary = nullptr;
    TKVODialog* OpenDialog = nullptr;
    TKVButton* SelectButton = nullptr;
    TKVEdit* NameEdit = nullptr;
    TKVLabel* NameLabel = nullptr;
    TKVDropFile* FileDrop = nullptr;
    TKVLabel* DropLabel = nullptr;
    TKVBitBtn* SaveButton = nullptr;
    TKVLabel* PathHolder = nullptr;
    TKVini* CaptionLoad = nullptr;
    TKVDir* CaptionLoadDir = nullptr;
    TKVFormatStr* CaptionLoadPath = nullptr;
    TKVHub* LoadHub = nullptr;
    TKVHub* OpenHub = nullptr;
    TKVHub* SaveHub = nullptr;
    TKVMemory* SlotMemory = nullptr;
    TKVini* CaptionSave = nullptr;
    TKVDir* CaptionSaveDir = nullptr;
    TKVFormatStr* CaptionSavePath = nullptr;
    TKVHub* CaptionSaveHub = nullptr;
    TKVini* FileSave = nullptr;
    TKVDir* FileSaveDir = nullptr;
    TKVFormatStr* FileSavePath = nullptr;
    TKVini* FileLoad = nullptr;
    TKVDir* FileLoadDir = nullptr;
    TKVFormatStr* FileLoadPath = nullptr;
    TKVHub* PathHub = nullptr;

    // The save guard: a failed write stops the save and says so.
    TKVFormatStr* SaveOkMark = nullptr;
    TKVFormatStr* SaveFailMark = nullptr;
    TKVMemory* SaveState = nullptr;
    TKVIf_else* FileSavedTest = nullptr;
    TKVIf_else* CaptionSavedTest = nullptr;
    TKVHub* CloseHub = nullptr;
    TKVHub* SaveFailHub = nullptr;
    TKVFormatStr* SaveFailText = nullptr;
    TKVShowMessage* SaveFailMessage = nullptr;

private:
    void createComponents(TControl* parent);
    void createSaveGuard();
    void wire();
    void registerHints();
};
