// Start-up of the whole program up to the first paint of the main window
// (the Custom page built, the other pages up to their tabs), and on to the
// moment every page is built.
//
//   bench_app_startup            Google Benchmark: build, start and first
//                                paint, repeated in one process; the time
//                                the remaining pages take after it
//   bench_app_startup --once     one real start, timed from entering main:
//                                prints each phase and resident memory
//
// Runs on the display it is given (DISPLAY set: xcb), else offscreen.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "tabulo/app/mainschema.h"
#include "tabulo/app/program.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/fontfaces.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes the first paint event of a window.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

class FirstPaint : public QObject {
public:
    bool Seen = false;
    Clock::time_point When;
    double CpuMs = 0;  // of the whole process since it started, at that paint
    long PageFaults = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !Seen) {
            Seen = true;
            When = Clock::now();
            CpuMs = ProcessCpuMs();
            PageFaults = ::PageFaults();
        }
        return false;
    }
};

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void StartupToFirstPaint(benchmark::State& state) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    double pagesMs = 0;
    for (auto _ : state) {
        ResetApplicationForTesting();
        SetInitsDone(false);
        const auto start = Clock::now();
        auto program = std::make_unique<TProgram>();
        program->BuildMainSchema();
        FirstPaint paint;
        program->MainSchema()->MainWindow->Control->Widget()->installEventFilter(&paint);
        program->Start();
        while (!paint.Seen) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(std::chrono::duration<double>(paint.When - start).count());
        TKVPageControl* pages = program->MainSchema()->Pages;
        while (pages->ContentsWaiting()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        pagesMs += Ms(Clock::now() - paint.When);
        program.reset();
        QApplication::processEvents();
    }
    state.counters["rss_MiB"] = double(ResidentKiB()) / 1024;
    state.counters["then_pages_ms"] = pagesMs / double(state.iterations());
}
BENCHMARK(StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

int Once(int argc, char** argv, Clock::time_point entered, long faultsAtMain, double cpuAtMain) {
    // As the program body does.
    TFontWarmup fonts;
    QApplication app(argc, argv);
    fonts.Wait();
    const auto appMade = Clock::now();
    const long faultsApp = PageFaults();
    TProgram program;
    const auto unitsUp = Clock::now();
    program.BuildMainSchema();
    const auto built = Clock::now();
    const long faultsBuilt = PageFaults();
    FirstPaint paint;
    program.MainSchema()->MainWindow->Control->Widget()->installEventFilter(&paint);
    // The loop ends once every page is built (the hidden ones follow the
    // first paint).
    TKVPageControl* pages = program.MainSchema()->Pages;
    Clock::time_point complete;
    long faultsComplete = 0;
    SetIdleHook([&] {
        if (!paint.Seen || pages->ContentsWaiting()) return;
        complete = Clock::now();
        faultsComplete = PageFaults();
        Terminate();
    });
    program.Start();
    const auto started = Clock::now();
    program.Loop();
    SetIdleHook({});
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    std::printf(
        "  QApplication %.1f ms, units %.1f ms, main schema %.1f ms, RunInits %.1f ms, "
        "to first paint %.1f ms, then the remaining pages %.1f ms\n",
        Ms(appMade - entered), Ms(unitsUp - appMade), Ms(built - unitsUp), Ms(started - built),
        Ms(paint.When - started), Ms(complete - paint.When));
    std::printf("exec to main: %.1f ms of process CPU\n", cpuAtMain);
    std::printf("first paint after entering main: %.1f ms\n", Ms(paint.When - entered));
    std::printf(
        "page faults: %ld before main, %ld QApplication, %ld main schema, %ld to first paint, "
        "%ld remaining pages\n",
        faultsAtMain, faultsApp - faultsAtMain, faultsBuilt - faultsApp,
        paint.PageFaults - faultsBuilt, faultsComplete - paint.PageFaults);
    std::printf("process CPU from exec to first paint: %.1f ms, %ld page faults\n", paint.CpuMs,
                paint.PageFaults);
    std::printf("resident memory after start-up: %.1f MiB\n", double(ResidentKiB()) / 1024);
    return paint.Seen ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto entered = Clock::now();
    const long faultsAtMain = PageFaults();
    const double cpuAtMain = ProcessCpuMs();
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0)
        return Once(argc, argv, entered, faultsAtMain, cpuAtMain);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
