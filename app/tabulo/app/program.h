#pragma once
// The program body.
//
//   units up     INI reads once per event, resources, tooltip manager,
//                widget layer, message box
//   "/ih"?       information box, exit 0, no window
//   build        the main schema (main window hidden, four pages, handle)
//   start        InstallHooks, RunInits: the main window is created and shown
//   loop         until the main window closes
//   tear down    main schema, then the units in reverse order
//
// main() is RunTabulo. Tests run the same steps through TProgram, one by one,
// inside their own QApplication.

#include <memory>

#include "tabulo/components/ini.h"

class TClassMainForm_3063820;

class TProgram {
public:
    // Brings the units up.
    TProgram();
    // Destroys the main schema if built, then takes the units down.
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // True when the first argument is exactly "/ih"; nothing else is read.
    static bool IsInfoRequest(int argc, const char* const* argv);
    // Shows the information box with no owner; the exit code (0).
    static int ShowInfo();

    void BuildMainSchema();
    // Starts the dataflow: from here on events flow.
    void Start();
    // Runs the message loop until the main window closes; the exit code.
    int Loop();
    void DestroyMainSchema();

    TClassMainForm_3063820* MainSchema() const { return schema_.get(); }

private:
    TIniReadsPerEvent iniReads_;
    std::unique_ptr<TClassMainForm_3063820> schema_;
};

// The whole program: creates the application object when there is none yet.
int RunTabulo(int argc, char** argv);
