#pragma once
// TOpenSaveDialog: the open- or save-file dialog over QFileDialog.
//
// Filter: "name|pattern|name|pattern..." (patterns inside one entry separated
// by ';'); it becomes Qt's "name (pattern pattern);;name (pattern)". An
// unpaired trailing name is ignored. FilterIndex is 1-based as on Windows (0
// selects the first filter); after a confirmed choice it holds the chosen
// filter, so the same object starts there next time.
//
// Execute: true with FileName set to the chosen file; with multi-selection
// and several files, FileName holds the folder and then each name, separated
// by CR (13). A cancelled dialog leaves FileName empty and returns false.
//
// Tests never open a modal window: a hook set with SetOpenSaveDialogHook
// receives the request and supplies the answer.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tabulo/widgets/obj.h"

class QWidget;

// Option bits (bit i of Options): the Windows OFN_ flags in this order.
enum TOpenSaveOption : uint32_t {
    osCreatePrompt = 1u << 0,
    osExtensionDifferent = 1u << 1,
    osFileMustExist = 1u << 2,
    osHideReadOnly = 1u << 3,
    osNoChangeDir = 1u << 4,
    osNoDereferenceLinks = 1u << 5,
    osAllowMultiSelect = 1u << 6,
    osNoNetworkButton = 1u << 7,
    osNoReadOnlyReturn = 1u << 8,
    osOverwritePrompt = 1u << 9,
    osPathMustExist = 1u << 10,
    osReadOnly = 1u << 11,
    osNoValidate = 1u << 12,
    osEnableTemplate = 1u << 13,
    osEnableHook = 1u << 14,
};

// "name|pattern|..." in Qt's ";;" form, and the filter list it stands for.
std::string ConvertDialogFilter(std::string_view filter);
std::vector<std::string> DialogFilterList(std::string_view filter);

// What a dialog run asks for, as it would be shown.
struct TOpenSaveRequest {
    bool OpenDialog = true;
    std::string Title;
    std::string InitialDir;
    std::string FileName;                  // initial content of the name box
    std::vector<std::string> NameFilters;  // Qt's form, one per entry
    int SelectedFilter = 0;                // 0-based index into NameFilters
    std::string DefaultSuffix;
    uint32_t Options = 0;
    bool MultiSelect = false;
    bool FilesMustExist = false;
    bool ConfirmOverwrite = false;
    bool ResolveSymlinks = true;
    QWidget* Owner = nullptr;
};

// The user's answer: accepted or not, the chosen files (full paths) and the
// chosen filter (0-based).
struct TOpenSaveAnswer {
    bool Accepted = false;
    std::vector<std::string> Files;
    int SelectedFilter = 0;
};

using TOpenSaveDialogHook = std::function<TOpenSaveAnswer(const TOpenSaveRequest&)>;

// Replaces the real dialog; an empty hook restores QFileDialog.
void SetOpenSaveDialogHook(TOpenSaveDialogHook hook);

class TOpenSaveDialog : public TObj {
public:
    explicit TOpenSaveDialog(bool openDialog = true) : OpenDialog(openDialog) {}

    bool OpenDialog;
    std::string Filter;
    int FilterIndex = 0;
    std::string InitialDir;
    std::string Title;
    std::string DefExtension;
    uint32_t Options = 0;
    // The owner window; none means the application's active window.
    QWidget* Owner = nullptr;
    // In: the initial name. Out: the chosen name(s), or empty on cancel.
    std::string FileName;

    bool Execute();

    // The request Execute would make now (for tests and diagnostics).
    TOpenSaveRequest MakeRequest() const;
};
