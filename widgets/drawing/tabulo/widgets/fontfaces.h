#pragma once
// The faces that draw the font families the program names.
//
// The program's texts are laid out for "MS Sans Serif" (most controls) and
// "Tahoma" (chart cells, tooltips): every caption was given a box in which
// it fits in those faces at 96 DPI. Linux has neither; a family the system
// does not know falls back to a wider face (DejaVu Sans) and captions are
// cut. So the layer puts in metric-compatible stand-ins, from the Debian
// package fonts-wine, which keeps them outside the fontconfig folders:
//
//   family the program names  face drawn                   why
//   "MS Sans Serif"           "MS Sans Serif" (fonts-wine)  the same bitmap face, strikes
//                                                           for 8, 10 and 12 points, at
//                                                           device pixel ratio 1
//                             at other sizes and ratios:    an outline face of nearly the
//                             "Tahoma"                      same widths, which scales
//   "Tahoma"                  "Tahoma" (fonts-wine)         metric-compatible outline face
//   either, without fonts-wine "Liberation Sans"            Arial's metrics, close to Tahoma's
//

#include <QStringList>
#include <string_view>
#include <thread>

// The families (first found first) and pixel size that draw `family` at a
// character height of `charHeight` logical pixels on screens of the given
// device pixel ratio (the highest of the desktop's screens).
struct TFaceChoice {
    QStringList Families;
    int PixelSize = 0;
    // Drawn without smoothing, as these faces were made to be drawn at
    // these sizes at 96 DPI (the stand-ins at ratio 1; a family of the
    // user's own keeps its smoothing).
    bool Crisp = false;
};
TFaceChoice ChooseFace(std::string_view family, int charHeight, double deviceRatio);

// Registers the stand-in faces found on this machine with the toolkit; runs
// once, and only once a GUI application exists (ChooseFace calls it).
void InstallStandInFaces();

// Loads fontconfig's configuration and caches and reads the stand-in faces
// on a thread of its own, started before the application connects to the
// display, so that this work (the first text would otherwise pay it) runs
// beside that connection. The faces it read are then known to the font
// database like the system's own. Wait() joins the thread; it must have
// returned before the first font is used, and the destructor waits too.
class TFontWarmup {
public:
    TFontWarmup();
    ~TFontWarmup();
    TFontWarmup(const TFontWarmup&) = delete;
    TFontWarmup& operator=(const TFontWarmup&) = delete;
    void Wait();

private:
    std::thread thread_;
};
