#pragma once
// Chart pictures of a ChartPack, painted with QPainter into QImage, and the
// writer of the whole picture pack.
//
// Every chart is kChartWidth x kChartHeight: a title line, a grid and a
// colour legend. 564 x 660 is twice the viewer's chart page (282 x 330): the
// stretched chart is an exact 2:1 reduction with the page's aspect ratio, so
// labels stay sharp when shrunk, and on a 2x screen it shows pixel for pixel.
//
// Painting text needs a QGuiApplication (any platform; offscreen will do).

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "tabulo/chartpack/rangefile.h"

namespace chartpack {

inline constexpr int kChartWidth = 564;
inline constexpr int kChartHeight = 660;

// Opening seats in the legend's colours; the big blind in its header colour.
QColor seatColour(int seat);
// The colour of an action; Open takes the colour of the seat that opens.
QColor actionColour(Action action, int seat);

// The cell of a hand in a 13 x 13 chart, and of a spot in a 6 x 6 chart.
QRect handCellRect(Hand hand);
QRect spotCellRect(Spot spot);
// A point of a cell that only the cell's colour covers (no label, no line).
QPoint swatchPoint(const QRect& cell);

// A mixed hand's cell is split into bands, left to right in the legend's
// order with the fold band (silver) last; their widths are the frequencies.
struct Band {
    Action action;
    QRect rect;
    QColor colour;
};
std::vector<Band> strategyBands(const QRect& cell, const Strategy& strategy, Spot spot);
// Fills a cell with a hand's colours (bands when mixed) and returns the
// colour under its centre, for the label.
QColor paintStrategy(QPainter& p, const QRect& cell, const Strategy& strategy, Spot spot);
// Black text on light fills, white on dark ones.
QColor textColourOn(const QColor& fill);

// "img/Positions/UTG.png", ..., "img/Holecards/AA.png", ...: the 205 files
// of a pack, relative to the program folder.
QString spotFileName(Spot spot);
QString handFileName(Hand hand);
QStringList packFileNames();

// The 13 x 13 chart of a spot: the seat's open raise, or the actions of the
// hero in a matchup.
QImage renderSpotChart(const ChartPack& pack, Spot spot);
// A 13 x 13 chart of any colouring of the hands (an accuracy map): a hand
// without a colour stays blank; the legend names the colours.
using HandFill = std::function<std::optional<QColor>(Hand)>;
struct LegendItem {
    QColor colour;
    QString label;
};
QImage renderHandMap(const QString& title, const HandFill& fill,
                     const std::vector<LegendItem>& legend);
// The 6 x 6 seat chart of a hand: what it does in every spot.
QImage renderHandChart(const ChartPack& pack, Hand hand);

// What writePack did: the files it wrote (relative to the folder, in pack
// order), how many already held the same picture, and how many pictures of
// the pack it left alone because the pack does not hold what they show.
struct PackReport {
    QStringList written;
    int unchanged = 0;
    int untouched = 0;
};

// The pictures a pack paints: the chart of every spot it holds, and the
// hands' charts only when it holds all 36 spots (a hand's chart shows every
// spot, and a spot the pack lacks is not a fold). In pack order.
QStringList paintedFileNames(const ChartPack& pack);

// Called from the painting threads after each picture: done of total.
using PackProgress = std::function<void(int done, int total)>;

// Writes the pictures the pack paints under folder (creating img/Positions and
// img/Holecards); a file that already holds the same bytes is left alone, any
// other is replaced whole and atomically. jobs threads paint and compress
// (0: one per core). Throws std::runtime_error naming a file that cannot be
// written; the files written before it stay.
PackReport writePack(const ChartPack& pack, const QString& folder, int jobs = 0,
                     const PackProgress& progress = {});

}  // namespace chartpack
