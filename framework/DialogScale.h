// A dialog at the screen's scale and on its monitor. At a dpi other than 96 a dialog grows with its
// font while a bitmap keeps its pixels: each picture is copied at the size its place has.
#pragma once

#include <windows.h>

#include "Handles.h"

class DialogScale {
public:
    // Before the dialog's own initialisation: measures the scale.
    void measure(HWND dialog);
    // After it, once the dialog placed itself: makes a dialog larger than the work area of the
    // monitor it is on smaller, fonts and controls alike, keeps it on that work area, and copies
    // each picture at the size its place has now.
    void apply(HWND dialog);
    // Before the controls go: each gets its own bitmap back, and the copy is deleted.
    static void restore(HWND dialog);

private:
    // A fraction, one to one at 96 dpi.
    struct Ratio {
        int num = 1, den = 1;
        int operator()(int value) const { return MulDiv(value, num, den); }
        bool none() const { return num == den; }
    };
    void fitWorkArea(HWND dialog);
    // The window's font at the fit's size, made once for each font the dialog shows.
    void fitFont(HWND window, Ratio fit);

    Ratio x_, y_;
    // The dialog's own font and a bold one, the most its controls show; they outlive the window.
    struct Fitted {
        HGDIOBJ from = nullptr;
        GdiObject font;
    } fitted_[2];
};
