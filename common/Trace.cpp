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

// Set while a thread appends: an append seeks the end and then writes, so two threads at once
// could write at the same place, and one line would cut into the other.
LONG appending = 0;

void appendTraceLine(const char* line) {
    if (!tracing()) return;
    // A path that fills its whole field has no terminator to trust.
    if (memchr(traceTarget->path, 0, sizeof traceTarget->path) == nullptr) return;
    while (InterlockedExchange(&appending, 1)) Sleep(0);
    if (FILE* file = fopen(traceTarget->path, "a+")) {
        fwrite(line, 1, strlen(line), file);
        fclose(file);
    }
    InterlockedExchange(&appending, 0);
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
    // Ended here, so that the line goes out in one write.
    if (line[line.GetLength() - 1] != '\n') line += "\n";
    appendTraceLine(line);
}
