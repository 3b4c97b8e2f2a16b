// Click to chart painted: from the click on a grid cell to the end of the
// first paint of the picture that shows its chart, on the Position and Hands
// pages, for a default-pack chart, a 1000 x 1000 and a 2000 x 2000 picture
// (saved over COvsBU, BUvsSB, T9s and 72o of the pack).
//
//   bench_app_chartclick           Google Benchmark
//
// Every iteration clicks the cell, pumps the event loop until the picture has
// painted the chart, then clicks the chart away again (not timed). Counters:
//   max_stall_ms   the longest single step of the UI thread between the
//                  click and the paint (the click itself, each event-loop
//                  pass); decoding runs on a worker, so this is the time the
//                  window could not react
//   process_cpu_ms CPU time of the whole process (all threads) per click,
//                  click to paint
//   ui_cpu_ms      the user-interface thread's share of that
//   max_step_ui_cpu_ms  UI-thread CPU time of the longest single step: the
//                  stall the click causes on an idle machine
//   page_faults    page faults of all threads per click
//   first_ms       (FirstClick only) the first click after a fresh start
//   rss_MiB        resident memory at the end
// HoverThenClick: the pointer comes over the cell of a chart not decoded
// before, rests there for 100 ms of the event loop, then clicks (the way a
// person clicks); timed from the click as above.
// ManyDifferentCharts clicks every default chart of both pages once (201
// charts) after a fresh start and reports the resident memory before and
// after (rss_start_MiB, rss_end_MiB, rss_growth_MiB).
// Runs on the display it is given (DISPLAY set: xcb), else offscreen.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <system_error>

#include "tabulo/app/chartpage.h"
#include "tabulo/app/hands.h"
#include "tabulo/app/mainschema.h"
#include "tabulo/app/position.h"
#include "tabulo/app/program.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo/widgets/paths.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// CPU time of the whole process (every thread), which stays meaningful when
// other work keeps the machine busy.
double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// CPU time of the calling (user-interface) thread alone.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Page faults of the whole process so far; a fault is dear on a virtual
// machine (10 us and more), so a click's count explains much of its CPU.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    return -1;
}
long ResidentKiB() {
    return StatusKiB("VmRSS");
}
// Starts a new peak for VmHWM.
void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A chart-like picture: a 13 x 13 grid of coloured, labelled cells over a
// light noise, so that it compresses like a real chart and not like a fill.
QImage ChartPicture(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    std::mt19937 rng(side);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int n = int(rng() % 16);
            line[x] = qRgb(230 + n, 230 + n, 230 + n);
        }
    }
    QPainter p(&image);
    const QColor colours[] = {{221, 0, 22},   {255, 157, 60}, {255, 255, 0},
                              {82, 206, 248}, {61, 185, 57},  {192, 192, 192}};
    const double cell = side / 13.0;
    QFont font("Tahoma");
    font.setPixelSize(std::max(6, int(cell / 3)));
    p.setFont(font);
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) {
            const QRectF box(c * cell + 1, r * cell + 1, cell - 2, cell - 2);
            p.fillRect(box, colours[(r * 7 + c * 3) % 6]);
            p.drawText(box, Qt::AlignCenter, QString("%1%2").arg(r).arg(c));
        }
    return image;
}

// The whole program on a scratch program folder holding the default pack
// and the two large pictures.
class Program {
public:
    Program() {
        const QString pack =
            QDir(QCoreApplication::applicationDirPath() + "/../../img").absolutePath();
        QDirIterator it(pack, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = folder_.path() + "/img" + file.mid(pack.size());
            QDir().mkpath(QFileInfo(target).path());
            std::error_code error;  // a plain copy, faster than QFile::copy
            std::filesystem::copy_file(file.toStdString(), target.toStdString(), error);
        }
        Ok = QFileInfo::exists(folder_.path() + "/img/Positions/MPvsUTG.png");
        // The large pictures stand in for four charts of the pack.
        const QString img = folder_.path() + "/img/";
        const QImage big1000 = ChartPicture(1000), big2000 = ChartPicture(2000);
        Ok = Ok && big1000.save(img + "Positions/COvsBU.png") &&
             big1000.save(img + "Holecards/T9s.png") &&
             big2000.save(img + "Positions/BUvsSB.png") && big2000.save(img + "Holecards/72o.png");
        SetProgramFolder((folder_.path() + "/").toStdString());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    }
    ~Program() { Stop(); }

