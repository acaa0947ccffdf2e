// The diagnostic trace: what one message puts in the file, and when nothing happens at all.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "Interceptors.h"
#include "Trace.h"
#include "TraceFile.h"

namespace {
// 3 February 2001 at that time.
SYSTEMTIME at(WORD hour, WORD minute, WORD second, WORD milliseconds) {
    return {2001, 2, 0, 3, hour, minute, second, milliseconds};
}

struct TraceTest : ::testing::Test {
    Interceptors calls{GetModuleHandleA("zorvcore.dll")};
    TraceFile trace;
    void SetUp() override { ASSERT_TRUE(calls.installed()); }
};
}  // namespace

TEST_F(TraceTest, LineIsTimeMillisecondsAndMessageEndedOnce) {
    calls.pinClock(at(9, 5, 3, 7));
    traceMessage("abc");
    EXPECT_EQ("09:05:03.0007: abc\r\n", trace.raw());
    EXPECT_EQ(1, calls.clockReads());

    traceMessage("ends in a line feed\n");
    traceMessage("");
    calls.pinClock(at(23, 59, 59, 999));
    traceMessage("last");
    calls.pinClock(at(0, 0, 0, 0));
    traceMessage(nullptr);
    EXPECT_EQ(
        "09:05:03.0007: abc\r\n"
        "09:05:03.0007: ends in a line feed\r\n"
        "09:05:03.0007: \r\n"
        "23:59:59.0999: last\r\n"
        "00:00:00.0000: \r\n",
        trace.raw());
    EXPECT_EQ(5, calls.clockReads());
}

TEST_F(TraceTest, LinesAreAddedToWhatTheFileHeld) {
    if (FILE* file = fopen(trace.path(), "wb")) {
        fputs("earlier\r\n", file);
        fclose(file);
    }
    calls.pinClock(at(12, 0, 1, 20));
    traceMessage("later");
    EXPECT_EQ("earlier\r\n12:00:01.0020: later\r\n", trace.raw());
}

TEST_F(TraceTest, WithoutAnEnabledTargetNothingHappens) {
    setTraceTarget(nullptr);
    traceMessage("no target");
    trace.target().enabled = 0;
    setTraceTarget(&trace.target());
    traceMessage("disabled");
    EXPECT_EQ(0, calls.clockReads());
    EXPECT_FALSE(trace.exists());

    trace.target().enabled = 0x80;  // any non-zero byte turns it on
    traceMessage("on");
    EXPECT_EQ(1u, trace.messages().size());
}

TEST_F(TraceTest, AFileThatCannotBeOpenedLosesTheLineSilently) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    snprintf(trace.target().path, sizeof trace.target().path, "%szorv-no-such-folder\\trace.log", temp);
    traceMessage("lost");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(trace.target().path));

    // A path with no terminator in its field is never read past.
    memset(trace.target().path, 'x', sizeof trace.target().path);
    traceMessage("lost too");
    EXPECT_EQ(2, calls.clockReads());
}
