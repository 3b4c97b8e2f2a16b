#include "tabulo/chartpack/rangefile.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "tabulo/chartpack/handsgrid.h"

namespace chartpack {

namespace {

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> list;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) list.push_back(text.substr(start, i - start));
    }
    return list;
}

int seatIndex(std::string_view name, int line, std::string_view token) {
    for (int i = 0; i < kSeatCount; ++i)
        if (kSeatNames[static_cast<size_t>(i)] == name) return i;
    throw RangeError(line, std::string(token),
                     "unknown seat '" + std::string(name) + "' (UTG MP CO BU SB BB)");
}

// The spot named by a section header "[...]".
Spot parseSection(std::string_view header, int line) {
    const auto inner = header.substr(1, header.size() - 2);
    const auto parts = words(inner);
    const std::string usage =
        "a section is [UTG open], [MP vs UTG] (facing an open) or [UTG vs MP 3bet]";
    if (parts.size() == 2 && parts[1] == "open") {
        const int seat = seatIndex(parts[0], line, header);
        if (seat == kBigBlind)
            throw RangeError(line, std::string(header),
                             "the big blind opens nothing; its chart is [BB vs SB]");
        return {seat, seat};
    }
    if ((parts.size() == 3 || parts.size() == 4) && parts[1] == "vs") {
        const int hero = seatIndex(parts[0], line, header);
        const int opponent = seatIndex(parts[2], line, header);
        const bool threeBet = parts.size() == 4;
        if (threeBet && parts[3] != "3bet") throw RangeError(line, std::string(header), usage);
        if (hero == opponent) throw RangeError(line, std::string(header), "a seat against itself");
        if (hero < opponent && !threeBet)
            throw RangeError(line, std::string(header),
                             std::string(parts[0]) + " acts before " + std::string(parts[2]) +
                                 ": write [" + std::string(parts[0]) + " vs " +
                                 std::string(parts[2]) + " 3bet]");
        if (hero > opponent && threeBet)
            throw RangeError(line, std::string(header),
                             std::string(parts[0]) + " acts after " + std::string(parts[2]) +
                                 ": write [" + std::string(parts[0]) + " vs " +
                                 std::string(parts[2]) + "]");
        return {hero, opponent};
    }
    throw RangeError(line, std::string(header), usage);
}

std::optional<Action> actionFromName(std::string_view name) {
    for (auto action : {Action::Open, Action::Call, Action::RaiseFold, Action::RaiseReraise})
        if (actionName(action) == name) return action;
    return std::nullopt;
}

}  // namespace

std::string_view actionName(Action action) {
    switch (action) {
        case Action::Open:
            return "raise";
        case Action::Call:
            return "call";
        case Action::RaiseFold:
            return "raise/fold";
        case Action::RaiseReraise:
            return "raise/reraise";
        case Action::Fold:
            break;
    }
    return "fold";
}

std::string Spot::title() const {
    if (hero == kBigBlind && isSeat()) return "BB defence vs SB open";
    if (isSeat()) return seatName(hero) + " open raise";
    return seatGridMatchup(hero, opponent);
}

// The headers parseSection reads.
std::string Spot::sectionName() const {
    if (!hasSection()) return Spot{kBigBlind, kSmallBlind}.sectionName();
    if (isSeat()) return seatName(hero) + " open";
    return seatName(hero) + " vs " + seatName(opponent) + (facesThreeBet() ? " 3bet" : "");
}

std::vector<Action> spotActions(Spot spot) {
    if (spot.isSeat() && spot.hero != kBigBlind) return {Action::Open};
    return {Action::Call, Action::RaiseFold, Action::RaiseReraise};
}

Strategy Strategy::pure(Action action) {
    Strategy strategy;
    if (action != Action::Fold) strategy.set(action, kFullWeight);
    return strategy;
}

Weight Strategy::weight(Action action) const {
    if (action == Action::Fold) return static_cast<Weight>(kFullWeight - played());
    return weights_[static_cast<size_t>(action) - 1];
}

void Strategy::set(Action action, Weight weight) {
    if (action != Action::Fold) weights_[static_cast<size_t>(action) - 1] = weight;
}

