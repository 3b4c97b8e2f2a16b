#pragma once
// The range editor's model: the open document, the chosen chart, the brush,
// undo/redo of every change as one step per stroke or typed range, range
// text typed but not applied yet, and the file's own text while it does not
// read as charts. No widgets here: the window listens to changed(), sent
// once per change, and to painted() while a stroke goes on.

#include <QObject>
#include <QString>
#include <array>
#include <map>
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
    // when it does not parse. Clears the undo history, the typed texts and
    // the text mode.
    void load(std::string_view text);
    // Opens a file's text: as charts when it reads, otherwise in text mode
    // with its error, so that nothing in it is lost.
    void open(std::string text);

    // Text mode: the file's text as the user has it, and why it does not read.
    bool textMode() const { return error_.has_value(); }
    const std::string& fileText() const { return fileText_; }
    const std::optional<chartpack::RangeError>& fileError() const { return error_; }
    void editFileText(std::string text);
    // Reads the text as charts; false (with the new error) keeps text mode.
    bool readFileText();
    const chartpack::RangeDocument& document() const { return document_; }
    const chartpack::ChartPack& pack() const { return document_.pack(); }

    // The charts that have a section in a range file, in seat-grid order.
    static std::vector<int> chartSpots();
    int spot() const { return spot_; }
    void setSpot(int spot);
    // Whether the file holds a chart; one it lacks shows empty and takes no
    // paint until it is added.
    bool holds(int spot) const { return pack().holds(chartpack::Spot::fromIndex(spot)); }
    // Adds a chart the file lacks, all hands folding; undone like an edit.
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
    // played more than 100%, changing nothing; also for a chart the file
    // lacks. Text typed for the action is done with once it applies.
    void setActionRange(Action action, const std::string& text);

    // Range text typed for an action of the chart, kept by chart and action
    // until it applies (another chart may be looked at meanwhile).
    void type(Action action, const std::string& text);
    const std::string* typed(Action action) const;
    // Applies what was typed for an action; throws like setActionRange and
    // keeps the text.
    void applyTyped(Action action);
    // Whether anything would be lost on closing: edits, typed text, text mode.
    bool unsaved() const { return modified() || !typed_.empty() || textMode(); }
    std::string actionRange(Action action,
                            chartpack::RangeFormat format = chartpack::RangeFormat::Classes) const;

    // Combinations (of 1326) an action of the chart takes, frequencies counted.
    double combos(Action action) const;

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();

    bool modified() const { return document_.modified(); }
    // Writes the file atomically (in text mode the text as it is); false
    // with the reason on failure. The saved text becomes the document's text.
    bool save(const QString& path, QString* error);

signals:
    // Once per change: a stroke's end, a typed range, undo, redo, another
    // chart, a file read or saved.
    void changed();
    // A hand painted while a stroke goes on; changed() follows at its end.
    void painted(int hand);

private:
    struct Step {
        int spot;
        SpotStrategies before, after;
        bool added = false;  // the spot was added to the file
    };
    SpotStrategies strategies(int spot) const;
    void apply(int spot, const SpotStrategies& strategies);
    bool record(int spot, const SpotStrategies& before);

    chartpack::RangeDocument document_;
    int spot_ = 0;
    Action brushAction_ = Action::Open;
    Weight brushWeight_ = chartpack::kFullWeight;
    std::optional<SpotStrategies> stroke_;
    std::vector<Step> undo_, redo_;
    std::map<std::pair<int, Action>, std::string> typed_;
    std::string fileText_;
    std::optional<chartpack::RangeError> error_;
};

// The strategy a brush leaves on a hand: the action at the brush's frequency,
// the other actions scaled down so that the sum stays within 100% (a fold
// brush at f scales the played actions down to 1 - f).
chartpack::Strategy brushed(const chartpack::Strategy& strategy, Action action, Weight weight);

}  // namespace ranges
