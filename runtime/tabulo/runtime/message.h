#pragma once
// The runtime's one way of telling the user something: a message box with an
// OK button. The widget layer installs the real box at start-up; tests
// install a recorder. Until then the text goes to standard error.

using TMessageFunction = void (*)(const char* caption, const char* text);

void SetMessageFunction(TMessageFunction fn);
TMessageFunction GetMessageFunction();
void ShowMessage(const char* caption, const char* text);
