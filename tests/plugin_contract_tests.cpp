// What the host relies on when it loads a plug-in: exports, ordinals, and nothing imported
// beyond the system DLLs.
#include <gtest/gtest.h>

#include <string>

#include "CallLedger.h"
#include "Plugin.h"

namespace {
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