    void Start() {
        ResetApplicationForTesting();
        SetInitsDone(false);
        program_ = std::make_unique<TProgram>();
        program_->BuildMainSchema();
        program_->Start();
        QWidget* window = program_->MainSchema()->MainWindow->Control->Widget();
        window->show();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    void Stop() {
        program_.reset();
        ResetApplicationForTesting();
        QApplication::processEvents();
    }

    // Shows the page's tab and answers the page.
    template <class Page>
    Page* Show(const char* name) {
        TKVPageControl* pages = program_->MainSchema()->Pages;
        for (int i = 0; i < pages->PageCount(); ++i) {
            if (pages->PageAt(i).Name != name) continue;
            if (auto* tabs =
                    program_->MainSchema()->MainWindow->Control->Widget()->findChild<QTabWidget*>())
                tabs->setCurrentIndex(i);
            for (int k = 0; k < 5; ++k) QApplication::processEvents();
            return dynamic_cast<Page*>(pages->PageAt(i).Schema.get());
        }
        return nullptr;
    }

    bool Ok = false;
    QString Folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    QTemporaryDir config_;
    std::unique_ptr<TProgram> program_;
};

// Notes the first paint of the picture while it holds a chart.
class ChartPaint : public QObject {
public:
    explicit ChartPaint(const TKVImage* picture) : picture_(picture) {}
    bool Painted = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !picture_->Bitmap->Empty()) Painted = true;
        return false;
    }

private:
    const TKVImage* picture_;
};

struct ClickTiming {
    double TotalMs = 0;
    double CpuMs = 0;         // process CPU time from the click to the paint
    double UiCpuMs = 0;       // the UI thread's share of it
    double MaxStepCpuMs = 0;  // UI-thread CPU of the longest single step
    double MaxStallMs = 0;
    long Faults = 0;  // page faults of all threads from the click to the paint
    bool Shown = false;
};

// What the timed clicks of one benchmark add up to, reported as counters.
struct ClickTotals {
    double MaxStall = 0, MaxStepCpu = 0, Cpu = 0, UiCpu = 0, Faults = 0;

    void Add(benchmark::State& state, const ClickTiming& t) {
        Cpu += t.CpuMs;
        UiCpu += t.UiCpuMs;
        Faults += double(t.Faults);
        MaxStepCpu = std::max(MaxStepCpu, t.MaxStepCpuMs);
        MaxStall = std::max(MaxStall, t.MaxStallMs);
        state.SetIterationTime(t.TotalMs / 1000.0);
    }
    void Report(benchmark::State& state) const {
        state.counters["max_stall_ms"] = MaxStall;
        const double n = double(std::max<int64_t>(1, state.iterations()));
        state.counters["process_cpu_ms"] = Cpu / n;
        state.counters["ui_cpu_ms"] = UiCpu / n;
        state.counters["page_faults"] = Faults / n;
        state.counters["max_step_ui_cpu_ms"] = MaxStepCpu;
    }
};

// Clicks the cell, waits for the chart's first paint, clicks the chart away.
ClickTiming ClickToPaint(TChartPageSchema* page, TKVBitBtn* cell) {
    QWidget* picture = page->Picture->Control->Widget();
    ChartPaint paint(page->Picture);
    picture->installEventFilter(&paint);
    ClickTiming t;
    const long faults = PageFaults();
    const double cpu = ProcessCpuMs();
    const double uiCpu = ThreadCpuMs();
    const auto start = Clock::now();
    QTest::mouseClick(cell->Control->Widget(), Qt::LeftButton);
    auto last = Clock::now();
    double lastCpu = ThreadCpuMs();
    t.MaxStallMs = Ms(last - start);
    t.MaxStepCpuMs = lastCpu - uiCpu;
    // Block in the loop until something arrives (no polling, which would be
    // counted as UI-thread work); a timer bounds the wait.
    const auto deadline = start + std::chrono::seconds(20);
    QTimer wake;
    wake.start(100);
    while (!paint.Painted && Clock::now() < deadline) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto now = Clock::now();
        const double nowCpu = ThreadCpuMs();
        t.MaxStallMs = std::max(t.MaxStallMs, Ms(now - last));
        t.MaxStepCpuMs = std::max(t.MaxStepCpuMs, nowCpu - lastCpu);
        last = now;
        lastCpu = nowCpu;
    }
    t.TotalMs = Ms(last - start);
    t.CpuMs = ProcessCpuMs() - cpu;
    t.UiCpuMs = ThreadCpuMs() - uiCpu;
    t.Faults = PageFaults() - faults;
    t.Shown = paint.Painted;
    picture->removeEventFilter(&paint);
    QTest::mouseClick(picture, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    return t;
}