int Strategy::played() const {
    int sum = 0;
    for (Weight w : weights_) sum += w;
    return sum;
}

bool Strategy::isPure() const {
    const int sum = played();
    if (sum == 0) return true;
    return sum == kFullWeight &&
           std::count(weights_.begin(), weights_.end(), Weight{0}) == kPlayActionCount - 1;
}

Action Strategy::main() const {
    Action best = Action::Fold;
    Weight most = weight(Action::Fold);
    for (size_t i = 0; i < weights_.size(); ++i) {
        if (weights_[i] > most || (weights_[i] == most && best == Action::Fold && most > 0)) {
            most = weights_[i];
            best = static_cast<Action>(i + 1);
        }
    }
    return best;
}

HandSet ChartPack::hands(int spot, Action action) const {
    HandSet set;
    for (int h = 0; h < kHandCount; ++h)
        if (weight(spot, h, action) > 0) set.set(static_cast<size_t>(h));
    return set;
}

HandSet ChartPack::played(int spot) const {
    HandSet set;
    for (int h = 0; h < kHandCount; ++h)
        if (strategy(spot, h).played() > 0) set.set(static_cast<size_t>(h));
    return set;
}

namespace {

std::string percent(int weight) {
    std::string text = std::to_string(weight / 100);
    if (weight % 100 != 0) {
        text += "." + std::to_string(100 + weight % 100).substr(1);
        if (text.back() == '0') text.pop_back();
    }
    return text + "%";
}

// "call: ..." starts with an action label; "AJo:0.6", "AhKs: 0.5" and
// "[50]AKs:..." start with a token (action names are lower case, ranks upper).
bool startsWithLabel(std::string_view content, size_t colon) {
    const auto name = trim(content.substr(0, colon));
    if (name.empty() || name.find_first_of(", \t") != std::string_view::npos) return false;
    return rankIndex(name[0]) < 0 && name[0] != '[';
}

// "[UTG open]" and not "[50]AKs, KQs[/50]".
bool isSectionHeader(std::string_view content) {
    return content.front() == '[' &&
           (content.size() < 2 ||
            ((content[1] < '0' || content[1] > '9') && content[1] != '.' && content[1] != '/'));
}

// The frequencies of one section as they are read, with where each came from.
class SectionReader {
public:
    void start() {
        actions_ = {};
        last_ = {};
        lastCombo_ = {};
    }

    void add(const RangeToken& token, Action action) {
        actions_[static_cast<size_t>(action) - 1].add(token);
        for (int h = 0; h < kHandCount; ++h) {
            if (!token.hands.test(static_cast<size_t>(h))) continue;
            last_[static_cast<size_t>(h)] = {token.line, token.text};
            auto& last = lastCombo_[static_cast<size_t>(h)];
            for (int c = 0; c < comboCount(Hand::fromIndex(h)); ++c)
                if (token.combo < 0 || token.combo == c)
                    last[static_cast<size_t>(c)] = {token.line, token.text};
        }
    }

    // Stores the section into the pack; throws for a hand or a combination
    // played more than 100%.
    void finish(ChartPack& pack, int spot) const {
        for (int h = 0; h < kHandCount; ++h) {
            const Hand hand = Hand::fromIndex(h);
            int total = 0;
            for (const auto& range : actions_)
                if (range.listed(h)) total += range.total(h);
            if (total > comboCount(hand) * kFullWeight)
                refuse(
                    h, hand.key(), [&](const ActionRange& r) { return r.weight(h); },
                    meanWeight(total, hand), last_[static_cast<size_t>(h)]);
            for (int c = 0; c < comboCount(hand); ++c) {
                int sum = 0;
                for (const auto& range : actions_) sum += range.combo(h, c);
                if (sum > kFullWeight)
                    refuse(
                        h, comboKey(hand, c), [&](const ActionRange& r) { return r.combo(h, c); },
                        sum, lastCombo_[static_cast<size_t>(h)][static_cast<size_t>(c)]);
            }
            pack.setStrategy(spot, h, strategyOf(h));
        }
    }

private:
    // The means of the actions, each to the nearest step; when their rounding
    // would take the hand over 100%, the action rounded up the most gives way.
    Strategy strategyOf(int h) const {
        const Hand hand = Hand::fromIndex(h);
        std::array<int, kPlayActionCount> weights{};
        int sum = 0;
        for (size_t a = 0; a < actions_.size(); ++a) {
            weights[a] = meanWeight(actions_[a].total(h), hand);
            sum += weights[a];
        }
        while (sum > kFullWeight) {
            size_t most = 0;
            int up = -1;
            for (size_t a = 0; a < actions_.size(); ++a) {
                const int rounded = weights[a] * comboCount(hand) - actions_[a].total(h);
                if (weights[a] > 0 && rounded > up) up = rounded, most = a;
            }
            --weights[most];
            --sum;
        }
        Strategy strategy;
        for (size_t a = 0; a < actions_.size(); ++a)
            strategy.set(static_cast<Action>(a + 1), static_cast<Weight>(weights[a]));
        return strategy;
    }

