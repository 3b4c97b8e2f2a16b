#pragma once
// The donate windows, one per chart page: a small tool window with a
// read-only text. The page's "Donate" button reaches the window through the
// page's container; closing the window only hides it.
//
//   page DonateButton.onClick --> DonateHost input 0
//     --> DonateBoundary input 0 --> DonateForm.doVisible   (NULL: show)
//
// The three windows differ only in their text resource.

#include "tabulo/runtime/schema.h"

class TKVMainForm;
class TKVMemo;

class TClassDonateForm : public TClassMultiBase {
public:
    TKVMainForm* DonateForm = nullptr;
    TKVEditMultiEx* DonateBoundary = nullptr;
    TKVMemo* DonateText = nullptr;

protected:
    TClassDonateForm(TKVContainer* container, TControl* parent, const char* textResource);
};

// The Custom page's window, text "Str1".
class TClassChildFormEx_261AC00 : public TClassDonateForm {
public:
    TClassChildFormEx_261AC00(TKVContainer* container, TControl* parent, TObject* /*owner*/)
        : TClassDonateForm(container, parent, "Str1") {}
};

// The Hands page's window, text "Str2".
class TClassChildFormEx_261B180 : public TClassDonateForm {
public:
    TClassChildFormEx_261B180(TKVContainer* container, TControl* parent, TObject* /*owner*/)
        : TClassDonateForm(container, parent, "Str2") {}
};

// The Position page's window, text "Str3".
class TClassChildFormEx_261B440 : public TClassDonateForm {
public:
    TClassChildFormEx_261B440(TKVContainer* container, TControl* parent, TObject* /*owner*/)
        : TClassDonateForm(container, parent, "Str3") {}
};
