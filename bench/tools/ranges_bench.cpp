// The whole 205-chart pack rendered into an empty folder (every picture
// painted, compressed and written) and into a folder that already holds it
// (painted and compressed, nothing written); one chart painted alone; and
// the editor's answer to a one-cell brush stroke, which repaints the counts,
// the range texts and the preview synchronously; and one step of a drag.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "mainwindow.h"
#include "tabulo/chartpack/render.h"

using namespace chartpack;

namespace {

std::string defaultText() {
    std::ifstream in(TABULO_RANGES_FILE, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const ChartPack& pack() {
    static const ChartPack p = parseRangeFile(defaultText());
    return p;
}

void BM_PackIntoEmptyFolder(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        benchmark::DoNotOptimize(writePack(pack(), dir.path(), static_cast<int>(state.range(0))));
    }
}
BENCHMARK(BM_PackIntoEmptyFolder)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PackUnchanged(benchmark::State& state) {
    QTemporaryDir dir;
    writePack(pack(), dir.path(), 0);
    for (auto _ : state) benchmark::DoNotOptimize(writePack(pack(), dir.path(), 0));
}
BENCHMARK(BM_PackUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneSpotChart(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(renderSpotChart(pack(), Spot{1, 0}));
}
BENCHMARK(BM_OneSpotChart)->Unit(benchmark::kMillisecond);

void BM_EditorRefreshAfterStroke(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("ranges.txt");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << defaultText();
    }
    ranges::MainWindow window({path, dir.path(), QDir(dir.path()).filePath("Custom.ini")});
    window.openFile(path);
    auto& model = window.model();
    model.setSpot(Spot{1, 0}.index());
    const int ajo = handFromKey("AJo")->index();
    bool mixed = false;
    for (auto _ : state) {
        mixed = !mixed;
        model.setBrush(Action::Call, mixed ? 6000 : kFullWeight);
        model.beginStroke();
        model.paint(ajo);
        model.endStroke();
    }
}
BENCHMARK(BM_EditorRefreshAfterStroke)->Unit(benchmark::kMillisecond);

// One step of a drag across the 13 cells of a row: the pointer enters the
// next cell and the shown window catches up (grid, counts, range texts;
// whatever else the window repaints). A stroke spans 13 iterations.
void BM_EditorDragStep(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("ranges.txt");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << defaultText();
    }
    ranges::MainWindow window({path, dir.path(), QDir(dir.path()).filePath("Custom.ini")});
    window.openFile(path);
    window.show();
    QApplication::processEvents();
    auto& model = window.model();
    model.setSpot(Spot{1, 0}.index());
    int step = 0;
    bool mixed = false;
    for (auto _ : state) {
        if (step == 0) {
            mixed = !mixed;
            model.setBrush(Action::Call, mixed ? 6000 : kFullWeight);
            model.beginStroke();
        }
        model.paint(Hand{9, step}.index());  // the row of the sixes
        if (++step == kRankCount) {
            model.endStroke();
            step = 0;
        }
        QApplication::processEvents();
    }
    if (step != 0) model.endStroke();
}
BENCHMARK(BM_EditorDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
