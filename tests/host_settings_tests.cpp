// The host key and the installation directory read from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HostSettings.h"
#include "Interceptors.h"
#include "RegistrySandbox.h"
#include "SharedCodeTest.h"
#include "TraceFile.h"

namespace {
using Lines = std::vector<std::string>;
const char kUnreadable[] = "Unable to read ZORV installation directory in Server";

using HostSettings = SharedCodeTest<RegistrySandbox>;

// getInstallDir's buffer form; "(failed)" when it says it failed.
std::string installDir() {
    bool ok = false;
    const std::string text = intoPath([&ok](char* buffer) { ok = getInstallDir(buffer); });
    return ok ? text : "(failed)";
}

std::string sz(const std::string& text) { return text + '\0'; }
}  // namespace

// MainDir as stored, type and bytes, and the directory read from it, or a failure that is traced.
TEST_F(HostSettings, DirectoryIsTheTextUpToItsTerminatorWithOneBackslash) {
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"no backslash", REG_SZ, sz("C:\\Games\\Host"), "C:\\Games\\Host\\"},
        {"a backslash", REG_SZ, sz("C:\\Games\\Host\\"), "C:\\Games\\Host\\"},
        {"expandable, not expanded", REG_EXPAND_SZ, sz("%ProgramFiles%\\Host"), "%ProgramFiles%\\Host\\"},
        {"the longest", REG_SZ, sz(std::string(258, 'a')), std::string(258, 'a') + "\\"},
        {"the longest with its backslash", REG_SZ, sz(std::string(257, 'b') + "\\"), std::string(257, 'b') + "\\"},
        {"one too long", REG_SZ, sz(std::string(259, 'c')), "(failed)"},
        {"filling the limit unterminated", REG_SZ, std::string(259, 'd'), "(failed)"},
        {"far too long", REG_SZ, sz(std::string(300, 'e')), "(failed)"},
        {"binary", REG_BINARY, "abc", "abc\\"},
        {"a number", REG_DWORD, std::string("abc\0", 4), "abc\\"},
        {"unterminated", REG_SZ, "xyz", "xyz\\"},
        {"a zero inside", REG_BINARY, std::string("ab\0cd", 5), "ab\\"},
        {"the longest unterminated", REG_BINARY, std::string(258, 'f'), std::string(258, 'f') + "\\"},
        // A host that stores a fixed buffer leaves bytes behind the terminator.
        {"bytes after the terminator", REG_SZ, sz("C:\\Host") + std::string(251, 'x'), "C:\\Host\\"},
        {"a zero first", REG_SZ, std::string("\0:\\Host\0", 8) + std::string(251, 'x'), "(failed)"},
        {"empty", REG_SZ, sz(""), "(failed)"},
        {"no bytes", REG_SZ, "", "(failed)"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(reg::setBytes("", "MainDir", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size())));
        const size_t before = trace.messages().size();
        EXPECT_EQ(c.expected, installDir()) << c.what;
        EXPECT_EQ(c.expected == "(failed)" ? Lines{kUnreadable} : Lines(), traced(before)) << c.what;
    }

    reg::setString("", "MainDir", "C:\\Host");
    const size_t before = trace.messages().size();
    CString dir("old");
    EXPECT_TRUE(getInstallDir(dir));
    EXPECT_STREQ("C:\\Host\\", dir);
    EXPECT_EQ(Lines(), traced(before));
}

TEST_F(HostSettings, MissingValueOrKeyIsTracedAndTheStringKept) {
    reg::createKey("");
    CString dir("kept");
    EXPECT_FALSE(getInstallDir(dir));
    EXPECT_STREQ("kept", dir);
    EXPECT_EQ(Lines{kUnreadable}, trace.messages());

    reg::deleteTree("");
    EXPECT_FALSE(getInstallDir(dir));
    EXPECT_STREQ("kept", dir);
    EXPECT_EQ(nullptr, openHostKey(KEY_QUERY_VALUE).get());
    EXPECT_EQ((Lines{kUnreadable, "ERROR Unable to read ZORV install key!",
                     "ERROR could not get open zorv install key!", "ERROR Unable to read ZORV install key!"}),
              trace.messages());
}

// A standard user may read HKEY_LOCAL_MACHINE but not write it: reading asks for no more, and a
// key to be written where that is allowed is opened for reading where it is not.
TEST_F(HostSettings, HostKeyIsOpenedAfreshWithTheRightsAskedFor) {
    const char* const host = "SOFTWARE\\ZORV";
    const REGSAM read = KEY_QUERY_VALUE, write = KEY_SET_VALUE;
    reg::setString("", "MainDir", "C:\\Host");
    calls.refuseWriteRights();
    ASSERT_EQ("C:\\Host\\", installDir());
    EXPECT_EQ(nullptr, openHostKey(write).get());
    handedOut = openHostKey(read | write, read).release();
    expectHandedOut("MainDir", "C:\\Host", {{host, read}, {host, write}, {host, read | write}, {host, read}});
    EXPECT_EQ(Lines{"ERROR Unable to read ZORV install key!"}, trace.messages());
}

TEST_F(HostSettings, HandleLeftByAFailedOpenIsClosed) {
    reg::setString("", "MainDir", "C:\\Host");
    calls.failKeyOpen(1, true);
    EXPECT_EQ(nullptr, openHostKey(KEY_QUERY_VALUE).get());
    calls.failKeyOpen(1, true);
    EXPECT_EQ("(failed)", installDir());
    EXPECT_EQ((Lines{"ERROR Unable to read ZORV install key!", "ERROR Unable to read ZORV install key!",
                     "ERROR could not get open zorv install key!"}),
              trace.messages());
}
