// ImageDecoder (Load to completion, through the worker thread and the event
// loop) beside a direct QImageReader decode of the same chart-like PNG.
//
//   build/bench/widgets/bench_widgets_decoder --benchmark_repetitions=5
//   TABULO_DECODE_FILES=a.png:b.png build/bench/widgets/bench_widgets_decoder
//       --benchmark_filter=File/   (direct decodes of the files given)
//   (add --benchmark_report_aggregates_only=true for the summary only)
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <ctime>
#include <map>

#include "tabulo/widgets/imagedecoder.h"

namespace {

// CPU time of the whole process (every thread), in milliseconds: the cost of
// a decode wherever it runs, unaffected by waiting for a busy machine.
double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void ReportProcessCpu(benchmark::State& state, double startMs) {
    state.counters["process_cpu_ms"] =
        benchmark::Counter(ProcessCpuMs() - startMs, benchmark::Counter::kAvgIterations);
}

// A chart like the program shows: coloured cells of a 13 x 13 grid, grid
// lines and a label per cell.
QImage Chart(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const char* ranks = "AKQJT98765432";
    const double cell = side / 13.0;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(6, int(cell / 3)));
    p.setFont(font);
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) {
            const QRectF rect(c * cell, r * cell, cell, cell);
            const int k = (r * 7 + c * 3) % 5;
            const QColor fills[5] = {QColor(221, 0, 22), QColor(255, 157, 60), QColor(255, 255, 0),
                                     QColor(82, 206, 248), QColor(192, 192, 192)};
            p.fillRect(rect, fills[k]);
            p.setPen(Qt::black);
            p.drawRect(rect);
            const QString label =
                QString(QChar(ranks[std::min(r, c)])) + QChar(ranks[std::max(r, c)]) +
                (r == c ? QString() : (r < c ? QStringLiteral("s") : QStringLiteral("o")));
            p.drawText(rect, Qt::AlignCenter, label);
        }
    return image;
}

const QString& ChartFile(int side) {
    static QTemporaryDir dir;
    static std::map<int, QString> files;
    auto it = files.find(side);
    if (it == files.end()) {
        const QString path = dir.filePath(QStringLiteral("chart%1.png").arg(side));
        Chart(side).save(path, "PNG");
        it = files.emplace(side, path).first;
    }
    return it->second;
}

void DirectDecode(benchmark::State& state) {
    const QString file = ChartFile(int(state.range(0)));
    const double start = ProcessCpuMs();
    for (auto _ : state) {
        QImageReader reader(file);
        QImage image = reader.read();
        if (image.isNull()) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.constBits());
    }
    ReportProcessCpu(state, start);
}

// DecoderLoad decodes every time (the picture cache is emptied before each
// load, untimed); DecoderLoadKept loads an unchanged file shown before.
void Load(benchmark::State& state, bool kept) {
    const std::string file = ChartFile(int(state.range(0))).toStdString();
    QEventLoop loop;
    auto done = [](ImageDecoder*, void* data) { static_cast<QEventLoop*>(data)->quit(); };
    PictureCache::Clear();
    const double start = ProcessCpuMs();
    for (auto _ : state) {
        if (!kept) {
            state.PauseTiming();
            PictureCache::Clear();
            state.ResumeTiming();
        }
        // As the image loader does: a new decoder per load, released after use.
        ImageDecoder decoder;
        decoder.SetCallback(done, &loop);
        decoder.Load(file);
        loop.exec();
        if (decoder.Size().isEmpty()) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(decoder.Image().constBits());
    }
    ReportProcessCpu(state, start);
}
void DecoderLoad(benchmark::State& state) {
    Load(state, false);
}
void DecoderLoadKept(benchmark::State& state) {
    Load(state, true);
}

BENCHMARK(DirectDecode)->Arg(470)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecoderLoad)->Arg(470)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecoderLoadKept)->Arg(470)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // TABULO_DECODE_FILES=a.png:b.png adds a decode of each file, by the
    // decoder's own reading (File) and by Qt's reader alone (FileQt), to
    // compare encodings of the same picture and the two readers.
    for (const QString& file :
         qEnvironmentVariable("TABULO_DECODE_FILES").split(':', Qt::SkipEmptyParts))
        for (const bool qtOnly : {false, true})
            benchmark::RegisterBenchmark(
                ((qtOnly ? "FileQt/" : "File/") + file).toStdString().c_str(),
                [file, qtOnly](benchmark::State& state) {
                    const double start = ProcessCpuMs();
                    for (auto _ : state) {
                        QImage image = qtOnly ? QImageReader(file).read()
                                              : DecodePictureFile(file.toStdString()).Image;
                        if (image.isNull()) state.SkipWithError("decode failed");
                        benchmark::DoNotOptimize(image.constBits());
                    }
                    ReportProcessCpu(state, start);
                })
                ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
