#include "tabulo/runtime/message.h"

#include <cstdio>

namespace {
void toStderr(const char* caption, const char* text) { std::fprintf(stderr, "%s: %s\n", caption, text); }
TMessageFunction current = &toStderr;
}  // namespace

void SetMessageFunction(TMessageFunction fn) { current = fn ? fn : &toStderr; }
TMessageFunction GetMessageFunction() { return current; }
void ShowMessage(const char* caption, const char* text) { current(caption, text); }
