// Repaint of the picture display: a chart shown in the page area (282 x 330)
// stretched smoothly and centred, in a 1000 x 1000 window, and a large chart
// stretched. Every repaint goes through the window's real paint path.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <memory>

#include "tabulo/controls/image.h"
#include "tabulo/widgets/application.h"

namespace {
QImage Chart(int size) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const int cell = size / 13;
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) {
            if ((r * 7 + c * 3) % 5 < 2)
                p.fillRect(c * cell, r * cell, cell, cell, QColor(221, 0, 22));
            p.drawText(c * cell + 3, r * cell + cell / 2, "AKs");
        }
    p.setPen(Qt::black);
    for (int i = 0; i <= 13; ++i) {
        p.drawLine(i * cell, 0, i * cell, size - 1);
        p.drawLine(0, i * cell, size - 1, i * cell);
    }
    return img;
}

struct Scene {
    TControl* form;
    std::unique_ptr<TKVImage> image;
    Scene(int chart, int w, int h, int mode) {
        ResetApplicationForTesting();
        form = NewForm(nullptr, "Bench");
        form->SetClientSize(w, h);
        image = std::make_unique<TKVImage>(form);
        image->Align = caClient;
        image->SetSmooth(true);
        image->SetMode(mode);
        image->Init();
        TBitmap bmp;
        bmp.AssignImage(Chart(chart));
        TData d;
        MakeBitmap(d, &bmp);
        image->doLoad(d, 0);
        form->Show();
        QApplication::processEvents();
    }
    ~Scene() {
        image.reset();
        delete form;
        ResetApplicationForTesting();
    }
};

void Repaint(benchmark::State& state, int chart, int w, int h, int mode) {
    Scene s(chart, w, h, mode);
    QWidget* widget = s.image->Control->Widget();
    widget->repaint();  // the first paint scales; later ones reuse it
    for (auto _ : state) widget->repaint();
}

void BM_Stretch470IntoPage(benchmark::State& st) {
    Repaint(st, 470, 282, 330, 1);
}
void BM_Centre470IntoPage(benchmark::State& st) {
    Repaint(st, 470, 282, 330, 0);
}
void BM_Stretch470Into1000(benchmark::State& st) {
    Repaint(st, 470, 1000, 1000, 1);
}
void BM_Stretch2000IntoPage(benchmark::State& st) {
    Repaint(st, 2000, 282, 330, 1);
}

// The first paint after a load or a new size: the smooth scaling itself.
void BM_FirstPaint2000IntoPage(benchmark::State& state) {
    Scene s(2000, 282, 330, 1);
    QWidget* widget = s.image->Control->Widget();
    TData mode = MakeInt(1);
    for (auto _ : state) {
        s.image->doMode(mode, 4);  // drops the scaled picture
        widget->repaint();
    }
}
}  // namespace

BENCHMARK(BM_Stretch470IntoPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Centre470IntoPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stretch470Into1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stretch2000IntoPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstPaint2000IntoPage)->Unit(benchmark::kMicrosecond);
