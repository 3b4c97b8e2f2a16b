#pragma once
// Property values that every schema of the program gives its visual
// components: the design font and the design rectangle.

#include <cstdint>

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
