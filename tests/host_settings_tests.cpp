// The host key and the installation directory read from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
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

// The buffer form into 260 bytes followed by spare bytes that must keep their 0xbd.
struct Read {
    bool ok;
    std::string text;
    bool spareKept;
};
Read readInstallDir() {
    unsigned char buffer[260 + 8];
    memset(buffer, 0xbd, sizeof buffer);
    Read read;
    read.ok = getInstallDir(reinterpret_cast<char*>(buffer));
    const void* end = memchr(buffer, 0, 260);
    read.text = read.ok && end ? std::string(reinterpret_cast<char*>(buffer)) : std::string("(failed)");
    read.spareKept = true;
    for (size_t i = 260; i < sizeof buffer; ++i) read.spareKept &= buffer[i] == 0xbd;
    return read;
}

void expectDir(const std::string& expected, const Read& read) {
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(expected, read.text);
    EXPECT_TRUE(read.spareKept);
}
}  // namespace

TEST_F(HostSettings, DirectoryEndsInExactlyOneBackslash) {
    reg::setString("", "MainDir", "C:\\Games\\Host");
    expectDir("C:\\Games\\Host\\", readInstallDir());
    reg::setString("", "MainDir", "C:\\Games\\Host\\");
    expectDir("C:\\Games\\Host\\", readInstallDir());
    reg::setString("", "MainDir", "%ProgramFiles%\\Host", REG_EXPAND_SZ);
    expectDir("%ProgramFiles%\\Host\\", readInstallDir());

    CString dir("old");
    EXPECT_TRUE(getInstallDir(dir));
    EXPECT_STREQ("%ProgramFiles%\\Host\\", dir);
    EXPECT_TRUE(trace.messages().empty());
}

TEST_F(HostSettings, LongestDirectoryIs258CharactersBeforeTheBackslash) {
    const std::string longest(258, 'a');
    reg::setString("", "MainDir", longest.c_str());
    expectDir(longest + "\\", readInstallDir());
    const std::string withBackslash = std::string(257, 'b') + "\\";
    reg::setString("", "MainDir", withBackslash.c_str());
    expectDir(withBackslash, readInstallDir());
    EXPECT_TRUE(trace.messages().empty());

    reg::setString("", "MainDir", std::string(259, 'c').c_str());
    EXPECT_FALSE(readInstallDir().ok);
    reg::setString("", "MainDir", std::string(259, 'd').c_str(), REG_SZ, false);  // fills the limit
    EXPECT_FALSE(readInstallDir().ok);
    reg::setString("", "MainDir", std::string(300, 'e').c_str());
    EXPECT_FALSE(readInstallDir().ok);
    EXPECT_EQ(Lines(3, kUnreadable), trace.messages());
}

TEST_F(HostSettings, ValueOfAnyTypeIsTakenAsTerminatedText) {
    reg::setBytes("", "MainDir", REG_BINARY, "abc", 3);
    expectDir("abc\\", readInstallDir());
    reg::setDword("", "MainDir", 0x00636261);
    expectDir("abc\\", readInstallDir());
    reg::setString("", "MainDir", "xyz", REG_SZ, false);
    expectDir("xyz\\", readInstallDir());
    reg::setBytes("", "MainDir", REG_BINARY, "ab\0cd", 5);
    expectDir("ab\\", readInstallDir());
    reg::setBytes("", "MainDir", REG_BINARY, std::string(258, 'f').c_str(), 258);
    expectDir(std::string(258, 'f') + "\\", readInstallDir());
    EXPECT_TRUE(trace.messages().empty());
}

// A host that stores a fixed buffer leaves bytes behind the terminator; the text still ends there.
TEST_F(HostSettings, BytesAfterTheTerminatorAreNotPartOfTheDirectory) {
    std::string filled = std::string("C:\\Host") + '\0' + std::string(251, 'x');
    ASSERT_EQ(259u, filled.size());
    reg::setBytes("", "MainDir", REG_SZ, filled.data(), 259);
    expectDir("C:\\Host\\", readInstallDir());
    EXPECT_TRUE(trace.messages().empty());

    // A zero first is still an empty directory, however much follows it.
    filled[0] = 0;
    reg::setBytes("", "MainDir", REG_SZ, filled.data(), 259);
    EXPECT_FALSE(readInstallDir().ok);
    EXPECT_EQ(Lines{kUnreadable}, trace.messages());
}

TEST_F(HostSettings, EmptyDirectoryIsAFailure) {
    reg::setString("", "MainDir", "");
    EXPECT_FALSE(readInstallDir().ok);
    reg::setBytes("", "MainDir", REG_SZ, "", 0);
    EXPECT_FALSE(readInstallDir().ok);
    EXPECT_EQ(Lines(2, kUnreadable), trace.messages());
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
    EXPECT_EQ(nullptr, openHostKey().get());
    EXPECT_EQ((Lines{kUnreadable, "ERROR Unable to read ZORV install key!",
                     "ERROR could not get open zorv install key!", "ERROR Unable to read ZORV install key!"}),
              trace.messages());
}

TEST_F(HostSettings, HostKeyIsOpenedAfreshWithFullAccess) {
    reg::setString("", "MainDir", "C:\\Host");
    ASSERT_TRUE(readInstallDir().ok);
    handedOut = openHostKey().release();
    expectHandedOut("MainDir", "C:\\Host", {"SOFTWARE\\ZORV", "SOFTWARE\\ZORV"});
}

TEST_F(HostSettings, HandleLeftByAFailedOpenIsClosed) {
    reg::setString("", "MainDir", "C:\\Host");
    calls.failKeyOpen(1, true);
    EXPECT_EQ(nullptr, openHostKey().get());
    calls.failKeyOpen(1, true);
    EXPECT_FALSE(readInstallDir().ok);
    EXPECT_EQ((Lines{"ERROR Unable to read ZORV install key!", "ERROR Unable to read ZORV install key!",
                     "ERROR could not get open zorv install key!"}),
              trace.messages());
}
