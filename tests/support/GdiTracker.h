// The fonts and bitmaps a plug-in makes through its own imports, and how it deletes them, seen
// from its ledger.
#pragma once

#include <windows.h>

#include <set>

#include "CallLedger.h"

class GdiTracker : public LedgerView {
public:
    explicit GdiTracker(HMODULE module) : LedgerView(module) {}

    bool installed() const {
        return hooked(Api::LoadImageA) && hooked(Api::CreateFontIndirectA) && hooked(Api::DeleteObject);
    }

    int made = 0;
    std::set<HGDIOBJ> alive;    // made and not deleted yet
    int strayDeletes = 0;       // deleted but not made here, or deleted twice
    int deletedWhileShown = 0;  // still a control's font or image when deleted

    HANDLE loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) override;
    HFONT createFont(const LOGFONTA* description) override;
    BOOL deleteObject(HGDIOBJ object) override;

private:
    template <typename Object>
    Object madeOne(Object object) {
        made += object != nullptr;
        if (object) alive.insert(object);
        return object;
    }
};
