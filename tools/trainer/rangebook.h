#pragma once
// A range file as the trainer drills it: the pack and, for each spot the
// file holds, its actions in the file's order.

#include <QString>
#include <string_view>
#include <vector>

#include "tabulo/chartpack/rangefile.h"

namespace trainer {

struct BookSpot {
    chartpack::Spot spot;
    // The actions the file lists for the spot, in the file's order, fold last.
    std::vector<chartpack::Action> actions;
};

struct RangeBook {
    chartpack::ChartPack pack;
    std::vector<BookSpot> spots;

    const BookSpot* find(chartpack::Spot spot) const;
};

// Reads range-file text; throws chartpack::RangeError naming the line and
// the token. The spots are those the pack holds (ChartPack::holds).
RangeBook readRangeBook(std::string_view text);
// Reads a file; also throws std::runtime_error when it cannot be read.
RangeBook loadRangeBook(const QString& path);

}  // namespace trainer
