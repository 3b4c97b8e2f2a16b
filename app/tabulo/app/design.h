#pragma once
// Property values that every schema of the program gives its visual
// components: the design font, the design rectangle, and the description
// of a top-level window.

#include <cstdint>

#include "tabulo/controls/mainform.h"
#include "tabulo/controls/win.h"

// Font "MS Sans Serif", size 8, colour black, default character set, with
// the given style bits (1 bold).
TFontRec DesignFont(uint8_t style = 0);

// The design font, ParentFont off; for any visual component (the page
// control included).
template <class Component>
void SetDesignFont(Component* control, uint8_t style = 0) {
    control->Font = DesignFont(style);
    control->ParentFont = false;
}

// Left, Top, Width and Height in the parent.
template <class Component>
void SetDesignBounds(Component* control, int left, int top, int width, int height) {
    control->Left = left;
    control->Top = top;
    control->Width = width;
    control->Height = height;
}

// A top-level window of the program as its schema describes it. Every other
// property keeps the window component's default (opaque, no drag, normal
// state at the first showing).
struct TFormDesign {
    const char* Name;
    int Left, Top, Width, Height;
    TColor Color;
    const char* Caption;
    int Frame;                  // a FrameStyle value
    const char* Icon;           // resource name; an unknown one takes the parent window's icon
    const char* PlaceKey = "";  // where the placement is kept; empty: not kept
    TKVMainForm::TFormOp StartPosition = &TKVMainForm::KeepPosition;
    uint8_t BorderStyle = Border::Single;
    bool Visible = false;
    bool ClientSize = false;  // Width and Height are the client area's
};

// Gives the window its design (the design font included) and initialises it.
void InitForm(TKVMainForm* form, const TFormDesign& design);
