#pragma once
// Helpers for the visual component tests: a host window and pixel access.

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"

// A plain top-level window that hosts the controls of one test; freed and
// the application object forgotten afterwards.
class HostWindow {
public:
    explicit HostWindow(int w = 500, int h = 500);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    TControl* Control() const { return form_; }
    void Show();

private:
    TControl* form_;
};

// What the control's window shows now (painted into an image).
QImage Grab(TControl* control);
// Lets the toolkit deliver what is waiting (paints, posted events).
void Pump(int rounds = 3);
// 0x00RRGGBB of a pixel, for readable comparisons.
unsigned Rgb(const QImage& img, int x, int y);
constexpr unsigned RgbOf(uint32_t bgr) {  // a TColor (red in the low byte)
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
