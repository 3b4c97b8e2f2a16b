#include "tabulo/chartpack/rangedocument.h"

#include "tabulo/chartpack/rangetext.h"

namespace chartpack {

void RangeDocument::load(std::string_view text) {
    std::vector<RangeLine> layout;
    const ChartPack pack = parseRangeFile(text, &layout);
    text_ = text;
    layout_ = std::move(layout);
    loaded_ = pack;
    pack_ = pack;
}

void RangeDocument::setStrategy(int spot, int hand, const Strategy& strategy) {
    pack_.setStrategy(spot, hand, strategy);
}

void RangeDocument::setWeights(int spot, Action action,
                               const std::array<Weight, kHandCount>& weights) {
    for (int h = 0; h < kHandCount; ++h) {
        Strategy strategy = pack_.strategy(spot, h);
        strategy.set(action, weights[static_cast<size_t>(h)]);
        setStrategy(spot, h, strategy);
    }
}

std::array<Weight, kHandCount> RangeDocument::weights(int spot, Action action) const {
    std::array<Weight, kHandCount> list{};
    for (int h = 0; h < kHandCount; ++h)
        list[static_cast<size_t>(h)] = pack_.weight(spot, h, action);
    return list;
}

void RangeDocument::addSpot(int spot) {
    const Spot added = Spot::fromIndex(spot);
    if (!added.hasSection()) return;
    pack_.setHeld(added, true);
}

void RangeDocument::removeSpot(int spot) {
    const Spot removed = Spot::fromIndex(spot);
    if (!removed.hasSection()) return;
    for (int h = 0; h < kHandCount; ++h) setStrategy(spot, h, Strategy{});
    pack_.setHeld(removed, false);
}

bool RangeDocument::actionChanged(int spot, Action action) const {
    for (int h = 0; h < kHandCount; ++h)
        if (pack_.weight(spot, h, action) != loaded_.weight(spot, h, action)) return true;
    return false;
}

std::string RangeDocument::text() const {
    if (!modified()) return text_;
    const bool crlf = text_.find("\r\n") != std::string::npos;
    const std::string eol = crlf ? "\r\n" : "\n";
    auto actionLine = [&](int spot, Action action) {
        const std::string range = formatWeightedRange(weights(spot, action));
        return range.empty() ? std::string() : std::string(actionName(action)) + ": " + range + eol;
    };

    // Which changed action goes where: in place of its first line, or after
    // the last line of its section that says something.
    std::vector<std::string> before(layout_.size()), after(layout_.size());
    std::vector<bool> dropped(layout_.size(), false);
    for (int s = 0; s < kSpotCount; ++s) {
        if (!Spot::fromIndex(s).hasSection() || !pack_.holds(Spot::fromIndex(s))) continue;
        for (Action action : spotActions(Spot::fromIndex(s))) {
            if (!actionChanged(s, action)) continue;
            int first = -1, last = -1;
            for (size_t i = 0; i < layout_.size(); ++i) {
                const RangeLine& line = layout_[i];
                if (line.spot != s) continue;
                if (line.header || line.label || line.ranges) last = static_cast<int>(i);
                if (line.action == action && (line.label || line.ranges)) {
                    if (first < 0) first = static_cast<int>(i);
                    dropped[i] = true;
                }
            }
            if (first >= 0)
                before[static_cast<size_t>(first)] += actionLine(s, action);
            else if (last >= 0)
                after[static_cast<size_t>(last)] += actionLine(s, action);
        }
    }

    std::string out = layout_.empty() ? text_ : text_.substr(0, layout_.front().begin);
    for (size_t i = 0; i < layout_.size(); ++i) {
        const RangeLine& line = layout_[i];
        const bool ended = line.end < text_.size();  // the last line may lack its end
        if (line.spot >= 0 && !pack_.holds(Spot::fromIndex(line.spot))) continue;  // removed
        out += before[i];
        if (!dropped[i]) {
            out.append(text_, line.begin, line.end - line.begin);
            if (ended) out += '\n';
        }
        if (!after[i].empty()) {
            if (!dropped[i] && !ended) out += eol;
            out += after[i];
        }
    }
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (!spot.hasSection() || loaded_.holds(spot) || !pack_.holds(spot)) continue;
        if (!out.empty() && out.back() != '\n') out += eol;
        out += eol + "[" + spot.sectionName() + "]" + eol;
        for (Action action : spotActions(spot)) out += actionLine(s, action);
    }
    return out;
}

}  // namespace chartpack
