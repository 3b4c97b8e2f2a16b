// tabulo-ranges: the range editor.
//
//   tabulo-ranges [--program-folder DIR] [ranges.txt]
//
// Opens the given range file, or the user's own copy (made from the default
// pack's file on first use). Charts and Custom-page slots go to the user's
// chart folder and "Custom.ini", or to those of a portable program folder.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "mainwindow.h"
#include "places.h"
#include "tabulo/chartpack/userfolders.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tabulo-ranges"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tabulo range editor"));
    parser.addHelpOption();
    const QCommandLineOption programFolder(
        QStringLiteral("program-folder"),
        QStringLiteral("Write charts and Custom.ini into this program folder."),
        QStringLiteral("folder"));
    parser.addOption(programFolder);
    parser.addPositionalArgument(QStringLiteral("ranges.txt"), QStringLiteral("Range file"));
    parser.process(app);

    ranges::Places places = parser.isSet(programFolder)
                                ? ranges::Places::program(parser.value(programFolder))
                                : ranges::Places::user();
    if (!parser.positionalArguments().isEmpty())
        places.rangesFile = parser.positionalArguments()[0];
    QString error;
    if (parser.positionalArguments().isEmpty() &&
        !chartpack::ensureRangesFile(places.rangesFile, &error)) {
        std::fprintf(stderr, "tabulo-ranges: %s\n", qPrintable(error));
        return 1;
    }
    ranges::MainWindow window(places);
    window.openFile(places.rangesFile);
    window.show();
    return QApplication::exec();
}
