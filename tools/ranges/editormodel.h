#pragma once
// The range editor's model: the open document, the chosen chart, the brush,
// and undo/redo of every change as one step per stroke or typed range.
// No widgets here; the window listens to changed().

#include <QObject>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "tabulo/chartpack/rangedocument.h"
#include "tabulo/chartpack/rangetext.h"

namespace ranges {

using chartpack::Action;
using chartpack::Weight;

class EditorModel : public QObject {
    Q_OBJECT
public:
    using SpotStrategies = std::array<chartpack::Strategy, chartpack::kHandCount>;

    // Reads text; throws chartpack::RangeError and keeps the current state
    // when it does not parse. Clears the undo history.
    void load(std::string_view text);
    const chartpack::RangeDocument& document() const { return document_; }
    const chartpack::ChartPack& pack() const { return document_.pack(); }

    // The charts that have a section in a range file, in seat-grid order.
    static std::vector<int> chartSpots();
    int spot() const { return spot_; }
    void setSpot(int spot);
    // Whether the file holds a chart; one it lacks shows empty and takes no
    // paint until it is added.
    bool holds(int spot) const { return pack().holds(chartpack::Spot::fromIndex(spot)); }
    void addSpot(int spot);

    // The brush: an action of the chart (Fold clears) and its frequency.
    Action brushAction() const { return brushAction_; }
    Weight brushWeight() const { return brushWeight_; }
    void setBrush(Action action, Weight weight);

    // A stroke paints hands until it ends; it undoes as one step.
    void beginStroke();
    void paint(int hand);
    void endStroke();

    // Replaces what one action of the chart plays with the hands of a range
    // text; throws chartpack::RangeError for bad text or a hand that would be
    // played more than 100%, changing nothing.
    void setActionRange(Action action, const std::string& text);
    std::string actionRange(Action action,
                            chartpack::RangeFormat format = chartpack::RangeFormat::Classes) const;

    // Combinations (of 1326) an action of the chart takes, frequencies counted.
    double combos(Action action) const;

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();

    bool modified() const { return document_.modified(); }
    // Writes the file atomically; false with the reason on failure. The
    // saved text becomes the document's text.
    bool save(const QString& path, QString* error);

signals:
    void changed();

private:
    struct Step {
        int spot;
        SpotStrategies before, after;
    };
    SpotStrategies strategies(int spot) const;
    void apply(int spot, const SpotStrategies& strategies);
    void record(int spot, const SpotStrategies& before);

    chartpack::RangeDocument document_;
    int spot_ = 0;
    Action brushAction_ = Action::Open;
    Weight brushWeight_ = chartpack::kFullWeight;
    std::optional<SpotStrategies> stroke_;
    std::vector<Step> undo_, redo_;
};

// The strategy a brush leaves on a hand: the action at the brush's frequency,
// the other actions scaled down so that the sum stays within 100% (a fold
// brush at f scales the played actions down to 1 - f).
chartpack::Strategy brushed(const chartpack::Strategy& strategy, Action action, Weight weight);

}  // namespace ranges
