#include "tabulo/app/design.h"

TFontRec DesignFont(uint8_t style) {
    TFontRec font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Style = style;
    font.Color = 0;
    font.Charset = Charset::Default;
    return font;
}
