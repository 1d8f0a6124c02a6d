// Running a program from a Windows test and collecting what it prints.
#pragma once

#include <windows.h>

#include <string>

// Runs the command line, waits for it to end (at most timeoutMs) and returns
// its exit code, or -1 when it could not be started or did not end in time.
// What it writes to standard output and standard error goes into output.
int RunProgram(const std::string& commandLine, std::string* output = nullptr, DWORD timeoutMs = 30000);
// The same for a command line with letters the ANSI code page lacks.
int RunProgram(const std::wstring& commandLine, std::string* output = nullptr, DWORD timeoutMs = 30000);
