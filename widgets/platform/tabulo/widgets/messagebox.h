#pragma once
// Message boxes over QMessageBox, replaceable by a hook so that no test ever
// blocks on a modal window.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The Windows type bits that matter here (MB_...): buttons and icon.
inline constexpr uint32_t MbOk = 0x00;
inline constexpr uint32_t MbOkCancel = 0x01;
inline constexpr uint32_t MbYesNo = 0x04;
inline constexpr uint32_t MbIconError = 0x10;
inline constexpr uint32_t MbIconQuestion = 0x20;
inline constexpr uint32_t MbIconWarning = 0x30;
inline constexpr uint32_t MbIconInformation = 0x40;

// Answers (ID...).
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;

using TMessageBoxHook =
    std::function<int(const std::string& caption, const std::string& text, uint32_t type)>;

class TControl;

// The window that owns a box: the active form, else the first form (the
// main form), else none.
TControl* MessageBoxOwner();

// Shows the box (or asks the hook) and returns the button pressed.
int MessageBox(std::string_view caption, std::string_view text, uint32_t type = MbOk);

// Replaces the box; an empty hook restores QMessageBox.
void SetMessageBoxHook(TMessageBoxHook hook);

// Makes the runtime's ShowMessage use MessageBox (called at start-up).
void InstallRuntimeMessageBox();
