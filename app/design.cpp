#include "tabulo/app/design.h"

#include "tabulo/widgets/resources.h"

TFontRec DesignFont(uint8_t style) {
    TFontRec font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Style = style;
    font.Color = 0;
    font.Charset = Charset::Default;
    return font;
}

void InitForm(TKVMainForm* form, const TFormDesign& design) {
    form->Name = design.Name;
    SetDesignBounds(form, design.Left, design.Top, design.Width, design.Height);
    form->ClientSize = design.ClientSize;
    form->Color = design.Color;
    SetDesignFont(form);
    form->BorderStyle = design.BorderStyle;
    form->Visible = design.Visible;
    form->PlaceKey = design.PlaceKey;
    form->StartPosition = design.StartPosition;
    form->SetCaption(design.Caption);
    form->SetFrameStyle(design.Frame);
    form->SetIcon(ResourceIcon(design.Icon));
    form->Init();
}
