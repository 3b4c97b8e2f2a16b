#include "tabulo/components/dropfile.h"

#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/control.h"

TKVDropFile::TKVDropFile(TControl* host) : Host(host) {
    if (Host) {
        PreviousHook = Host->SetMessageHook([this](TControl& c, TMsg& m) { return handle(c, m); });
    }
    AddInit<&TKVDropFile::acceptDrops>(this);
}

TKVDropFile::~TKVDropFile() {
    RemoveInits(this);
    if (Host) {
        Host->SetMessageHook(std::move(PreviousHook));
        Host->SetAcceptDrops(false);
    }
}

void TKVDropFile::acceptDrops() {
    if (Host) Host->SetAcceptDrops(true);
}

bool TKVDropFile::handle(TControl& sender, TMsg& msg) {
    if (msg.Message == msgDropFiles) {
        // The list is copied: a receiver may change the message.
        const std::vector<std::string> files = msg.Files;
        FireNull(onStartDrop);
        for (const std::string& f : files) FireText(onDropFile, TText(f));
        FireNull(onEndDrop);
    }
    return PassMessage(PreviousHook, sender, msg);
}
