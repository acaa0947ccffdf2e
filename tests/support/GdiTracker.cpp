#include "GdiTracker.h"

#include "DialogDriver.h"

namespace {
struct Search {
    HGDIOBJ object;
    bool found;
};

BOOL CALLBACK usesObject(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    const auto held = reinterpret_cast<LRESULT>(search->object);
    search->found =
        SendMessageA(child, WM_GETFONT, 0, 0) == held || SendMessageA(child, BM_GETIMAGE, IMAGE_BITMAP, 0) == held;
    return !search->found;
}

// EnumChildWindows' own result does not tell, so the search keeps its answer.
bool shownSomewhere(HGDIOBJ object) {
    Search search = {object, false};
    for (HWND window : driver::windowsOfProcess())
        if (!search.found) EnumChildWindows(window, usesObject, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
}  // namespace

HANDLE GdiTracker::loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    return madeOne(LedgerView::loadImage(instance, name, type, cx, cy, flags));
}

HFONT GdiTracker::createFont(const LOGFONTA* description) { return madeOne(LedgerView::createFont(description)); }

BOOL GdiTracker::deleteObject(HGDIOBJ object) {
    if (shownSomewhere(object)) ++deletedWhileShown;
    if (alive.erase(object) != 1) ++strayDeletes;
    return LedgerView::deleteObject(object);
}
