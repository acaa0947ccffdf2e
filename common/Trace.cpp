// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "Trace.h"

#include <windows.h>

#include <cstring>

#include "CString.h"

namespace {
// Set only by tests and debugging builds; the plug-ins trace nowhere.
const TraceTarget* traceTarget = nullptr;

bool tracing() { return traceTarget && traceTarget->enabled; }

void appendTraceLine(const char* line) {
    if (!tracing()) return;
    // A path that fills its whole field has no terminator to trust.
    if (memchr(traceTarget->path, 0, sizeof traceTarget->path) == nullptr) return;
    FILE* file = fopen(traceTarget->path, "a+");
    if (!file) return;
    const size_t length = strlen(line);
    fwrite(line, 1, length, file);
    if (length == 0 || line[length - 1] != '\n') fwrite("\n", 1, 1, file);
    fclose(file);
}
}  // namespace

void setTraceTarget(const TraceTarget* target) { traceTarget = target; }

void traceMessage(const char* message) {
    if (!tracing()) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    char timeOfDay[16];
    snprintf(timeOfDay, sizeof timeOfDay, "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    CString line;
    line.Format("%s.%04i: %s", timeOfDay, now.wMilliseconds, message ? message : "");
    appendTraceLine(line);
}
