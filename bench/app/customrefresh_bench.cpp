// The Custom page's caption refresh: every mouse message over the page's
// picture reads all 39 captions from "Custom.ini" (the INI layer parses the
// file once and keeps it while it is unchanged on disk). Measured from the
// mouse-move event to the end of the last caption update, for a file with all
// 39 slots defined and for the same file padded with other sections to
// 100 KiB, 1 MiB (a file shared with other tools) and 32 MiB (the largest
// file the INI code reads); also right after the file changed on disk. And
// the save of the edit window (two atomic rewrites of the file, then the
// refresh).
//
//   bench_app_customrefresh        Google Benchmark
//
// Runs offscreen unless DISPLAY is set.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "tabulo/app/custom.h"
#include "tabulo/app/editform.h"
#include "tabulo/app/mainschema.h"
#include "tabulo/app/program.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/edit.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/runtime/multi.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/paths.h"

namespace {

// A "Custom.ini" with 39 defined slots, padded with a foreign section to
// about `size` bytes.
std::string CustomIni(std::size_t size) {
    std::string text;
    for (int k = 1; k <= 39; ++k)
        text += "[B" + std::to_string(k) + "]\r\nFile=/home/user/charts/chart" + std::to_string(k) +
                ".png\r\nCaption=Chart number " + std::to_string(k) + "\r\n";
    if (text.size() < size) {
        text += "[Other tool]\r\n";
        for (int i = 0; text.size() < size; ++i)
            text += "key" + std::to_string(i) + "=some value of another program\r\n";
    }
    return text;
}

class Program {
public:
    explicit Program(std::size_t iniSize) {
        SetProgramFolder((folder_.path() + "/").toStdString());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        QFile f(folder_.path() + "/Custom.ini");
        const std::string text = CustomIni(iniSize);
        Ok = f.open(QIODevice::WriteOnly) && f.write(text.data(), qint64(text.size())) > 0;
        f.close();
        ResetApplicationForTesting();
        SetInitsDone(false);
        program_ = std::make_unique<TProgram>();
        program_->BuildMainSchema();
        program_->Start();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        TKVPageControl* pages = program_->MainSchema()->Pages;
        for (int i = 0; i < pages->PageCount(); ++i)
            if (auto* p = dynamic_cast<TClassCustom_253CB10*>(pages->PageAt(i).Schema.get()))
                Page = p;
        Ok = Ok && Page != nullptr;
        if (Page)
            Editor =
                dynamic_cast<TClassChildFormEx_261A310*>(Page->EditWindowHost->Current->Schema);
    }
    ~Program() {
        program_.reset();
        ResetApplicationForTesting();
        QApplication::processEvents();
        SetProgramFolder("");
    }

    void Hover() {
        QWidget* w = Page->Picture->Control->Widget();
        const QPoint p(w->width() - 5, w->height() / 2);
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    std::string IniPath() const { return (folder_.path() + "/Custom.ini").toStdString(); }

    bool Ok = false;
    TClassCustom_253CB10* Page = nullptr;
    TClassChildFormEx_261A310* Editor = nullptr;

private:
    QTemporaryDir folder_;
    QTemporaryDir config_;
    std::unique_ptr<TProgram> program_;
};

void BM_CaptionRefreshOnMouseMove(benchmark::State& state) {
    Program program(std::size_t(state.range(0)));
    if (!program.Ok) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (auto _ : state) program.Hover();
    if (program.Page->SlotButtons[38]->Control->Text().str() != "Chart number 39")
        state.SkipWithError("the captions were not read");
    state.counters["file_KiB"] = double(CustomIni(std::size_t(state.range(0))).size()) / 1024.0;
}
BENCHMARK(BM_CaptionRefreshOnMouseMove)
    ->Arg(0)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Arg((32 << 20) - 4096)
    ->Unit(benchmark::kMicrosecond);

// The refresh right after another program touched the file (new
// modification time, same content): the file is read and parsed again.
void BM_CaptionRefreshAfterChange(benchmark::State& state) {
    Program program(std::size_t(state.range(0)));
    if (!program.Ok) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        ::utimensat(AT_FDCWD, program.IniPath().c_str(), nullptr, 0);
        state.ResumeTiming();
        program.Hover();
    }
    state.counters["file_KiB"] = double(CustomIni(std::size_t(state.range(0))).size()) / 1024.0;
}
BENCHMARK(BM_CaptionRefreshAfterChange)
    ->Arg(0)
    ->Arg(1 << 20)
    ->Arg((32 << 20) - 4096)
    ->Unit(benchmark::kMicrosecond);

// Open slot 7 in the edit window, type nothing new, press Save: two atomic
// rewrites of the file (File, then Caption) and the refresh of 39 captions.
void BM_SaveFromTheEditWindow(benchmark::State& state) {
    Program program(std::size_t(state.range(0)));
    if (!program.Ok || !program.Editor) {
        state.SkipWithError("the program did not start");
        return;
    }
    TData slot;
    MakeText(slot, TText("B7"));
    QWidget* save = program.Editor->SaveButton->Control->Widget();
    for (auto _ : state) {
        state.PauseTiming();
        TData open = slot;
        program.Page->EditWindowHost->doWork(open, 0);
        state.ResumeTiming();
        QTest::mouseClick(save, Qt::LeftButton);
    }
    state.counters["file_KiB"] = double(CustomIni(std::size_t(state.range(0))).size()) / 1024.0;
}
BENCHMARK(BM_SaveFromTheEditWindow)
    ->Arg(0)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
