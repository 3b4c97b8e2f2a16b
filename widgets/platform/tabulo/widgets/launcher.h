#pragma once
// Starting another program on its own.
//
// The command line is split into the program and its arguments the way the
// platform's command lines are: spaces separate, double quotes group (three
// quotes in a row stand for one literal quote), and no shell is involved, so
// no variable, wildcard or redirection is expanded. The program is searched
// on PATH when its name has no folder part. It runs detached: it is neither
// waited for nor held, and it outlives this program.

#include <cstdint>
#include <string_view>

// Starts the program; answers its process id, or 0 when the line names no
// program or the program could not be started.
int64_t LaunchProgram(std::string_view commandLine);
