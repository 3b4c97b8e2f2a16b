#pragma once
// A range file open for editing: its text and the charts read from it. Edits
// change the charts; text() writes back only the action lines of the actions
// that changed, so comments, blank lines, the order of sections and lines,
// line ends and every untouched byte stay as the user wrote them. A spot
// added to a file that lacked it gets its section at the end.

#include <string>
#include <string_view>
#include <vector>

#include "tabulo/chartpack/rangefile.h"

namespace chartpack {

class RangeDocument {
public:
    // Reads the text; throws RangeError (and keeps the previous state) when it
    // does not parse.
    void load(std::string_view text);

    const ChartPack& pack() const { return pack_; }
    // Sets one hand's strategy; the big blind's own chart follows BB vs SB.
    void setStrategy(int spot, int hand, const Strategy& strategy);
    // Sets how often every hand of a spot takes one action.
    void setWeights(int spot, Action action, const std::array<Weight, kHandCount>& weights);
    std::array<Weight, kHandCount> weights(int spot, Action action) const;
    // Gives the pack a spot the file lacks, every hand folding; its section
    // is written at the end of the text.
    void addSpot(int spot);
    // Takes a spot out of the pack; text() leaves out its whole section.
    void removeSpot(int spot);

    bool modified() const { return !(pack_ == loaded_); }
    // The file text with the edits; the loaded text itself when unmodified.
    std::string text() const;

private:
    bool actionChanged(int spot, Action action) const;

    std::string text_;
    std::vector<RangeLine> layout_;
    ChartPack loaded_;
    ChartPack pack_;
};

}  // namespace chartpack
