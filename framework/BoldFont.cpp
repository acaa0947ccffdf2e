#include "BoldFont.h"

HFONT createBoldFont(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA description;
    if (!font || GetObjectA(font, sizeof description, &description) != sizeof description) return nullptr;
    description.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&description);
}
