#include "tabulo/chartpack/hands.h"

#include <utility>

namespace chartpack {

std::string Hand::caption() const {
    return {kRanks[static_cast<size_t>(high())], kRanks[static_cast<size_t>(low())]};
}

std::string Hand::key() const {
    std::string text = caption();
    if (isSuited()) text += 's';
    if (isOffsuit()) text += 'o';
    return text;
}

std::optional<Hand> handFromKey(std::string_view key) {
    if (key.size() < 2 || key.size() > 3) return std::nullopt;
    const int first = rankIndex(key[0]);
    const int second = rankIndex(key[1]);
    if (first < 0 || second < 0) return std::nullopt;
    if (key.size() == 2) {
        if (first != second) return std::nullopt;
        return Hand::pair(first);
    }
    if (first >= second) return std::nullopt;
    if (key[2] == 's') return Hand::suited(first, second);
    if (key[2] == 'o') return Hand::offsuit(first, second);
    return std::nullopt;
}

const std::array<std::string, kHandCount>& handKeys() {
    static const auto keys = [] {
        std::array<std::string, kHandCount> all;
        for (int i = 0; i < kHandCount; ++i) all[static_cast<size_t>(i)] = Hand::fromIndex(i).key();
        return all;
    }();
    return keys;
}

namespace {

int suitIndex(char letter) {
    const auto at = kSuits.find(letter);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The two suits of a combination, the high card's first (a pair's in order).
std::pair<int, int> comboSuits(Hand hand, int index) {
    if (hand.isSuited()) return {index, index};
    if (hand.isOffsuit()) {
        const int high = index / 3;
        const int low = index % 3;
        return {high, low < high ? low : low + 1};
    }
    for (int a = 0, i = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b, ++i)
            if (i == index) return {a, b};
    return {0, 1};
}

}  // namespace

std::optional<Combo> comboFromText(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    int r1 = rankIndex(text[0]), s1 = suitIndex(text[1]);
    int r2 = rankIndex(text[2]), s2 = suitIndex(text[3]);
    if (r1 < 0 || r2 < 0 || s1 < 0 || s2 < 0) return std::nullopt;
    if (r1 == r2 && s1 == s2) return std::nullopt;  // one card twice
    if (r1 > r2 || (r1 == r2 && s1 > s2)) {
        std::swap(r1, r2);
        std::swap(s1, s2);
    }
    if (r1 == r2) return Combo{Hand::pair(r1), s1 * (7 - s1) / 2 + (s2 - s1 - 1)};
    if (s1 == s2) return Combo{Hand::suited(r1, r2), s1};
    return Combo{Hand::offsuit(r1, r2), s1 * 3 + (s2 < s1 ? s2 : s2 - 1)};
}

std::string comboKey(Hand hand, int index) {
    const auto [high, low] = comboSuits(hand, index);
    return {kRanks[static_cast<size_t>(hand.high())], kSuits[static_cast<size_t>(high)],
            kRanks[static_cast<size_t>(hand.low())], kSuits[static_cast<size_t>(low)]};
}

}  // namespace chartpack
