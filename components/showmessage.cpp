#include "tabulo/components/showmessage.h"

#include "tabulo/widgets/messagebox.h"

void TKVShowMessage::doShow(TData& value, uint16_t) {
    const TText text = ReadText(value, pullText, Text);
    MessageBox(Caption.view(), text.view(), MbOk | (Error ? MbIconError : MbIconInformation));
    FireNull(onShown);
}
