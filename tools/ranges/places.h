#pragma once
// Where the editor reads and writes: the range file, the chart folder (the
// pack goes to its img/), and the viewer's "Custom.ini". By default the
// user's own places; with a program folder, the portable program's.

#include <QString>

namespace ranges {

struct Places {
    QString rangesFile;
    QString chartFolder;
    QString customIni;

    static Places user();
    // Charts and "Custom.ini" of a portable program folder; the range file
    // stays the user's.
    static Places program(const QString& folder);
};

// Creates the range file from the default pack's file when it does not
// exist yet; false with the reason when that fails.
bool ensureRangesFile(const QString& path, QString* error);

// The default pack's range file, built into the program.
QByteArray defaultRangesText();

}  // namespace ranges
