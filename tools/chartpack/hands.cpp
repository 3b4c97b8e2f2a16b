#include "tabulo/chartpack/hands.h"

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

}  // namespace chartpack
