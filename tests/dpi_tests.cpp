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
#include "GameDialogs.h"
#include "Installation.h"

namespace {
struct Place {
    std::string dialog;
    double left, width;  // of a picture, as parts of its dialog's client width
};
// Banners and picture buttons, in each dialog's own order.
const char* const kOrvaneStart = kOrvane.start.caption;
const char* const kQuibbixStart = kQuibbix.start.caption;
const char* const kOrvaneFame = kOrvane.hallOfFame.caption;
const char* const kQuibbixFame = kQuibbix.hallOfFame.caption;
const Place kAt96[] = {
    {kOrvaneStart, 0.150, 0.706},  {kOrvaneStart, 0.026, 0.815},  {kQuibbixStart, 0.150, 0.706},
    {kQuibbixStart, 0.150, 0.706}, {kQuibbixStart, 0.026, 0.815}, {kOrvaneFame, 0.026, 0.815},
    {kOrvaneFame, 0.088, 0.706},   {kQuibbixFame, 0.026, 0.815},  {kQuibbixFame, 0.088, 0.706},
    {kQuibbixFame, 0.088, 0.706},
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
    Plugin orvane(kOrvane.dll), quibbix(kQuibbix.dll);
    CallLedger ledgers[] = {CallLedger(orvane.module), CallLedger(quibbix.module)};
    runStart(orvane, kOrvaneStart, measure);
    runStart(quibbix, kQuibbixStart, measure);
    runScore(orvane, "default*0*1", [] { measure(driver::waitFor(kOrvaneFame)); });
    runScore(quibbix, "random*0*1", [] { measure(driver::waitFor(kQuibbixFame)); });

    EXPECT_TRUE(allFit);
    for (const CallLedger& ledger : ledgers) EXPECT_TRUE(ledger.holdings().none()) << ledger.holdings().describe();
    ASSERT_EQ(std::size(kAt96), places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(kAt96[i].dialog, places[i].dialog);
        EXPECT_NEAR(kAt96[i].width, places[i].width, 0.05 * kAt96[i].width) << places[i].dialog << " " << i;
        EXPECT_NEAR(kAt96[i].left, places[i].left, 0.02) << places[i].dialog << " " << i;
    }
}
