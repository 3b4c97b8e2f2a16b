#pragma once
// The per-user places of the chart tools, by the per-user folder rule of the
// files library (UserDataFolder): the user's own range file and chart folder
// (the viewer reads charts from <chart folder>/img before its installed pack).

#include <QString>

namespace chartpack {

// $XDG_DATA_HOME/tabulo (or ~/.local/share/tabulo): charts go to its img/.
QString userChartFolder();
// $XDG_DATA_HOME/tabulo/ranges.txt.
QString userRangesFile();

}  // namespace chartpack
