// The framework's string and handle holders, where they meet their own storage.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CString.h"
#include "Dialog.h"
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

namespace {
std::vector<int> closed;
void countClose(int handle) { closed.push_back(handle); }
using Counted = ScopedHandle<int, countClose>;

Counted handedOut(int handle) {
    Counted held(handle);
    return held;
}
}  // namespace

// However a handle travels between holders, it is closed once, by the last one.
TEST(FrameworkHandles, MovedHandlesAreClosedOnceByTheirLastHolder) {
    static_assert(!std::is_copy_constructible<Counted>::value && !std::is_copy_assignable<Counted>::value,
                  "a copy would close the handle twice");
    closed.clear();
    {
        Counted first = handedOut(1);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(1, second.get());
        Counted third(3);
        third = std::move(second);  // what the target held is closed
        EXPECT_EQ(std::vector<int>{3}, closed);
        EXPECT_EQ(1, third.get());
        Counted& alias = third;
        third = std::move(alias);
        EXPECT_EQ(1, third.get());
        EXPECT_EQ(std::vector<int>{3}, closed);
    }
    EXPECT_EQ((std::vector<int>{3, 1}), closed);
}

// A check that refuses a field's text leaves its member as it was, so that a Cancel after it gives
// none of the text refused.
TEST(FrameworkDataExchange, RefusedTextLeavesTheMemberAsItWas) {
    CDialog dialog(0);
    dialog.m_hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "EDIT", "ABCDEFGHI", WS_CHILD, 0, 0, 10, 10, dialog.m_hWnd, HMENU(1), nullptr, nullptr);
    CString name("before");
    CDataExchange dx(&dialog, true);
    DDX_Text(&dx, 1, name);
    DDV_MaxChars(&dx, name, 8);
    EXPECT_TRUE(dx.failed && strcmp(name, "before") == 0);
    DestroyWindow(dialog.m_hWnd);
}
