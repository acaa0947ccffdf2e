// Diagnostic trace: timestamped lines appended to a file while a target is set and enabled.
#pragma once

// What the trace reads of a target, in this layout; whoever sets it owns it.
struct TraceTarget {
    unsigned char enabled;
    char path[260];
};

// Nothing in the plug-ins sets a target; tests and debugging builds do.
void setTraceTarget(const TraceTarget* target);

void traceMessage(const char* message);
