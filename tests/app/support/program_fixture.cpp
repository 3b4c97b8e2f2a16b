#include "program_fixture.h"

#include <QApplication>
#include <QDeadlineTimer>

#include "tabulo/controls/pagecontrol.h"
#include "tabulo/runtime/event.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/messagebox.h"
#include "tabulo/widgets/paths.h"
#include "tabulo/widgets/screen.h"

void ProgramTest::SetUp() {
    folder_ = std::make_unique<QTemporaryDir>();
    config_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(folder_->isValid() && config_->isValid());
    SetProgramFolder((folder_->path() + "/").toStdString());
    hadConfig_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config_->path().toUtf8());
    SetMessageBoxHook([this](const std::string& caption, const std::string& text, uint32_t type) {
        boxes_.push_back({caption, text, type});
        return IdOk;
    });
    SetScreenSizeHook([] { return TScreenSize{1024, 768}; });
}

void ProgramTest::TearDown() {
    StopProgram();
    SetScreenSizeHook({});
    SetMessageBoxHook({});
    if (hadConfig_)
        qputenv("XDG_CONFIG_HOME", savedConfig_);
    else
        qunsetenv("XDG_CONFIG_HOME");
    SetProgramFolder("");
}

void ProgramTest::StartUnits() {
    ResetApplicationForTesting();
    SetInitsDone(false);
    program_ = std::make_unique<TProgram>();
}

void ProgramTest::StartProgramBeforeFirstPaint() {
    StartUnits();
    program_->BuildMainSchema();
    program_->Start();
}

void ProgramTest::StartProgram() {
    StartProgramBeforeFirstPaint();
    Settle();
    WaitForPages();
}

void ProgramTest::WaitForPages() {
    // The pages not shown first are built after the window's first paint.
    QDeadlineTimer deadline(10000);
    while (Schema()->Pages->ContentsWaiting() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(Schema()->Pages->ContentsWaiting()) << "the hidden pages were never built";
}

void ProgramTest::StopProgram() {
    program_.reset();
    ResetApplicationForTesting();
    Settle();
}

QWidget* ProgramTest::WidgetOf(TControl* control) {
    return control != nullptr ? control->Widget() : nullptr;
}

void ProgramTest::Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}
