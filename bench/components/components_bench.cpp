// The formatter on the Position page's chart mask, and the image loader from
// doLoad to onLoad for a small and a large chart (decoding on the worker,
// completion through the event loop, rendering into a new bitmap).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include "tabulo/components/formatstr.h"
#include "tabulo/components/imageloader.h"
#include "tabulo/widgets/bitmap.h"

namespace {

struct Folder : TObject {
    TText Path = "/opt/tabulo/";
    void getValue(TData& v, uint16_t) { MakeText(v, Path); }
};

void BM_FormatChartPath(benchmark::State& state) {
    InstallHooks();
    Folder folder;
    TKVFormatStr f;
    f.Mask = "%1img\\Positions\\%2.png";
    f.SetCount(2);
    f.pullStr[0] = BindEvent<&Folder::getValue>(&folder);
    const TText key("MPvsUTG");
    std::size_t total = 0;
    for (auto _ : state) {
        TData v;
        MakeText(v, key);
        f.doFormat(v, 0);
        total += v.TextValue.size();
    }
    benchmark::DoNotOptimize(total);
    MuteHooks();
}
BENCHMARK(BM_FormatChartPath);

// A chart-like picture: a 13 x 13 grid of coloured cells with lines.
std::string makeChart(const QTemporaryDir& dir, int side) {
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const int cell = side / 13;
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) {
            p.fillRect(c * cell, r * cell, cell - 1, cell - 1,
                       QColor::fromHsv((r * 13 + c) * 2 % 360, 160, 230));
        }
    p.end();
    const QString path = dir.filePath(QString("chart%1.png").arg(side));
    img.save(path, "PNG");
    return path.toStdString();
}

struct Sink : TObject {
    int n = 0;
    int w = 0;
    void doEvent(TData& v, uint16_t) {
        ++n;
        if (TBitmap* b = BitmapOf(v)) w = b->Width();
    }
};

void BM_LoadChart(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = makeChart(dir, int(state.range(0)));
    InstallHooks();
    TKvImageLoader loader;
    loader.FileName = "";  // the incoming value names the file
    Sink sink;
    loader.onDecoded = BindEvent<&TKvImageLoader::doDraw>(&loader, 1);
    loader.onLoad = BindEvent<&Sink::doEvent>(&sink);
    const TText name(path);
    for (auto _ : state) {
        const int before = sink.n;
        TData v;
        MakeText(v, name);
        loader.doLoad(v, 0);
        if (!loader.Decoder()) {
            state.SkipWithError("the chart did not load");
            break;
        }
        while (sink.n == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    if (sink.w != state.range(0)) state.SkipWithError("wrong bitmap size");
    MuteHooks();
}
BENCHMARK(BM_LoadChart)->Arg(470)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
