#include "GdiTracker.h"

#include "DialogDriver.h"

namespace {
GdiTracker* current;
decltype(&LoadImageA) realLoadImage;
decltype(&CreateFontIndirectA) realCreateFont;
decltype(&DeleteObject) realDeleteObject;

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

void made(HGDIOBJ object) {
    if (!object) return;
    current->alive.insert(object);
    ++current->made;
}

HANDLE WINAPI trackedLoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    HANDLE image = realLoadImage(instance, name, type, cx, cy, flags);
    made(image);
    return image;
}

HFONT WINAPI trackedCreateFont(const LOGFONTA* description) {
    HFONT font = realCreateFont(description);
    made(font);
    return font;
}

BOOL WINAPI trackedDeleteObject(HGDIOBJ object) {
    if (shownSomewhere(object)) ++current->deletedWhileShown;
    if (current->alive.erase(object) != 1) ++current->strayDeletes;
    return realDeleteObject(object);
}
}  // namespace

GdiTracker::GdiTracker(HMODULE module)
    : load_(module, "USER32.dll", "LoadImageA", reinterpret_cast<const void*>(&trackedLoadImage)),
      font_(module, "GDI32.dll", "CreateFontIndirectA", reinterpret_cast<const void*>(&trackedCreateFont)),
      remove_(module, "GDI32.dll", "DeleteObject", reinterpret_cast<const void*>(&trackedDeleteObject)) {
    current = this;
    realLoadImage = load_.original<decltype(&LoadImageA)>();
    realCreateFont = font_.original<decltype(&CreateFontIndirectA)>();
    realDeleteObject = remove_.original<decltype(&DeleteObject)>();
}

GdiTracker::~GdiTracker() { current = nullptr; }
