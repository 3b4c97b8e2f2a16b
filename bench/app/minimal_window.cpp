// The floor for the launch benchmark: a plain Qt Widgets program that shows
// one window of the main window's size and title, with one text in the
// program's font, and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Custom"));
    window.setWindowTitle(QStringLiteral("Qt minimal window"));
    window.resize(282, 350);
    window.show();
    return app.exec();
}
