#pragma once
// The 169 starting hands of hold'em as the cells of a 13 x 13 grid.
//
// Ranks are indexed 0 to 12 in the order A K Q J T 9 8 7 6 5 4 3 2. The cell
// in row r and column c is the pair of rank r when r == c, the suited hand of
// ranks r and c above the diagonal (r < c) and the offsuit hand below it
// (r > c). The higher rank is written first: "AA", "AKs", "AKo", "T9s".

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chartpack {

inline constexpr int kRankCount = 13;
inline constexpr int kHandCount = kRankCount * kRankCount;
inline constexpr std::string_view kRanks = "AKQJT98765432";

// The index of a rank letter (0 for 'A' .. 12 for '2'), or -1.
constexpr int rankIndex(char letter) {
    const auto at = kRanks.find(letter);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

struct Hand {
    int row = 0;  // rank index; the higher rank of a suited hand
    int col = 0;  // rank index; the higher rank of an offsuit hand

    static constexpr Hand fromIndex(int index) { return {index / kRankCount, index % kRankCount}; }
    static constexpr Hand pair(int rank) { return {rank, rank}; }
    // high < low in rank index, i.e. the first letter is the higher rank.
    static constexpr Hand suited(int high, int low) { return {high, low}; }
    static constexpr Hand offsuit(int high, int low) { return {low, high}; }

    constexpr int index() const { return row * kRankCount + col; }
    constexpr bool isPair() const { return row == col; }
    constexpr bool isSuited() const { return row < col; }
    constexpr bool isOffsuit() const { return row > col; }
    constexpr int high() const { return row < col ? row : col; }
    constexpr int low() const { return row < col ? col : row; }

    // "AA", "AKs", "AKo".
    std::string key() const;
    // The two rank letters without the suit mark: "AK" for both AKs and AKo.
    std::string caption() const;

    friend constexpr bool operator==(Hand, Hand) = default;
};

// The hand named by an exact key ("AA", "AKs", "AKo"), or nothing.
std::optional<Hand> handFromKey(std::string_view key);

// All 169 keys by cell index (row by row).
const std::array<std::string, kHandCount>& handKeys();

// The combinations of two cards: 6 of a pair, 4 of a suited hand, 12 of an
// offsuit one; 1326 in all. Suits are the lower-case letters s h d c. A
// combination is numbered within its hand: a suited hand's by its suit, a
// pair's by its two suits in order (sh sd sc hd hc dc), an offsuit hand's by
// the high card's suit, then the low card's.
inline constexpr int kComboTotal = 1326;
inline constexpr int kMostCombos = 12;
inline constexpr std::string_view kSuits = "shdc";

constexpr int comboCount(Hand hand) {
    return hand.isPair() ? 6 : hand.isSuited() ? 4 : 12;
}

struct Combo {
    Hand hand;
    int index = 0;  // 0 .. comboCount(hand) - 1
};

// The combination of a four-letter text such as "AhKs", "KsAh" or "7c7d"
// (either card first), or nothing when it is not two distinct cards.
std::optional<Combo> comboFromText(std::string_view text);
// "AhKs": the higher card first.
std::string comboKey(Hand hand, int index);

}  // namespace chartpack
