#include "tabulo/components/formatstr.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {
constexpr char PercentMarker = '\0';
constexpr char ValueMarker = '\1';

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Replaces every "%%" by the percent marker, left to right.
void markPercents(std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 1 < s.size() && s[i + 1] == '%') {
            out.push_back(PercentMarker);
            ++i;
        } else {
            out.push_back(s[i]);
        }
    }
    s.swap(out);
}

// Replaces each occurrence of token not followed by a digit by the value
// marker and value. Inserted text is not scanned again by this pass.
void replaceToken(std::string& s, std::string_view token, std::string_view value) {
    std::string out;
    std::size_t from = 0;
    bool changed = false;
    for (std::size_t pos = s.find(token); pos != std::string::npos; pos = s.find(token, pos + 1)) {
        const std::size_t after = pos + token.size();
        if (after < s.size() && isDigit(s[after])) continue;
        if (!changed) {
            out.reserve(s.size() + value.size() + 1);
            changed = true;
        }
        out.append(s, from, pos - from);
        out.push_back(ValueMarker);
        out.append(value);
        from = after;
        pos = after - 1;  // the next search starts right after the token
    }
    if (!changed) return;
    out.append(s, from, std::string::npos);
    s.swap(out);
}

// Drops the value markers and turns percent markers into "%".
void finish(std::string& s) {
    std::size_t w = 0;
    for (char c : s) {
        if (c == ValueMarker) continue;
        s[w++] = c == PercentMarker ? '%' : c;
    }
    s.resize(w);
}
}  // namespace

void TKVFormatStr::SetCount(int32_t count) {
    if (count < 0) count = 0;
    Count = count;
    pullStr.resize(std::size_t(count));
}

void TKVFormatStr::doFormat(TData& value, uint16_t) {
    std::string s(Mask.view());
    markPercents(s);
    static const TKV_Event unwired;
    for (int32_t i = 1; i <= Count; ++i) {
        std::string token(1, '%');
        token += std::to_string(i);
        Token = TText(token);
        // A Count stored without SetCount leaves entries missing: they read as unwired.
        const std::size_t at = std::size_t(i - 1);
        const TKV_Event& point = at < pullStr.size() ? pullStr[at] : unwired;
        const TText part = ReadText(value, point, TText());
        replaceToken(s, token, part.view());
    }
    finish(s);
    FString = TText(s);
    ForwardText(value, onFormatted, FString);
}

void TKVFormatStr::getResult(TData& value, uint16_t) {
    MakeText(value, FString);
}
