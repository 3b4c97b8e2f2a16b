#include "tabulo/app/program.h"

#include <QApplication>
#include <cstring>

#include "tabulo/app/mainschema.h"
#include "tabulo/components/hintmanager.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/resources/resources.h"
#include "tabulo/runtime/event.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/fontfaces.h"
#include "tabulo/widgets/messagebox.h"
#include "tabulo/widgets/session.h"

TProgram::TProgram() {
    InitTabuloResources();
    StartHintManager();
    StartApplication();
    InstallRuntimeMessageBox();
}

TProgram::~TProgram() {
    DestroyMainSchema();
    StopApplication();
    StopHintManager();
}

bool TProgram::IsInfoRequest(int argc, const char* const* argv) {
    return argc > 1 && argv[1] != nullptr && std::strcmp(argv[1], "/ih") == 0;
}

int TProgram::ShowInfo() {
    MessageBox("Kalvo Info", "Сделано в Kalvo.", MbOk);
    return 0;
}

void TProgram::BuildMainSchema() {
    schema_ = std::make_unique<TClassMainForm_3063820>();
}

void TProgram::Start() {
    // The main form is its own application window here, so there is no
    // separate application window whose visibility would follow it.
    InstallHooks();
    RunInits();
}

int TProgram::Loop() {
    RunApplication();
    return 0;
}

void TProgram::DestroyMainSchema() {
    // Closing the main window has already muted the dispatchers; a schema
    // torn down without that close (an error path, a test) must not fire
    // events from half-destroyed components either.
    MuteHooks();
    schema_.reset();
}

int RunTabulo(int argc, char** argv) {
    // fontconfig loads while the application connects to the display.
    TFontWarmup fonts;
    std::unique_ptr<QApplication> qt;
    if (QCoreApplication::instance() == nullptr) {
        TViewerPlatformStart platform;
        qt = std::make_unique<QApplication>(argc, argv);
    }
    ReportSessionLimits();
    fonts.Wait();
    TProgram program;
    if (TProgram::IsInfoRequest(argc, argv)) return TProgram::ShowInfo();
    program.BuildMainSchema();
    program.Start();
    return program.Loop();
}
