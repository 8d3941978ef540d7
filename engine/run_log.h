#pragma once
// The one way both engine runs report: to the run's console log file, once it is open, and, for
// the messages meant for them too, to the process's standard output or standard error.

#include <cstdarg>
#include <cstdio>

// Writes the message to log and to also; either may be null (a log that did not open, a message
// for the log alone).
void WriteRunLog(FILE* log, FILE* also, const char* format, va_list args);
