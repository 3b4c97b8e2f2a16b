#pragma once
// TKVODialog: shows the open-file dialog and reports the chosen file.
//
// The dialog object is made on the first doExecute and kept, so the file
// type the user last confirmed is selected again next time. The dialog does
// not validate the name typed (a name of a file that does not exist yet is
// accepted). The initial name is read by the read rule from pullFileName and
// FileName.

#include <memory>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TOpenSaveDialog;

class TKVODialog : public TObject {
public:
    TKVODialog();
    ~TKVODialog() override;

    std::unique_ptr<TOpenSaveDialog> Dialog;  // none before the first doExecute
    TText InitDir;
    TText Filter;  // "name|pattern|name|pattern"
    TText Title;
    TText FileName;
    TKV_Event onExecute;  // the chosen file name, a String
    TKV_Event onCancel;   // NULL: closed without a choice
    TKV_Event pullFileName;

    void doExecute(TData& value, uint16_t index);
};