    using Mention = std::pair<int, std::string>;  // line and token

    template <typename Share>
    [[noreturn]] void refuse(int h, const std::string& what, Share share, int sum,
                             const Mention& mention) const {
        std::string parts;
        for (size_t a = 0; a < actions_.size(); ++a) {
            if (!actions_[a].listed(h)) continue;
            parts += std::string(parts.empty() ? "" : " + ") +
                     std::string(actionName(static_cast<Action>(a + 1))) + " " +
                     percent(share(actions_[a])) + " (line " + std::to_string(actions_[a].line(h)) +
                     ")";
        }
        const auto& [line, token] = mention;
        throw RangeError(
            line, token,
            what + " plays " + parts + " = " + percent(sum) + " in this section, more than 100%");
    }

    std::array<ActionRange, kPlayActionCount> actions_{};
    // The last token that named each hand, and each combination.
    std::array<Mention, kHandCount> last_{};
    std::array<std::array<Mention, kMostCombos>, kHandCount> lastCombo_{};
};

}  // namespace

ChartPack parseRangeFile(std::string_view text, std::vector<RangeLine>* layout) {
    ChartPack pack;
    std::array<int, kSpotCount> sectionLine{};  // 0: not seen yet
    const auto reader = std::make_unique<SectionReader>();
    std::optional<Spot> spot;
    Action action = Action::Fold;  // Fold: no action yet in this section
    int line = 0;
    size_t pos = 0;
    // Files saved by Windows editors may start with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        auto content = text.substr(pos, end - pos);
        RangeLine info{pos, end, spot ? spot->index() : -1};
        pos = end + 1;
        ++line;
        content = trim(content.substr(0, content.find('#')));
        if (content.empty()) {
            if (layout) layout->push_back(info);
            continue;
        }

        if (isSectionHeader(content)) {
            if (content.back() != ']')
                throw RangeError(line, std::string(content), "a section header ends with ']'");
            if (spot) reader->finish(pack, spot->index());
            spot = parseSection(content, line);
            action = Action::Fold;
            reader->start();
            int& seen = sectionLine[static_cast<size_t>(spot->index())];
            if (seen != 0)
                throw RangeError(line, std::string(content),
                                 "section repeated (first on line " + std::to_string(seen) + ")");
            seen = line;
            if (layout) layout->push_back({info.begin, info.end, spot->index(), true});
            continue;
        }

        const auto colon = content.find(':');
        if (colon != std::string_view::npos && startsWithLabel(content, colon)) {
            const auto name = trim(content.substr(0, colon));
            if (!spot) throw RangeError(line, std::string(name), "an action outside any section");
            const auto named = actionFromName(name);
            const bool open_section = spot->isSeat();
            if (!named)
                throw RangeError(line, std::string(name),
                                 open_section
                                     ? "unknown action (an open section takes raise:)"
                                     : "unknown action (call:, raise/fold:, raise/reraise:)");
            action = *named;
            if (open_section != (action == Action::Open))
                throw RangeError(line, std::string(name),
                                 open_section ? "an open section takes only raise:"
                                              : "this section takes call:, raise/fold:, "
                                                "raise/reraise:, not raise:");
            content = content.substr(colon + 1);
            info.label = true;
        }

        for (const auto& token : parseRangeTokens(content, line)) {
            if (!spot) throw RangeError(line, token.text, "a range outside any section");
            if (action == Action::Fold)
                throw RangeError(line, token.text, "a range needs an action first (\"call: ...\")");
            reader->add(token, action);
            info.ranges = true;
        }
        info.action = action;
        if (layout) layout->push_back(info);
    }
    if (spot) reader->finish(pack, spot->index());

    for (int s = 0; s < kSpotCount; ++s)
        if (Spot::fromIndex(s).hasSection())
            pack.setHeld(Spot::fromIndex(s), sectionLine[static_cast<size_t>(s)] != 0);
    return pack;
}

