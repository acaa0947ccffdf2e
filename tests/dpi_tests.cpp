// The dialogs' pictures at any dpi: each fills the same part of its dialog as at 96 dpi (within 5%
// in width and 2% of the dialog's width in place), each dialog lies within the work area, and
// every bitmap and font made for a dialog is deleted. Run at the prefix's 96 dpi and, by
// tests/support/at-dpi.sh, at 144.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Installation.h"

namespace {
struct Place {
    std::string dialog;
    double left, width;  // of a picture, as parts of its dialog's client width
};
// Banners and picture buttons, in each dialog's own order.
const Place kAt96[] = {
    {"Orvane Start Game Dialog", 0.150, 0.706},  {"Orvane Start Game Dialog", 0.026, 0.815},
    {"Quibbix Start Game Dialog", 0.150, 0.706}, {"Quibbix Start Game Dialog", 0.150, 0.706},
    {"Quibbix Start Game Dialog", 0.026, 0.815}, {"Orvane Hall of Fame", 0.026, 0.815},
    {"Orvane Hall of Fame", 0.088, 0.706},       {"Quibbix Hall of Fame", 0.026, 0.815},
    {"Quibbix Hall of Fame", 0.088, 0.706},      {"Quibbix Hall of Fame", 0.088, 0.706},
};
std::vector<Place> places;
bool allFit = true;

void measure(HWND dialog) {
    if (!dialog) return;
    RECT client, frame, work;
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    allFit &=
        frame.left >= work.left && frame.top >= work.top && frame.right <= work.right && frame.bottom <= work.bottom;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HANDLE image = driver::image(child);
        BITMAP bitmap;
        if (!image || GetObjectA(image, sizeof bitmap, &bitmap) != sizeof bitmap) continue;
        RECT place = driver::rect(child);  // a button centres its image
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        const double left = place.left + (place.right - place.left - bitmap.bmWidth) / 2.0;
        places.push_back({driver::text(dialog), left / client.right, double(bitmap.bmWidth) / client.right});
    }
    driver::click(dialog, IDCANCEL);
}
}  // namespace

TEST(Dpi, PicturesKeepTheirPlacesAndDialogsFitTheWorkArea) {
    Installation install("dZORV_Dpi");
    reg::setDword("dZORV_Dpi", "NoShowOrvaneInfoDlg", 1);
    Plugin orvane("orvane.dll"), quibbix("quibbix.dll");
    CallLedger ledgers[] = {CallLedger(orvane.module), CallLedger(quibbix.module)};
    runStart(orvane, "Orvane Start Game Dialog", measure);
    runStart(quibbix, "Quibbix Start Game Dialog", measure);
    runScore(orvane, "default*0*1", [] { measure(driver::waitFor("Orvane Hall of Fame")); });
    runScore(quibbix, "random*0*1", [] { measure(driver::waitFor("Quibbix Hall of Fame")); });

    EXPECT_TRUE(allFit);
    for (const CallLedger& ledger : ledgers) EXPECT_TRUE(ledger.holdings().none()) << ledger.holdings().describe();
    ASSERT_EQ(std::size(kAt96), places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(kAt96[i].dialog, places[i].dialog);
        EXPECT_NEAR(kAt96[i].width, places[i].width, 0.05 * kAt96[i].width) << places[i].dialog << " " << i;
        EXPECT_NEAR(kAt96[i].left, places[i].left, 0.02) << places[i].dialog << " " << i;
    }
}
