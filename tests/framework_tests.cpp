// The framework's string and handle holders, where they meet their own storage.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "CString.h"
#include "Handles.h"

namespace {
std::string text(const CString& s) { return std::string(s, s.GetLength()); }
}  // namespace

// Each step grows the storage, so a source inside the old storage would be read after it moved.
TEST(FrameworkString, TextFromItsOwnStorageSurvivesTheGrowth) {
    CString s("0123456789");
    std::string expected = "0123456789";
    while (expected.size() < 2 * 1024 * 1024) {
        s += s;
        expected += expected;
        ASSERT_EQ(expected, text(s));
        s += static_cast<const char*>(s) + s.GetLength() - 3;
        expected += expected.substr(expected.size() - 3);
        ASSERT_EQ(expected, text(s));
    }

    CString f(std::string(300 * 1024, 'f').c_str());
    f.Format("<%s|%d|%s>", static_cast<const char*>(f), 7, static_cast<const char*>(f) + 1);
    EXPECT_EQ("<" + std::string(300 * 1024, 'f') + "|7|" + std::string(300 * 1024 - 1, 'f') + ">", text(f));

    CString a("hello world");
    a = static_cast<const char*>(a) + 6;
    EXPECT_EQ("world", text(a));
    a = static_cast<const char*>(a);
    EXPECT_EQ("world", text(a));
    a = a;
    EXPECT_EQ("world", text(a));
}

TEST(FrameworkString, BufferOfAnEmptyStringIsItsOwn) {
    CString empty, other;
    char* buffer = empty.GetBuffer(0);
    ASSERT_NE(nullptr, buffer);
    // Writing into text that every empty string shares would change them all.
    ASSERT_NE(static_cast<const char*>(other), buffer);
    buffer[0] = 0;
    empty.ReleaseBuffer();
    EXPECT_EQ("", text(empty));

    buffer = empty.GetBuffer(3);
    memcpy(buffer, "abc", 4);
    empty.ReleaseBuffer();
    EXPECT_EQ("abc", text(empty));
    EXPECT_EQ("", text(other));
    EXPECT_EQ("", text(CString()));
}
