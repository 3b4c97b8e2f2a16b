#pragma once
// TData: the tagged value that travels along every link.
//
// A value owns its text (shared by reference count) but never what Ref
// points at: a Bitmap value lends the sender's bitmap for the duration of one
// call only, and a receiver that wants to keep the picture copies it.

#include <cstdint>
#include <string_view>

#include "tabulo/runtime/text.h"

class TBitmap;
class TIcon;
struct TKV_Event;

// The kinds of value, indexed by tag.
enum TDataTag : uint8_t {
    dtNull = 0,
    dtInteger = 1,
    dtString = 2,
    dtData = 3,
    dtCombo = 4,
    dtStrList = 5,
    dtIcon = 6,
    dtReal = 7,
    dtColor = 8,
    dtScript = 9,
    dtStream = 10,
    dtBitmap = 11,
    dtWave = 12,
    dtArray = 13,
    dtComboEx = 14,
    dtFont = 15,
    dtMatrix = 16,
    dtJpeg = 17,
    dtMenu = 18,
    dtCode = 19,
    dtObject = 20,
    dtType = 21,
    dtBreak = 22,
};
inline constexpr int TagCount = 23;
inline constexpr uint8_t ForwardFlag = 0x80;

// The system's names for the kinds ("NULL", "Integer", ... "Break").
extern const char* const TagNames[TagCount];

struct TData {
    uint8_t Tag = dtNull;
    int32_t IntValue = 0;
    TText TextValue;
    double RealValue = 0.0;
    // Meaningful only while the tag carries ForwardFlag: the output point the
    // dispatcher passes this value to next.
    const TKV_Event* ForwardTo = nullptr;
    // Next value of a multi-value chain; not owned, empty in every value this
    // system makes.
    const TData* Next = nullptr;
    // Icon, Bitmap and Object values refer to their object here. The process
    // is 64-bit, so references never travel inside IntValue.
    void* Ref = nullptr;
};

// Makers. Each leaves ForwardTo and Next empty; other fields keep what they held.
void MakeNull(TData& d);
void MakeInt(TData& d, int32_t v);
void MakeText(TData& d, TText text);
void MakeIcon(TData& d, TIcon* icon);
void MakeBitmap(TData& d, TBitmap* bitmap);
void MakeObject(TData& d, void* object);
TData MakeInt(int32_t v);
TData MakeText(TText text);

// Conversions; the value is not changed.
int32_t AsInt(const TData& d);
int32_t AsIndex(const TData& d);
TText AsText(const TData& d);
bool IsTrue(const TData& d);
inline bool IsInt(const TData& d) { return d.Tag == dtInteger; }
inline int TagOf(const TData& d) { return d.Tag; }
inline TBitmap* BitmapOf(const TData& d) {
    return d.Tag == dtBitmap ? static_cast<TBitmap*>(d.Ref) : nullptr;
}
inline TIcon* IconOf(const TData& d) {
    return d.Tag == dtIcon ? static_cast<TIcon*>(d.Ref) : nullptr;
}

// Text to integer: optional sign, then decimal digits up to the first
// non-digit; wraps in 32 bits without notice. "12ab" -> 12, "ab" -> 0.
int32_t TextToInt(std::string_view s);
// Nearest integer, ties to the even neighbour, wrapped to 32 bits.
int32_t RoundHalfEven(double v);
