#include "tabulo/runtime/schema.h"

#include "tabulo/runtime/multi.h"

TSchema::~TSchema() {
    while (!components_.empty()) components_.pop_back();
}

void TKVBoundary::doOutput(TData& value, uint16_t index) {
    if (Container) Container->ChildOutput(this, value, index);
}

void TKVBoundary::getPull(TData& value, uint16_t index) {
    if (Container && index < Container->Pulls.size())
        ReadRaw(value, Container->Pulls[index]);
    else
        value.Tag = dtBreak;
}