template <class Page>
TKVBitBtn* CellWithKey(Page* page, const char* key) {
    for (TKVBitBtn* c : page->Cells)
        if (AsText(c->Data).str() == key) return c;
    return nullptr;
}

Program* TheProgram() {
    static Program* program = [] {
        auto* p = new Program;
        p->Start();
        return p;
    }();
    return program;
}

template <class Page>
void SteadyClick(benchmark::State& state, const char* pageName, const char* key) {
    Program* program = TheProgram();
    if (!program->Ok) {
        state.SkipWithError("the default chart pack is missing (build the target chartpack)");
        return;
    }
    Page* page = program->Show<Page>(pageName);
    TKVBitBtn* cell = CellWithKey(page, key);
    ClickToPaint(page, cell);  // warm-up: the first click is measured by FirstClick
    ClickTotals totals;
    for (auto _ : state) {
        const ClickTiming t = ClickToPaint(page, cell);
        if (!t.Shown) {
            state.SkipWithError("the chart was not painted");
            break;
        }
        totals.Add(state, t);
    }
    totals.Report(state);
    state.counters["rss_MiB"] = double(ResidentKiB()) / 1024;
}

void PositionDefaultChart(benchmark::State& s) {
    SteadyClick<TClassPosition_253CB10>(s, "Position", "MPvsUTG");
}
void Position1000pxChart(benchmark::State& s) {
    SteadyClick<TClassPosition_253CB10>(s, "Position", "COvsBU");
}
void Position2000pxChart(benchmark::State& s) {
    SteadyClick<TClassPosition_253CB10>(s, "Position", "BUvsSB");
}
void HandsDefaultChart(benchmark::State& s) {
    SteadyClick<TClassHands_253CB10>(s, "Hands", "AKs");
}
void Hands1000pxChart(benchmark::State& s) {
    SteadyClick<TClassHands_253CB10>(s, "Hands", "T9s");
}
void Hands2000pxChart(benchmark::State& s) {
    SteadyClick<TClassHands_253CB10>(s, "Hands", "72o");
}

template <class Page>
void HoverThenClick(benchmark::State& state, const char* pageName, const char* key) {
    Program* program = TheProgram();
    if (!program->Ok) {
        state.SkipWithError("the default chart pack is missing (build the target chartpack)");
        return;
    }
    Page* page = program->Show<Page>(pageName);
    TKVBitBtn* cell = CellWithKey(page, key);
    ClickToPaint(page, cell);  // warm-up
    ClickTotals totals;
    for (auto _ : state) {
        state.PauseTiming();
        PictureCache::Clear();  // a chart not decoded before
        QTest::mouseMove(page->DonateButton->Control->Widget());
        QTest::mouseMove(cell->Control->Widget());
        QTest::qWait(100);
        state.ResumeTiming();
        const ClickTiming t = ClickToPaint(page, cell);
        if (!t.Shown) {
            state.SkipWithError("the chart was not painted");
            break;
        }
        totals.Add(state, t);
    }
    totals.Report(state);
}
void PositionHoverThenClick(benchmark::State& s) {
    HoverThenClick<TClassPosition_253CB10>(s, "Position", "MPvsUTG");
}
void HandsHoverThenClick(benchmark::State& s) {
    HoverThenClick<TClassHands_253CB10>(s, "Hands", "AKs");
}

