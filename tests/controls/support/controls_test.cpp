#include "controls_test.h"

#include <QCoreApplication>

HostWindow::HostWindow(int w, int h) {
    ResetApplicationForTesting();
    form_ = NewForm(nullptr, "Host");
    form_->SetClientSize(w, h);
}

HostWindow::~HostWindow() {
    delete form_;
    ResetApplicationForTesting();
}

void HostWindow::Show() {
    form_->Show();
    Pump();
}

QImage Grab(TControl* control) {
    QWidget* w = control->Widget();
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w->render(&img);
    return img;
}

void Pump(int rounds) {
    for (int i = 0; i < rounds; ++i) QCoreApplication::processEvents();
}

unsigned Rgb(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFFu;
}
