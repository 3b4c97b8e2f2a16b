#include "tabulo/runtime/event.h"

THook EventCallHook = &NoDispatch;
THook DataReadHook = &NoDispatch;

void NoDispatch(const TKV_Event&, TData&) {}

void ForwardingDispatcher(const TKV_Event& link, TData& value) {
    const TKV_Event* t = &link;
    while (t && t->wired()) {
        t->call(value);
        if (!(value.Tag & ForwardFlag)) return;
        value.Tag &= uint8_t(~ForwardFlag);
        t = value.ForwardTo;
    }
}

void PlainReader(const TKV_Event& link, TData& value) {
    if (link.wired()) link.call(value);
}

void InstallHooks() {
    EventCallHook = &ForwardingDispatcher;
    DataReadHook = &PlainReader;
}

void MuteHooks() {
    EventCallHook = &NoDispatch;
    DataReadHook = &NoDispatch;
}

void FireCopy(const TKV_Event& point, const TData& value) {
    TData copy = value;
    EventCallHook(point, copy);
}

void FireNull(const TKV_Event& point) {
    TData d;
    EventCallHook(point, d);
}

void FireInt(const TKV_Event& point, int32_t v) {
    TData d;
    MakeInt(d, v);
    EventCallHook(point, d);
}

void FireText(const TKV_Event& point, TText text) {
    TData d;
    MakeText(d, std::move(text));
    EventCallHook(point, d);
}

void FireBitmap(const TKV_Event& point, TBitmap* bitmap) {
    TData d;
    MakeBitmap(d, bitmap);
    EventCallHook(point, d);
}

void ReadRaw(TData& value, const TKV_Event& point) {
    if (point.wired())
        DataReadHook(point, value);
    else
        value.Tag = dtBreak;
}

void Consume(TData& incoming) {
    if (incoming.Next) {
        const TData* next = incoming.Next;
        incoming = *next;
    } else {
        incoming.Tag = dtNull;
    }
}

namespace {
// Step 1 of every Read: ask a wired point. True when it answered (not Break).
bool askPoint(const TKV_Event& point, TData& answer) {
    if (!point.wired()) return false;
    DataReadHook(point, answer);
    return answer.Tag != dtBreak;
}
}  // namespace

int32_t ReadInt(TData& incoming, const TKV_Event& point, int32_t def) {
    if (TData answer; askPoint(point, answer)) return AsInt(answer);
    if (def != 0) return def;
    if (incoming.Tag == dtNull) return 0;
    const int32_t r = AsInt(incoming);
    Consume(incoming);
    return r;
}

TText ReadText(TData& incoming, const TKV_Event& point, const TText& def) {
    if (TData answer; askPoint(point, answer)) return AsText(answer);
    if (!def.empty()) return def;
    if (incoming.Tag == dtNull) return def;
    TText r = AsText(incoming);
    Consume(incoming);
    return r;
}

TBitmap* ReadBitmap(TData& incoming, const TKV_Event& point, TBitmap* def) {
    if (TData answer; askPoint(point, answer)) return BitmapOf(answer);
    if (def) return def;
    if (incoming.Tag != dtBitmap) return def;
    TBitmap* r = BitmapOf(incoming);
    Consume(incoming);
    return r;
}

TData ReadValue(TData& incoming, const TKV_Event& point, const TData* def) {
    TData result;
    if (askPoint(point, result)) {
        result.Next = nullptr;
        return result;
    }
    if (def && def->Tag != dtNull) return *def;
    result = incoming;
    result.Next = nullptr;
    if (incoming.Tag == dtNull) incoming.Next = nullptr;
    Consume(incoming);
    return result;
}

int32_t PeekInt(const TKV_Event& point) {
    TData answer;
    if (!askPoint(point, answer)) return 0;
    return AsInt(answer);
}

void ForwardCopy(TData& value, const TKV_Event& target, const TData& source) {
    if (&value != &source) value = source;
    Forward(value, target);
}

void ForwardInt(TData& value, const TKV_Event& target, int32_t v) {
    value.Tag = dtInteger | ForwardFlag;
    value.IntValue = v;
    value.Next = nullptr;
    value.ForwardTo = &target;
}

void ForwardText(TData& value, const TKV_Event& target, TText text) {
    value.Tag = dtString | ForwardFlag;
    value.TextValue = std::move(text);
    value.Next = nullptr;
    value.ForwardTo = &target;
}
