#pragma once
// The per-user places of the chart tools, by the per-user folder rule of the
// files library (UserDataFolder): the user's own range file and chart folder
// (the viewer reads charts from <chart folder>/img before its installed
// pack), and the trainer's answer history.

#include <QByteArray>
#include <QString>

namespace chartpack {

// $XDG_DATA_HOME/tabulo (or ~/.local/share/tabulo): charts go to its img/.
QString userChartFolder();
// $XDG_DATA_HOME/tabulo/ranges.txt.
QString userRangesFile();
// $XDG_DATA_HOME/tabulo/trainer.sqlite.
QString userTrainerDatabase();

// Creates a range file from the default pack's file when it does not exist
// yet; false with the reason when that fails.
bool ensureRangesFile(const QString& path, QString* error);
// The default pack's range file, built into the library.
QByteArray defaultRangesText();

}  // namespace chartpack
