#include "tabulo/components/flow.h"

#include <charconv>
#include <string_view>

// ---- TKVSwitch ------------------------------------------------------------

void TKVSwitch::Init(int32_t Default) {
    State = Default == 0;
    Current = State ? DataOn : DataOff;
    Current.Next = nullptr;
    Current.ForwardTo = nullptr;
}

void TKVSwitch::doSwitch(TData& value, uint16_t) {
    State = !State;
    const TKV_Event* chosen;
    if (State) {
        Current = ReadValue(value, pullDataOn, &DataOn);
        chosen = &onOn;
    } else {
        Current = ReadValue(value, pullDataOff, &DataOff);
        chosen = &onOff;
    }
    Current.ForwardTo = nullptr;
    Current.Tag &= uint8_t(~ForwardFlag);
    value = Current;
    Fire(onSwitch, value);
    ForwardCopy(value, *chosen, Current);
}

// ---- TKVIf_else -----------------------------------------------------------

namespace {
uint8_t plainTag(const TData& d) {
    return uint8_t(d.Tag & ~ForwardFlag);
}

// A decimal number at the start of the text ("2.5x" -> 2.5), else 0.
double textToReal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && s[i] == '+') ++i;
    double r = 0;
    const auto res = std::from_chars(s.data() + i, s.data() + s.size(), r);
    return res.ec == std::errc() ? r : 0.0;
}

double asReal(const TData& d) {
    switch (plainTag(d)) {
        case dtReal:
            return d.RealValue;
        case dtInteger:
            return d.IntValue;
        case dtString:
            return textToReal(d.TextValue.view());
        default:
            return 0.0;
    }
}

uint8_t foldAscii(uint8_t c) {
    return c >= 'a' && c <= 'z' ? uint8_t(c - 'a' + 'A') : c;
}

// Byte-wise comparison up to and including the end of b (a shorter a reads
// as zero bytes); at a difference both bytes are folded to upper case and,
// if still different, decide.
int compareNoCase(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i <= b.size(); ++i) {
        const uint8_t x = i < a.size() ? uint8_t(a[i]) : 0;
        const uint8_t y = i < b.size() ? uint8_t(b[i]) : 0;
        if (x == y) continue;
        const uint8_t fx = foldAscii(x), fy = foldAscii(y);
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    return 0;
}

template <class T>
bool byOperator(uint8_t type, const T& a, const T& b) {
    switch (type) {
        case ieEqual:
            return a == b;
        case ieLess:
            return a < b;
        case ieGreater:
            return a > b;
        case ieLessOrEqual:
            return a <= b;
        case ieGreaterOrEqual:
            return a >= b;
        case ieNotEqual:
            return a != b;
        default:
            return false;
    }
}
}  // namespace

bool TKVIf_else::Compare(uint8_t type, const TData& op1, const TData& op2) {
    switch (plainTag(op1)) {
        case dtNull:
            return plainTag(op2) == dtNull;
        case dtInteger:
            return byOperator(type, op1.IntValue, AsInt(op2));
        case dtString: {
            const TText b = AsText(op2);
            if (type == ieEqual) return op1.TextValue.view() == b.view();
            if (type == ieNotEqual) return op1.TextValue.view() != b.view();
            return byOperator(type, compareNoCase(op1.TextValue.view(), b.view()), 0);
        }
        case dtReal:
            return byOperator(type, op1.RealValue, asReal(op2));
        default:
            return false;
    }
}

void TKVIf_else::doCompare(TData& value, uint16_t) {
    TData kept = value;
    kept.Tag = plainTag(kept);
    kept.ForwardTo = nullptr;
    const TData a = ReadValue(value, pullOp1, &Op1);
    const TData b = ReadValue(value, pullOp2, &Op2);
    ForwardCopy(value, Compare(Type, a, b) ? onTrue : onFalse, kept);
}

// ---- TKVMemory ------------------------------------------------------------

void TKVMemory::Init() {
    Value = Default;
    Value.Next = nullptr;
    Value.ForwardTo = nullptr;
}

void TKVMemory::doValue(TData& value, uint16_t) {
    Value = ReadValue(value, pullData, nullptr);
    Value.ForwardTo = nullptr;
    ForwardCopy(value, onData, Value);
}

void TKVMemory::getValue(TData& value, uint16_t) {
    value = Value;
    value.ForwardTo = nullptr;
}
