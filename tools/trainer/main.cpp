// tabulo-trainer: drills the ranges of a range file.
//
//   tabulo-trainer [RANGE_FILE]
//
// Without a file it drills the user's own range file (made from the default
// pack's file on first use), the one the range editor edits. Answers go to
// the per-user history.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "tabulo/chartpack/userfolders.h"
#include "trainerwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tabulo-trainer"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tabulo trainer: know your ranges by heart"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("RANGE_FILE"), QStringLiteral("Range file"));
    parser.process(app);

    trainer::TrainerOptions options;
    options.historyFile = chartpack::userTrainerDatabase();
    if (parser.positionalArguments().isEmpty()) {
        options.rangeFile = chartpack::userRangesFile();
        QString error;
        if (!chartpack::ensureRangesFile(options.rangeFile, &error)) {
            std::fprintf(stderr, "tabulo-trainer: %s\n", qPrintable(error));
            return 1;
        }
    } else {
        options.rangeFile = parser.positionalArguments().constFirst();
    }
    trainer::TrainerWindow window(options);
    window.show();
    return QApplication::exec();
}
