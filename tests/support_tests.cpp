// The registry sandbox and temporary installation that the other tests stand on.
#include <gtest/gtest.h>

#include <windows.h>

#include "Installation.h"
#include "RegistrySandbox.h"

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
        Installation install;
        dir = install.dir();
        ASSERT_EQ('\\', dir.back());
        EXPECT_EQ(dir, reg::text("", "MainDir"));
        install.addWorld("dZORV_one");
        install.setCurrentWorld("dZORV_one");
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "Desktops\\dZORV_one\\dZORV_one.dcr").c_str()));
        EXPECT_TRUE(reg::createKey("dZORV_one\\probe"));
        EXPECT_EQ(std::string("dZORV_one\0", 10), reg::get("", "CurrMovie").data);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.c_str()));
}
