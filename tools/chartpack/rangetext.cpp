#include "tabulo/chartpack/rangetext.h"

#include <map>
#include <vector>

namespace chartpack {

namespace {

bool has(const HandSet& hands, Hand hand) {
    return hands.test(static_cast<size_t>(hand.index()));
}

char rank(int index) {
    return kRanks[static_cast<size_t>(index)];
}

// Runs of consecutive low ranks [first, last] (first the higher rank).
using Runs = std::vector<std::pair<int, int>>;

Runs kickerRuns(const HandSet& hands, int high, bool suited) {
    Runs runs;
    for (int low = high + 1; low < kRankCount; ++low) {
        const Hand hand = suited ? Hand::suited(high, low) : Hand::offsuit(high, low);
        if (!has(hands, hand)) continue;
        if (!runs.empty() && runs.back().second == low - 1)
            runs.back().second = low;
        else
            runs.push_back({low, low});
    }
    return runs;
}

// "AKs", "ATs+" (a run from the top kicker), "A5s-A2s"; mark empty for both.
void appendKickers(std::vector<std::string>& tokens, int high, const Runs& runs,
                   const std::string& mark) {
    for (const auto& [first, last] : runs) {
        const std::string top = std::string{rank(high), rank(first)} + mark;
        const std::string bottom = std::string{rank(high), rank(last)} + mark;
        if (first == last)
            tokens.push_back(top);
        else if (first == high + 1)
            tokens.push_back(bottom + "+");
        else
            tokens.push_back(top + "-" + bottom);
    }
}

}  // namespace

std::string formatRange(const HandSet& hands) {
    std::vector<std::string> tokens;
    for (int r = 0; r < kRankCount;) {
        if (!has(hands, Hand::pair(r))) {
            ++r;
            continue;
        }
        int last = r;
        while (last + 1 < kRankCount && has(hands, Hand::pair(last + 1))) ++last;
        const std::string top(2, rank(r)), bottom(2, rank(last));
        if (r == 0 && last > 0)
            tokens.push_back(bottom + "+");
        else if (r == last)
            tokens.push_back(top);
        else
            tokens.push_back(top + "-" + bottom);
        r = last + 1;
    }
    std::vector<std::string> offsuit;
    for (int high = 0; high < kRankCount - 1; ++high) {
        const Runs suited = kickerRuns(hands, high, true);
        const Runs off = kickerRuns(hands, high, false);
        if (suited == off) {
            appendKickers(tokens, high, suited, "");
        } else {
            appendKickers(tokens, high, suited, "s");
            appendKickers(offsuit, high, off, "o");
        }
    }
    tokens.insert(tokens.end(), offsuit.begin(), offsuit.end());
    std::string text;
    for (const auto& token : tokens) text += (text.empty() ? "" : ", ") + token;
    return text;
}

namespace {

// The played hands grouped by weight, the heaviest first.
std::map<Weight, HandSet, std::greater<>> weightGroups(
    const std::array<Weight, kHandCount>& weights) {
    std::map<Weight, HandSet, std::greater<>> groups;
    for (int h = 0; h < kHandCount; ++h) {
        const Weight w = weights[static_cast<size_t>(h)];
        if (w > 0) groups[w].set(static_cast<size_t>(h));
    }
    return groups;
}

}  // namespace

std::string formatWeightedRange(const std::array<Weight, kHandCount>& weights) {
    std::string text;
    for (const auto& [weight, hands] : weightGroups(weights)) {
        std::string group = formatRange(hands);
        if (weight < kFullWeight) {
            const std::string suffix = ":" + formatWeight(weight);
            std::string tagged;
            size_t start = 0;
            while (start <= group.size()) {
                auto end = group.find(", ", start);
                if (end == std::string::npos) end = group.size();
                tagged += (tagged.empty() ? "" : ", ") + group.substr(start, end - start) + suffix;
                start = end + 2;
            }
            group = tagged;
        }
        text += (text.empty() ? "" : ", ") + group;
    }
    return text;
}

namespace {

// 60, 12.5, 0.01: a weight in percent, as short as it reads back.
std::string percentText(Weight weight) {
    std::string text = std::to_string(weight / 100);
    if (weight % 100 != 0) {
        text += "." + std::to_string(100 + weight % 100).substr(1);
        if (text.back() == '0') text.pop_back();
    }
    return text;
}

std::string combinations(const std::array<Weight, kHandCount>& weights) {
    std::string text;
    for (int h = 0; h < kHandCount; ++h) {
        const Weight w = weights[static_cast<size_t>(h)];
        if (w == 0) continue;
        const Hand hand = Hand::fromIndex(h);
        for (int c = 0; c < comboCount(hand); ++c)
            text += (text.empty() ? "" : ", ") + comboKey(hand, c) + ": " + formatWeight(w);
    }
    return text;
}

std::string brackets(const std::array<Weight, kHandCount>& weights) {
    std::string text;
    for (const auto& [weight, hands] : weightGroups(weights)) {
        std::string group = formatRange(hands);
        if (weight < kFullWeight) {
            const std::string percent = percentText(weight);
            group = "[" + percent + "]" + group + "[/" + percent + "]";
        }
        text += (text.empty() ? "" : ", ") + group;
    }
    return text;
}

}  // namespace

std::string formatRange(const std::array<Weight, kHandCount>& weights, RangeFormat format) {
    switch (format) {
        case RangeFormat::Combinations:
            return combinations(weights);
        case RangeFormat::Brackets:
            return brackets(weights);
        case RangeFormat::Classes:
            break;
    }
    return formatWeightedRange(weights);
}

}  // namespace chartpack
