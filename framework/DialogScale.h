// A dialog at the screen's scale and on its monitor. At a dpi other than 96 a dialog grows with its
// font while a bitmap keeps its pixels: each picture is copied at the size its place has.
#pragma once

#include <windows.h>

#include "Handles.h"

class DialogScale {
public:
    // Before the dialog's own initialisation: measures the scale, and makes a dialog larger than
    // its monitor's work area smaller, font and controls alike.
    void measure(HWND dialog);
    // After it, once the dialog placed itself: keeps it on its monitor's work area, and copies each
    // picture at the size its place has now.
    void apply(HWND dialog) const;
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

    Ratio x_, y_;
    GdiObject fitFont_;  // outlives the window that shows it
};
