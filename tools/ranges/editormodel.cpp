#include "editormodel.h"

#include <QSaveFile>
#include <algorithm>
#include <memory>

namespace ranges {

using namespace chartpack;

Strategy brushed(const Strategy& strategy, Action action, Weight weight) {
    int others = 0;
    for (int a = 1; a <= kPlayActionCount; ++a)
        if (static_cast<Action>(a) != action) others += strategy.weight(static_cast<Action>(a));
    const int room = kFullWeight - weight;
    Strategy result;
    for (int a = 1; a <= kPlayActionCount; ++a) {
        const auto other = static_cast<Action>(a);
        if (other == action) continue;
        const int w = strategy.weight(other);
        result.set(other, static_cast<Weight>(others > room ? w * room / others : w));
    }
    if (action != Action::Fold) result.set(action, weight);
    return result;
}

void EditorModel::load(std::string_view text) {
    document_.load(text);
    undo_.clear();
    redo_.clear();
    stroke_.reset();
    typed_.clear();
    error_.reset();
    fileText_.clear();
    emit changed();
}

void EditorModel::open(std::string text) {
    try {
        load(text);
    } catch (const RangeError& e) {
        typed_.clear();
        stroke_.reset();
        fileText_ = std::move(text);
        error_ = e;
        emit changed();
    }
}

void EditorModel::editFileText(std::string text) {
    if (textMode()) fileText_ = std::move(text);
}

bool EditorModel::readFileText() {
    if (!textMode()) return true;
    try {
        load(fileText_);
        return true;
    } catch (const RangeError& e) {
        error_ = e;
        emit changed();
        return false;
    }
}

void EditorModel::type(Action action, const std::string& text) {
    typed_[{spot_, action}] = text;
}

const std::string* EditorModel::typed(Action action) const {
    const auto found = typed_.find({spot_, action});
    return found == typed_.end() ? nullptr : &found->second;
}

void EditorModel::applyTyped(Action action) {
    if (const std::string* text = typed(action)) setActionRange(action, *text);
}

std::vector<int> EditorModel::chartSpots() {
    std::vector<int> spots;
    for (int s = 0; s < kSpotCount; ++s)
        if (Spot::fromIndex(s).hasSection()) spots.push_back(s);
    return spots;
}

void EditorModel::setSpot(int spot) {
    if (spot == spot_ || !Spot::fromIndex(spot).hasSection()) return;
    endStroke();
    spot_ = spot;
    const auto actions = spotActions(Spot::fromIndex(spot));
    if (brushAction_ != Action::Fold &&
        std::find(actions.begin(), actions.end(), brushAction_) == actions.end())
        brushAction_ = actions.front();
    emit changed();
}

void EditorModel::addSpot(int spot) {
    if (holds(spot) || !Spot::fromIndex(spot).hasSection()) return;
    endStroke();
    document_.addSpot(spot);
    undo_.push_back({spot, strategies(spot), strategies(spot), true});
    redo_.clear();
    emit changed();
}

void EditorModel::setBrush(Action action, Weight weight) {
    brushAction_ = action;
    brushWeight_ = std::min(weight, kFullWeight);
}

EditorModel::SpotStrategies EditorModel::strategies(int spot) const {
    SpotStrategies list;
    for (int h = 0; h < kHandCount; ++h) list[static_cast<size_t>(h)] = pack().strategy(spot, h);
    return list;
}

void EditorModel::apply(int spot, const SpotStrategies& list) {
    for (int h = 0; h < kHandCount; ++h)
        document_.setStrategy(spot, h, list[static_cast<size_t>(h)]);
}

bool EditorModel::record(int spot, const SpotStrategies& before) {
    const SpotStrategies after = strategies(spot);
    if (after == before) return false;
    undo_.push_back({spot, before, after});
    redo_.clear();
    return true;
}

void EditorModel::beginStroke() {
    endStroke();
    stroke_ = strategies(spot_);
}

void EditorModel::paint(int hand) {
    if (!holds(spot_)) return;
    const Strategy now = pack().strategy(spot_, hand);
    const Strategy next = brushed(now, brushAction_, brushWeight_);
    if (next == now) return;
    if (stroke_) {
        document_.setStrategy(spot_, hand, next);
        emit painted(hand);
        return;
    }
    // A hand painted outside a stroke is a step of its own.
    const SpotStrategies before = strategies(spot_);
    document_.setStrategy(spot_, hand, next);
    record(spot_, before);
    emit changed();
}

void EditorModel::endStroke() {
    if (!stroke_) return;
    const SpotStrategies before = *stroke_;
    stroke_.reset();
    if (record(spot_, before)) emit changed();
}

void EditorModel::setActionRange(Action action, const std::string& text) {
    if (!holds(spot_)) throw RangeError(1, text, "the file lacks this chart: add this spot first");
    const auto range = std::make_unique<ActionRange>();
    range->add(parseRangeTokens(text));
    const auto weights = range->weights();
    for (int h = 0; h < kHandCount; ++h) {
        const Strategy& now = pack().strategy(spot_, h);
        const int others = now.played() - now.weight(action);
        if (others + weights[static_cast<size_t>(h)] > kFullWeight) {
            throw RangeError(range->line(h), range->token(h),
                             Hand::fromIndex(h).key() +
                                 " would play more than 100%: the other actions take " +
                                 std::to_string(others / 100) + "% of it");
        }
    }
    endStroke();
    const SpotStrategies before = strategies(spot_);
    document_.setWeights(spot_, action, weights);
    record(spot_, before);
    typed_.erase({spot_, action});
    emit changed();
}

std::string EditorModel::actionRange(Action action, RangeFormat format) const {
    return formatRange(document_.weights(spot_, action), format);
}

double EditorModel::combos(Action action) const {
    double total = 0;
    for (int h = 0; h < kHandCount; ++h) {
        const Hand hand = Hand::fromIndex(h);
        const int combos = hand.isPair() ? 6 : hand.isSuited() ? 4 : 12;
        total += combos * pack().weight(spot_, h, action) / double(kFullWeight);
    }
    return total;
}

void EditorModel::undo() {
    endStroke();
    if (undo_.empty()) return;
    Step step = undo_.back();
    undo_.pop_back();
    if (step.added)
        document_.removeSpot(step.spot);
    else
        apply(step.spot, step.before);
    spot_ = step.spot;
    redo_.push_back(std::move(step));
    emit changed();
}

void EditorModel::redo() {
    endStroke();
    if (redo_.empty()) return;
    Step step = redo_.back();
    redo_.pop_back();
    if (step.added)
        document_.addSpot(step.spot);
    else
        apply(step.spot, step.after);
    spot_ = step.spot;
    undo_.push_back(std::move(step));
    emit changed();
}

bool EditorModel::save(const QString& path, QString* error) {
    endStroke();
    const std::string text = textMode() ? fileText_ : document_.text();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != qint64(text.size()) ||
        !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    if (textMode()) return true;
    // The undo history stays: its steps are about charts, not about the file.
    document_.load(text);
    emit changed();
    return true;
}

}  // namespace ranges
