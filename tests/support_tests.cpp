// The registry sandbox, temporary installation and call ledger that the other tests stand on.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "CallLedger.h"
#include "CurrentWorld.h"
#include "Installation.h"
#include "Interceptors.h"
#include "Plugin.h"
#include "RegistrySandbox.h"

namespace {
// Refuses the writes of one value name before the views below it see them.
struct RefusingWrites : LedgerView {
    RefusingWrites(HMODULE module, const char* refused) : LedgerView(module), refused(refused) {}
    LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override {
        if (name && refused == name) return ERROR_ACCESS_DENIED;
        return LedgerView::setValue(key, name, reserved, type, data, size);
    }
    std::string refused;
};
}  // namespace

TEST(Support, SandboxRestoresTheTreeByteForByte) {
    RegistrySandbox outer;
    ASSERT_TRUE(reg::setString("", "MainDir", "C:\\Host"));
    ASSERT_TRUE(reg::setString("", "Raw", "abc", REG_SZ, false));
    ASSERT_TRUE(reg::setDword("World\\Deep", "Flag", 0xdeadbeef));
    {
        RegistrySandbox inner;
        EXPECT_FALSE(reg::get("", "MainDir").exists);
        EXPECT_TRUE(reg::setString("Other", "X", "y"));
    }
    EXPECT_FALSE(reg::get("Other", "X").exists);
    EXPECT_EQ(std::string("C:\\Host\0", 8), reg::get("", "MainDir").data);
    const reg::Value raw = reg::get("", "Raw");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type);
    EXPECT_EQ("abc", raw.data);  // no terminator added on the way back
    const reg::Value flag = reg::get("World\\Deep", "Flag");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), flag.type);
    EXPECT_EQ(std::string("\xef\xbe\xad\xde", 4), flag.data);
    EXPECT_EQ("", reg::text("World", "Missing"));
}

TEST(Support, InstallationLivesInAFreshFolder) {
    std::string dir;
    {
        Installation install("dZORV_one");
        dir = install.dir();
        ASSERT_EQ('\\', dir.back());
        EXPECT_EQ(dir, reg::text("", "MainDir"));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "Desktops\\dZORV_one\\dZORV_one.dcr").c_str()));
        EXPECT_TRUE(reg::createKey("dZORV_one\\probe"));
        EXPECT_EQ(std::string("dZORV_one\0", 10), reg::get("", "CurrMovie").data);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.c_str()));
}

// Views over one module see its calls newest first; two modules are under ledgers at once, each
// call booked to the module that made it; the last ledger of a module puts its slots back.
TEST(Support, LedgerViewsStackOverOneModuleAndEverySlotGoesBack) {
    Installation install("dZORV_one");
    HMODULE core = GetModuleHandleA("zorvcore.dll");
    Plugin plugin("orvane.dll");
    const void* coreWrite = importSlot(core, Api::RegSetValueExA);
    const void* pluginBox = importSlot(plugin.module, Api::MessageBoxA);
    ASSERT_NE(nullptr, coreWrite);
    ASSERT_NE(nullptr, pluginBox);
    {
        CallLedger ledger(core);
        Interceptors bottom(core);
        auto lower = std::make_unique<Interceptors>(core);
        RefusingWrites upper(core, "Refused");
        Interceptors pluginCalls(plugin.module);
        EXPECT_NE(coreWrite, importSlot(core, Api::RegSetValueExA));

        EXPECT_EQ(kWritten, writeWorldValue("Kept", "1"));
        EXPECT_EQ(kNotWritten, writeWorldValue("Refused", "2"));
        EXPECT_EQ(2, ledger.count(Api::RegSetValueExA));
        ASSERT_EQ(1u, lower->writes().size());
        EXPECT_EQ("Kept", lower->writes()[0].name);
        EXPECT_EQ("1", reg::text("dZORV_one", "Kept"));
        EXPECT_FALSE(reg::get("dZORV_one", "Refused").exists);
        ASSERT_EQ(1u, ledger.boxes().size());  // answered by the lower view, never shown
        EXPECT_EQ("Unable to save game stat info!", ledger.boxes()[0].text);

        EXPECT_FALSE(plugin.stop());  // its box answered OK, which is not Yes
        EXPECT_EQ(1u, pluginCalls.boxes().size());
        EXPECT_EQ(1, pluginCalls.count(Api::EnumWindows));
        EXPECT_EQ(1u, ledger.boxes().size());
        EXPECT_EQ(0, ledger.count(Api::EnumWindows));

        // A view gone from the middle of the stack leaves the one above joined to the one below.
        lower.reset();
        EXPECT_EQ(kWritten, writeWorldValue("Later", "3"));
        EXPECT_EQ(kNotWritten, writeWorldValue("Refused", "4"));
        EXPECT_EQ("3", reg::text("dZORV_one", "Later"));
        ASSERT_EQ(2u, bottom.writes().size());
        EXPECT_EQ("Later", bottom.writes()[1].name);
        EXPECT_EQ(2u, ledger.boxes().size());  // the bottom view's answer this time
        EXPECT_TRUE(ledger.holdings().none()) << ledger.holdings().describe();
    }
    EXPECT_EQ(coreWrite, importSlot(core, Api::RegSetValueExA));
    EXPECT_EQ(pluginBox, importSlot(plugin.module, Api::MessageBoxA));
}

// Two views over one module, the later one gone first: while the earlier one lives the calls
// still go through it, and once both are gone every slot holds what it held before either came.
TEST(Support, StackedViewsGoneInReverseOrderPutEverySlotBack) {
    Installation install("dZORV_one");
    HMODULE core = GetModuleHandleA("zorvcore.dll");
    constexpr int apis = static_cast<int>(Api::Count);
    const void* before[apis];
    for (int api = 0; api < apis; ++api) before[api] = importSlot(core, static_cast<Api>(api));
    ASSERT_NE(nullptr, before[static_cast<int>(Api::RegSetValueExA)]);

    auto first = std::make_unique<Interceptors>(core);
    auto second = std::make_unique<RefusingWrites>(core, "Refused");
    const void* underViews[apis];
    for (int api = 0; api < apis; ++api) {
        underViews[api] = importSlot(core, static_cast<Api>(api));
        if (before[api]) {
            EXPECT_NE(before[api], underViews[api]) << apiName(static_cast<Api>(api));
        }
    }
    EXPECT_EQ(kNotWritten, writeWorldValue("Refused", "1"));

    second.reset();
    for (int api = 0; api < apis; ++api)
        EXPECT_EQ(underViews[api], importSlot(core, static_cast<Api>(api))) << apiName(static_cast<Api>(api));
    EXPECT_EQ(kWritten, writeWorldValue("Refused", "2"));
    ASSERT_EQ(1u, first->writes().size());
    EXPECT_EQ(1u, first->boxes().size());
    EXPECT_EQ("2", reg::text("dZORV_one", "Refused"));

    first.reset();
    for (int api = 0; api < apis; ++api)
        EXPECT_EQ(before[api], importSlot(core, static_cast<Api>(api))) << apiName(static_cast<Api>(api));
}
