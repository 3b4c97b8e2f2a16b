#pragma once
// TKVFormatStr: fills a pattern with numbered placeholders %1..%Count and
// forwards the result.
//
//   Mask "%1img\Positions\%2.png", pullStr[0] wired to the program folder,
//   pullStr[1] unwired, incoming "MPvsUTG"  ->  "<folder>img\Positions\MPvsUTG.png"
//
// Rules of one doFormat:
//   - "%%" stands for a literal percent sign (so "%%1" yields "%1");
//   - %i is replaced only where the next character is not a decimal digit,
//     so %1 never matches the start of %10;
//   - %i takes the text pulled through pullStr[i-1]; where that point is
//     unwired it takes the incoming value, which the first such placeholder
//     consumes, so later unwired placeholders become empty;
//   - a value inserted for %i is scanned again by the replacements of the
//     later placeholders (a value holding "%2" is expanded when %2 is);
//   - the characters 0 and 1 are used as internal markers: in the Mask or in
//     values they come out as "%" and as nothing.

#include <cstdint>
#include <vector>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TKVFormatStr : public TObject {
public:
    TText FString;  // the last result; empty before the first doFormat
    TText Token;    // the placeholder being replaced (scratch)
    int32_t Count = 0;
    std::vector<TKV_Event> pullStr;  // entry i-1 supplies %i
    TText Mask;
    TKV_Event onFormatted;

    // Sets Count and resizes pullStr to Count entries (negative counts as 0).
    void SetCount(int32_t count);

    // Formats Mask and forwards the result as a String to onFormatted.
    void doFormat(TData& value, uint16_t index);
    // Answers with the last result as a String.
    void getResult(TData& value, uint16_t index);
};
