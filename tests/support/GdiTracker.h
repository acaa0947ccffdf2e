// Counts the fonts and bitmaps a plug-in makes through its own imports, and how it deletes them.
#pragma once

#include <windows.h>

#include <set>

#include "ImportHook.h"

class GdiTracker {
public:
    explicit GdiTracker(HMODULE module);
    ~GdiTracker();
    GdiTracker(const GdiTracker&) = delete;
    GdiTracker& operator=(const GdiTracker&) = delete;

    bool installed() const { return load_.installed() && font_.installed() && remove_.installed(); }

    int made = 0;
    std::set<HGDIOBJ> alive;    // made and not deleted yet
    int strayDeletes = 0;       // deleted but not made here, or deleted twice
    int deletedWhileShown = 0;  // still a control's font or image when deleted

private:
    ImportHook load_, font_, remove_;
};
