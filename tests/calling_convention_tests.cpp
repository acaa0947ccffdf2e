// The calling convention the host relies on: each entry point removes its own arguments.
#include <gtest/gtest.h>

#include <cstdint>

#include "DialogDriver.h"
#include "Games.h"
#include "Plugin.h"

namespace {
class CallingConvention : public ::testing::TestWithParam<const Game*> {};

#if defined(__i386__)
// Calls fn with the given 32-bit arguments and returns how far the stack pointer moved:
// 0 when the callee removed its arguments.
uint32_t stackDrift(void* fn, int argc, const uint32_t* args) {
    uint32_t drift;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "testl %[argc], %[argc]\n\t"
        "jz 2f\n\t"
        "pushl 4(%[args])\n\t"
        "pushl (%[args])\n\t"
        "2: call *%[fn]\n\t"
        "movl %%esi, %%eax\n\t"
        "subl %%esp, %%eax\n\t"
        "movl %%esi, %%esp\n\t"
        : "=&a"(drift), [argc] "+c"(argc)
        : [fn] "b"(fn), [args] "D"(args)
        : "esi", "edx", "memory", "cc");
    return drift;
}
#endif
}  // namespace

TEST_P(CallingConvention, EntryPointsRemoveTheirOwnArguments) {
#if defined(__i386__)
    Plugin plugin(GetParam()->dll);
    char scoreString[] = "default*0*1";
    char startBuffer[260] = {};
    const uint32_t scoreArgs[] = {reinterpret_cast<uint32_t>(scoreString), 0xdeadbeef};
    const uint32_t startArgs[] = {reinterpret_cast<uint32_t>(startBuffer), 0xdeadbeef};
    for (int ordinal = 1; ordinal <= 3; ++ordinal) {
        ScriptedRun cancelWhateverOpens([] {});
        EXPECT_EQ(0u, stackDrift(exportOf<void*>(plugin.module, MAKEINTRESOURCEA(ordinal)), ordinal == 3 ? 0 : 2,
                                 ordinal == 1 ? scoreArgs : startArgs))
            << "ordinal " << ordinal;
    }
#else
    GTEST_SKIP() << "x86_64 has one calling convention, in which the caller removes the arguments; the "
                    "i686 DLLs' returns are read from their disassembly by the deliverable checks";
#endif
}

INSTANTIATE_TEST_SUITE_P(Listed, CallingConvention, ::testing::ValuesIn(kGames));
