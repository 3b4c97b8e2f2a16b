#include "tabulo/runtime/data.h"

#include <charconv>
#include <cmath>
#include <cstdio>

const char* const TagNames[TagCount] = {
    "NULL",  "Integer", "String", "Data",    "Combo",  "StrList", "Icon",   "Real",
    "Color", "Script",  "Stream", "Bitmap",  "Wave",   "Array",   "ComboEx", "Font",
    "Matrix", "Jpeg",   "Menu",   "Code",    "Object", "Type",    "Break",
};

namespace {
void clearLinks(TData& d) {
    d.ForwardTo = nullptr;
    d.Next = nullptr;
}
}  // namespace

void MakeNull(TData& d) {
    d.Tag = dtNull;
    clearLinks(d);
}

void MakeInt(TData& d, int32_t v) {
    d.Tag = dtInteger;
    d.IntValue = v;
    clearLinks(d);
}

void MakeText(TData& d, TText text) {
    d.Tag = dtString;
    d.TextValue = std::move(text);
    clearLinks(d);
}

void MakeIcon(TData& d, TIcon* icon) {
    d.Tag = dtIcon;
    d.Ref = icon;
    clearLinks(d);
}

void MakeBitmap(TData& d, TBitmap* bitmap) {
    d.Tag = dtBitmap;
    d.Ref = bitmap;
    clearLinks(d);
}

void MakeObject(TData& d, void* object) {
    d.Tag = dtObject;
    d.Ref = object;
    clearLinks(d);
}

TData MakeInt(int32_t v) {
    TData d;
    MakeInt(d, v);
    return d;
}

TData MakeText(TText text) {
    TData d;
    MakeText(d, std::move(text));
    return d;
}

int32_t TextToInt(std::string_view s) {
    uint32_t r = 0;  // unsigned arithmetic wraps by definition
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) r = r * 10u + uint32_t(s[i] - '0');
    if (negative) r = 0u - r;
    return static_cast<int32_t>(r);
}

int32_t RoundHalfEven(double v) {
    if (!std::isfinite(v)) return 0;
    const double r = std::nearbyint(v);  // default rounding mode: ties to even
    const double wrapped = std::fmod(r, 4294967296.0);
    const auto bits = static_cast<int64_t>(wrapped);
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

int32_t AsInt(const TData& d) {
    switch (d.Tag & ~ForwardFlag) {
        case dtInteger: return d.IntValue;
        case dtString: return TextToInt(d.TextValue.view());
        case dtReal: return RoundHalfEven(d.RealValue);
        default: return 0;
    }
}

int32_t AsIndex(const TData& d) {
    switch (d.Tag & ~ForwardFlag) {
        case dtInteger: return d.IntValue;
        case dtReal: return RoundHalfEven(d.RealValue);
        case dtString: {
            const std::string_view s = d.TextValue.view();
            if (s.empty()) return -1;
            const int32_t n = TextToInt(s);
            if (n == 0 && s[0] != '0') return -1;
            return n;
        }
        default: return -1;
    }
}

TText AsText(const TData& d) {
    switch (d.Tag & ~ForwardFlag) {
        case dtString: return d.TextValue;
        case dtInteger: {
            char buf[16];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d.IntValue);
            (void)ec;
            return TText(std::string_view(buf, std::size_t(end - buf)));
        }
        case dtReal: {
            // Shortest text that reads back as the same double.
            char buf[32];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d.RealValue);
            (void)ec;
            return TText(std::string_view(buf, std::size_t(end - buf)));
        }
        default: return TText();
    }
}

bool IsTrue(const TData& d) { return !((d.Tag & ~ForwardFlag) == dtInteger && d.IntValue == 0); }