// The first click after a fresh start of the program (a new main schema and
// pages each iteration; the process, its libraries and Qt stay warm, except
// for the very first iteration, reported as first_ms).
void FirstClick(benchmark::State& state, bool hands) {
    Program* program = TheProgram();
    if (!program->Ok) {
        state.SkipWithError("the default chart pack is missing (build the target chartpack)");
        return;
    }
    double first = -1;
    ClickTotals totals;
    for (auto _ : state) {
        state.PauseTiming();
        program->Stop();
        PictureCache::Clear();  // a fresh start has decoded nothing yet
        program->Start();
        TChartPageSchema* page = nullptr;
        TKVBitBtn* cell = nullptr;
        if (hands) {
            auto* p = program->Show<TClassHands_253CB10>("Hands");
            page = p, cell = CellWithKey(p, "KQo");
        } else {
            auto* p = program->Show<TClassPosition_253CB10>("Position");
            page = p, cell = CellWithKey(p, "COvsMP");
        }
        state.ResumeTiming();
        const ClickTiming t = ClickToPaint(page, cell);
        if (!t.Shown) {
            state.SkipWithError("the chart was not painted");
            break;
        }
        if (first < 0) first = t.TotalMs;
        totals.Add(state, t);
    }
    state.counters["first_ms"] = first;
    totals.Report(state);
}
// Resident memory after every default chart of both pages has been shown
// once, against the start-up figure.
void ManyDifferentCharts(benchmark::State& state) {
    Program* program = TheProgram();
    if (!program->Ok) {
        state.SkipWithError("the default chart pack is missing (build the target chartpack)");
        return;
    }
    const std::set<std::string> large = {"COvsBU", "BUvsSB", "T9s", "72o"};
    for (auto _ : state) {
        program->Stop();
        PictureCache::Clear();
        program->Start();
        auto* hands = program->Show<TClassHands_253CB10>("Hands");
        auto* position = program->Show<TClassPosition_253CB10>("Position");
        const long start = ResidentKiB();
        int shown = 0;
        auto clickAll = [&](TChartPageSchema* page, const auto& cells) {
            for (TKVBitBtn* cell : cells)
                if (!large.count(AsText(cell->Data).str()) && ClickToPaint(page, cell).Shown)
                    ++shown;
        };
        clickAll(position, position->Cells);
        program->Show<TClassHands_253CB10>("Hands");
        clickAll(hands, hands->Cells);
        const long end = ResidentKiB();
        state.counters["charts"] = shown;
        state.counters["rss_start_MiB"] = double(start) / 1024;
        state.counters["rss_end_MiB"] = double(end) / 1024;
        state.counters["rss_growth_MiB"] = double(end - start) / 1024;
    }
}

// A large picture (8192 x 8192 is 64 Mpx, the largest the decoder accepts)
// shown on the Position page and clicked away: resident memory before, at
// the peak, and after the chart is hidden.
void LargestPicture(benchmark::State& state) {
    Program* program = TheProgram();
    const QString file = program->Folder() + "/img/Positions/BBvsBU.png";
    if (!program->Ok || !ChartPicture(int(state.range(0))).save(file)) {
        state.SkipWithError("cannot make the picture");
        return;
    }
    for (auto _ : state) {
        program->Stop();
        PictureCache::Clear();
        program->Start();
        auto* page = program->Show<TClassPosition_253CB10>("Position");
        const long before = ResidentKiB();
        ResetPeakResident();
        const ClickTiming t = ClickToPaint(page, CellWithKey(page, "BBvsBU"));  // ends hidden
        state.counters["shown"] = t.Shown;
        state.counters["rss_before_MiB"] = double(before) / 1024;
        state.counters["rss_peak_MiB"] = double(StatusKiB("VmHWM")) / 1024;
        state.counters["rss_hidden_MiB"] = double(ResidentKiB()) / 1024;
    }
}

void PositionFirstClick(benchmark::State& s) {
    FirstClick(s, false);
}
void HandsFirstClick(benchmark::State& s) {
    FirstClick(s, true);
}

}  // namespace

BENCHMARK(ManyDifferentCharts)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PositionFirstClick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(HandsFirstClick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(PositionHoverThenClick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(HandsHoverThenClick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(PositionDefaultChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(HandsDefaultChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Position1000pxChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Hands1000pxChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Position2000pxChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Hands2000pxChart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(LargestPicture)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(5792)->Arg(8192);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete TheProgram();
    return 0;
}
