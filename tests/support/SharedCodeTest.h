// A test of the shared code in zorvcore.dll against a private host key, with its trace on and
// its platform calls seen; every key and search it opens must be closed again by the end.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Interceptors.h"
#include "TraceFile.h"

// What fill leaves in 260 bytes that start with initial (0xbd when null; cut to 260 bytes), with
// spare bytes after them that must keep their 0xbd: the text, or all 260 bytes when unterminated.
inline std::string intoPath(const std::function<void(char*)>& fill, const char* initial = nullptr) {
    unsigned char buffer[260 + 8];
    memset(buffer, 0xbd, sizeof buffer);
    if (initial) memcpy(buffer, initial, std::min<size_t>(strlen(initial) + 1, 260));
    fill(reinterpret_cast<char*>(buffer));
    for (size_t i = 260; i < sizeof buffer; ++i)
        if (buffer[i] != 0xbd) return "(wrote past the buffer)";
    if (!memchr(buffer, 0, 260)) return std::string(reinterpret_cast<char*>(buffer), 260);
    return reinterpret_cast<char*>(buffer);
}

// Home: the RegistrySandbox or Installation the test runs in.
template <typename Home>
struct SharedCodeTest : ::testing::Test {
    Home home;
    TraceFile trace;
    Interceptors calls{GetModuleHandleA("zorvcore.dll")};
    HKEY handedOut = nullptr;  // closed by the test itself
    bool boxesExpected = false;

    // The key handed out reads the value as this text, and the keys opened on the way were these
    // subkeys, with these rights.
    void expectHandedOut(const char* name, const char* text, const std::vector<KeyOpen>& opened) {
        ASSERT_NE(nullptr, handedOut);
        char data[32] = {};
        DWORD size = sizeof data - 1;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(handedOut, name, nullptr, nullptr, (BYTE*)data, &size));
        EXPECT_STREQ(text, data);
        ASSERT_EQ(opened.size(), calls.keyOpens().size());
        for (size_t i = 0; i < opened.size(); ++i) {
            EXPECT_EQ(opened[i].subkey, calls.keyOpens()[i].subkey) << i;
            EXPECT_EQ(opened[i].access, calls.keyOpens()[i].access) << i;
        }
    }

    // The messages traced from the given one on.
    std::vector<std::string> traced(size_t first) const {
        const std::vector<std::string> lines = trace.messages();
        return std::vector<std::string>(lines.begin() + std::min(first, lines.size()), lines.end());
    }

    void SetUp() override { ASSERT_TRUE(calls.installed()); }
    void TearDown() override {
        EXPECT_TRUE(calls.allClosedBut(handedOut)) << calls.holdings().describe();
        if (!boxesExpected) {
            EXPECT_TRUE(calls.boxes().empty());
        }
        if (handedOut) RegCloseKey(handedOut);
    }
};
