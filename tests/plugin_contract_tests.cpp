// What the host relies on when it loads a plug-in: exports, ordinals, calling convention,
// and nothing imported beyond the system DLLs.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "DialogDriver.h"
#include "ImportHook.h"
#include "Plugin.h"

namespace {
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

class PluginContract : public ::testing::TestWithParam<const char*> {};
}  // namespace

TEST_P(PluginContract, ExportsResolveByNameAndOrdinal) {
    Plugin plugin(GetParam());
    ASSERT_NE(plugin.module, nullptr);
    EXPECT_EQ(plugin.score, exportOf<ScoreEntry>(plugin.module, MAKEINTRESOURCEA(1)));
    EXPECT_EQ(plugin.start, exportOf<StartEntry>(plugin.module, MAKEINTRESOURCEA(2)));
    EXPECT_EQ(plugin.stop, exportOf<StopEntry>(plugin.module, MAKEINTRESOURCEA(3)));
    EXPECT_NE(plugin.score, nullptr);
    EXPECT_NE(plugin.start, nullptr);
    EXPECT_NE(plugin.stop, nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "fnGameStartDlgzorv@8"), nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "_fnGameStartDlgzorv@8"), nullptr);
}

TEST_P(PluginContract, EntryPointsRemoveTheirOwnArguments) {
    Plugin plugin(GetParam());
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
}

TEST_P(PluginContract, ImportsOnlySystemDlls) {
    Plugin plugin(GetParam());
    char imports[512][64];
    const int count = listImports(plugin.module, imports, 512);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count && i < 512; ++i) {
        const std::string dll = std::string(imports[i]).substr(0, std::string(imports[i]).find('!'));
        EXPECT_TRUE(_stricmp(dll.c_str(), "KERNEL32.dll") == 0 || _stricmp(dll.c_str(), "USER32.dll") == 0 ||
                    _stricmp(dll.c_str(), "GDI32.dll") == 0 || _stricmp(dll.c_str(), "ADVAPI32.dll") == 0 ||
                    _stricmp(dll.c_str(), "msvcrt.dll") == 0)
            << imports[i];
    }
}

INSTANTIATE_TEST_SUITE_P(BothPlugins, PluginContract, ::testing::Values("orvane.dll", "quibbix.dll"));
