// A test of the shared code in zorvcore.dll against a private host key, with its trace on and
// its platform calls seen; every key and search it opens must be closed again by the end.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Interceptors.h"
#include "TraceFile.h"

// Home: the RegistrySandbox or Installation the test runs in.
template <typename Home>
struct SharedCodeTest : ::testing::Test {
    Home home;
    TraceFile trace;
    Interceptors calls{GetModuleHandleA("zorvcore.dll")};
    HKEY handedOut = nullptr;  // closed by the test itself
    bool boxesExpected = false;

    // The key handed out reads the value as this text, and the keys opened on the way were these
    // subkeys, each with full access.
    void expectHandedOut(const char* name, const char* text, const std::vector<std::string>& opened) {
        ASSERT_NE(nullptr, handedOut);
        char data[32] = {};
        DWORD size = sizeof data - 1;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(handedOut, name, nullptr, nullptr, (BYTE*)data, &size));
        EXPECT_STREQ(text, data);
        ASSERT_EQ(opened.size(), calls.keyOpens().size());
        for (size_t i = 0; i < opened.size(); ++i) {
            EXPECT_EQ(opened[i], calls.keyOpens()[i].subkey);
            EXPECT_EQ(static_cast<REGSAM>(KEY_ALL_ACCESS), calls.keyOpens()[i].access);
        }
    }

    void SetUp() override { ASSERT_TRUE(calls.installed()); }
    void TearDown() override {
        EXPECT_TRUE(calls.allClosedBut(handedOut)) << calls.keysHeld() << " keys, " << calls.searchesHeld()
                                                   << " searches, " << calls.strayCloses() << " stray closes";
        if (!boxesExpected) {
            EXPECT_TRUE(calls.boxes().empty());
        }
        if (handedOut) RegCloseKey(handedOut);
    }
};
