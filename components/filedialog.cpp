#include "tabulo/components/filedialog.h"

#include "tabulo/widgets/application.h"
#include "tabulo/widgets/opensavedialog.h"

TKVODialog::TKVODialog() = default;
TKVODialog::~TKVODialog() = default;

void TKVODialog::doExecute(TData& value, uint16_t) {
    if (!Dialog) {
        Dialog = std::make_unique<TOpenSaveDialog>(true);
        Dialog->Title = Title.str();
        Dialog->InitialDir = InitDir.str();
        Dialog->Options = osNoValidate;
        Dialog->Filter = Filter.str();
    }
    // Owned by the program's current main window (none: the active window).
    TControl* main = Applet();
    Dialog->Owner = main ? main->Widget() : nullptr;
    Dialog->FileName = ReadText(value, pullFileName, FileName).str();
    if (Dialog->Execute()) {
        ForwardText(value, onExecute, TText(Dialog->FileName));
    } else {
        MakeNull(value);
        Forward(value, onCancel);
    }
}
