#pragma once
// Where the editor reads and writes: the range file, the chart folder (the
// pack goes to its img/), and the viewer's "Custom.ini". By default the
// user's own places; with a program folder, the portable program's.
// "Custom.ini" is the very file the viewer reads: in a folder the user may
// not write (an installed viewer), the user's copy, made from the installed
// one when it does not exist yet.

#include <QString>

namespace ranges {

struct Places {
    QString rangesFile;
    QString chartFolder;
    QString customIni;

    // The user's places, with the "Custom.ini" of the viewer installed
    // beside this program (or the per-user one when there is none).
    static Places user();
    // The user's places, with the "Custom.ini" of the viewer in that folder.
    static Places forViewer(const QString& viewerFolder);
    // Charts and "Custom.ini" of a portable program folder; the range file
    // stays the user's.
    static Places program(const QString& folder);
};

}  // namespace ranges
