#pragma once
// The per-user places of the chart tools: the user's own range file and
// chart folder (the viewer reads charts from <chart folder>/img before its
// installed pack), and the viewer's per-user "Custom.ini".

#include <QString>

namespace chartpack {

// $XDG_DATA_HOME/tabulo (or ~/.local/share/tabulo): charts go to its img/.
QString userChartFolder();
// $XDG_DATA_HOME/tabulo/ranges.txt.
QString userRangesFile();
// $XDG_CONFIG_HOME/Tabulo/Custom.ini (or ~/.config/Tabulo/Custom.ini).
QString userCustomIni();

}  // namespace chartpack
