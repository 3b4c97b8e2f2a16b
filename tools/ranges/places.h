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

}  // namespace ranges
