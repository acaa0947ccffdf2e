// A test of the shared code in zorvcore.dll against a private host key, with its trace on and
// its platform calls seen; every key and search it opens must be closed again by the end.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

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
