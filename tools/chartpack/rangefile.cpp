#include "tabulo/chartpack/rangefile.h"

#include <algorithm>
#include <fstream>
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

std::string Spot::key() const {
    const std::string hero_name(kSeatNames[static_cast<size_t>(hero)]);
    if (isSeat()) return hero_name;
    return hero_name + "vs" + std::string(kSeatNames[static_cast<size_t>(opponent)]);
}

std::string Spot::title() const {
    const std::string hero_name(kSeatNames[static_cast<size_t>(hero)]);
    if (hero == kBigBlind && isSeat()) return "BB defence vs SB open";
    if (isSeat()) return hero_name + " open raise";
    std::string text = hero_name + " vs " + std::string(kSeatNames[static_cast<size_t>(opponent)]);
    if (facesThreeBet()) text += " 3bet";
    return text;
}

std::string Spot::caption() const {
    if (isSeat()) return std::string(kSeatNames[static_cast<size_t>(hero)]);
    return "vs " + std::string(kSeatNames[static_cast<size_t>(opponent)]);
}

ChartPack::ChartPack() {
    for (auto& spot : actions_) spot.fill(Action::Fold);
}

HandSet ChartPack::hands(int spot, Action action) const {
    HandSet set;
    for (int h = 0; h < kHandCount; ++h)
        if (this->action(spot, h) == action) set.set(static_cast<size_t>(h));
    return set;
}

HandSet ChartPack::played(int spot) const {
    return ~hands(spot, Action::Fold);
}

ChartPack parseRangeFile(std::string_view text) {
    ChartPack pack;
    std::array<int, kSpotCount> sectionLine{};  // 0: not seen yet
    std::array<int, kHandCount> handLine{};     // where a hand got its action in this section
    std::optional<Spot> spot;
    std::optional<Action> action;
    int line = 0;
    size_t pos = 0;
    // Files saved by Windows editors may start with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        auto content = text.substr(pos, end - pos);
        pos = end + 1;
        ++line;
        content = trim(content.substr(0, content.find('#')));
        if (content.empty()) continue;

        if (content.front() == '[') {
            if (content.back() != ']')
                throw RangeError(line, std::string(content), "a section header ends with ']'");
            spot = parseSection(content, line);
            action.reset();
            handLine.fill(0);
            int& seen = sectionLine[static_cast<size_t>(spot->index())];
            if (seen != 0)
                throw RangeError(line, std::string(content),
                                 "section repeated (first on line " + std::to_string(seen) + ")");
            seen = line;
            continue;
        }

        const auto colon = content.find(':');
        if (colon != std::string_view::npos) {
            const auto name = trim(content.substr(0, colon));
            if (!spot) throw RangeError(line, std::string(name), "an action outside any section");
            action = actionFromName(name);
            const bool open_section = spot->isSeat();
            if (!action)
                throw RangeError(line, std::string(name),
                                 open_section
                                     ? "unknown action (an open section takes raise:)"
                                     : "unknown action (call:, raise/fold:, raise/reraise:)");
            if (open_section != (*action == Action::Open))
                throw RangeError(line, std::string(name),
                                 open_section ? "an open section takes only raise:"
                                              : "this section takes call:, raise/fold:, "
                                                "raise/reraise:, not raise:");
            content = content.substr(colon + 1);
        }

        for (const auto& token : parseRangeTokens(content, line)) {
            if (!spot) throw RangeError(line, token.text, "a range outside any section");
            if (!action)
                throw RangeError(line, token.text, "a range needs an action first (\"call: ...\")");
            for (int h = 0; h < kHandCount; ++h) {
                if (!token.hands.test(static_cast<size_t>(h))) continue;
                const Action before = pack.action(spot->index(), h);
                if (before != Action::Fold && before != *action)
                    throw RangeError(line, token.text,
                                     Hand::fromIndex(h).key() + " is already " +
                                         std::string(actionName(before)) +
                                         " in this section (line " +
                                         std::to_string(handLine[static_cast<size_t>(h)]) + ")");
                if (before == Action::Fold) handLine[static_cast<size_t>(h)] = line;
                pack.setAction(spot->index(), h, *action);
            }
        }
    }

    for (int s = 0; s < kSpotCount; ++s) {
        const Spot missing = Spot::fromIndex(s);
        if (missing.hero == kBigBlind && missing.isSeat()) continue;
        if (sectionLine[static_cast<size_t>(s)] == 0) {
            std::string name = missing.isSeat() ? missing.caption() + " open" : missing.title();
            throw RangeError(std::max(line, 1), "[" + name + "]", "section missing from the file");
        }
    }
    // The big blind's own chart is its defence against the small blind.
    const int bb = Spot{kBigBlind, kBigBlind}.index();
    const int bb_vs_sb = Spot{kBigBlind, kSmallBlind}.index();
    for (int h = 0; h < kHandCount; ++h) pack.setAction(bb, h, pack.action(bb_vs_sb, h));
    return pack;
}

ChartPack loadRangeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parseRangeFile(text.str());
}

std::vector<std::string> checkConsistency(const ChartPack& pack) {
    std::vector<std::string> faults;
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
        if (spot.isSeat() && spot.hero != kBigBlind) continue;
        if (pack.action(s, static_cast<int>(aces)) != Action::RaiseReraise)
            faults.push_back(spot.title() + ": AA does not raise/reraise");
        if (spot.facesThreeBet()) {
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
            const HandSet dropped = pack.played(a.index()) & ~pack.played(b.index());
            if (dropped.any())
                faults.push_back(b.title() + " folds hands that " + a.title() +
                                 " plays: " + list(dropped));
        }
    }
    return faults;
}

}  // namespace chartpack
