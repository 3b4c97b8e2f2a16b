#pragma once
// The whole program, built the way main() builds it, inside the test's own
// QApplication: a scratch program folder, a scratch configuration folder
// (window placements), message boxes and the screen size behind hooks.
//
//   TEST_F(ProgramTest, ...) {
//       StartProgram();                 // units up, main schema, RunInits
//       auto* w = Schema()->MainWindow; // every component is reachable
//   }

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "tabulo/app/mainschema.h"
#include "tabulo/app/program.h"

class TControl;

class ProgramTest : public ::testing::Test {
protected:
    struct Box {
        std::string Caption, Text;
        uint32_t Type;
    };

    void SetUp() override;
    void TearDown() override;

    // Brings the units up only (resources, tooltip manager, message box).
    void StartUnits();
    // Brings the units up, builds the main schema and starts the dataflow,
    // then lets the window paint and the hidden pages be built.
    void StartProgram();
    // The same up to the start of the dataflow: the window is shown but has
    // handled no event, so the pages not shown first wait for their contents.
    void StartProgramBeforeFirstPaint();
    // Lets events run until every page's contents exist (a test failure
    // after 10 s).
    void WaitForPages();
    // Tears the program down as the end of main() does (the scratch folders
    // stay for the next StartProgram of the same test).
    void StopProgram();

    TClassMainForm_3063820* Schema() const { return program_ ? program_->MainSchema() : nullptr; }
    static QWidget* WidgetOf(TControl* control);
    // Lets queued toolkit events run.
    static void Settle();

    std::unique_ptr<QTemporaryDir> folder_;  // program folder
    std::unique_ptr<QTemporaryDir> config_;  // XDG_CONFIG_HOME
    std::vector<Box> boxes_;

private:
    std::unique_ptr<TProgram> program_;
    QByteArray savedConfig_;
    bool hadConfig_ = false;
};