ChartPack loadRangeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parseRangeFile(text.str());
}

std::string heldSpotKeys(const ChartPack& pack) {
    std::string keys;
    for (int s = 0; s < kSpotCount; ++s)
        if (pack.holds(Spot::fromIndex(s)))
            keys += (keys.empty() ? "" : " ") + Spot::fromIndex(s).key();
    return keys;
}

std::vector<std::string> checkConsistency(const ChartPack& pack, bool complete) {
    std::vector<std::string> faults;
    if (complete)
        for (int s = 0; s < kSpotCount; ++s) {
            const Spot spot = Spot::fromIndex(s);
            if (spot.hasSection() && !pack.holds(spot))
                faults.push_back("[" + spot.sectionName() + "]: section missing from the file");
        }
    auto held = [&](Spot spot) { return pack.holds(spot); };
    auto list = [](const HandSet& set) {
        std::string text;
        for (const auto& key : handKeysOf(set)) text += (text.empty() ? "" : " ") + key;
        return text;
    };

    for (int seat = 0; seat < kBigBlind; ++seat) {
        HandSet grid;
        for (int h = 0; h < kHandCount; ++h) {
            const Hand hand = Hand::fromIndex(h);
            if (openingSeat(hand.row, hand.col) <= seat) grid.set(static_cast<size_t>(h));
        }
        if (!held(Spot{seat, seat})) continue;
        const HandSet opens = pack.opens(seat);
        const std::string name(kSeatNames[static_cast<size_t>(seat)]);
        if ((opens & ~grid).any())
            faults.push_back(name +
                             " opens hands the hand grid does not give it: " + list(opens & ~grid));
        if ((grid & ~opens).any())
            faults.push_back(name +
                             " folds hands the hand grid opens from it: " + list(grid & ~opens));
    }

    const size_t aces = static_cast<size_t>(Hand::pair(0).index());
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if ((spot.isSeat() && spot.hero != kBigBlind) || !held(spot)) continue;
        if (pack.action(s, static_cast<int>(aces)) != Action::RaiseReraise)
            faults.push_back(spot.title() + ": AA does not raise/reraise");
        if (spot.facesThreeBet() && held(Spot{spot.hero, spot.hero})) {
            const HandSet extra = pack.played(s) & ~pack.opens(spot.hero);
            if (extra.any())
                faults.push_back(spot.title() + ": plays hands " + spot.caption().substr(3) +
                                 " 3-bets but " + std::string(kSeatNames[size_t(spot.hero)]) +
                                 " never opens: " + list(extra));
        }
    }

    // Against a later opener (or a later 3-bettor) a hero continues with at
    // least the hands it continues with against an earlier one.
    for (int hero = 0; hero < kSeatCount; ++hero) {
        for (int earlier = 0; earlier < kSeatCount; ++earlier) {
            const int later = earlier + 1;
            if (later >= kSeatCount || earlier == hero || later == hero) continue;
            if ((earlier < hero) != (later < hero)) continue;
            const Spot a{hero, earlier};
            const Spot b{hero, later};
            if (!held(a) || !held(b)) continue;
            const HandSet dropped = pack.played(a.index()) & ~pack.played(b.index());
            if (dropped.any())
                faults.push_back(b.title() + " folds hands that " + a.title() +
                                 " plays: " + list(dropped));
        }
    }
    return faults;
}

}  // namespace chartpack
