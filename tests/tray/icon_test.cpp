#include <gtest/gtest.h>

#include <string>

#include "hooks.h"
#include "tray.h"

TEST(BitsPerPixel, MapsTheFifteenCodesAndNothingElse)
{
    const LONG expected[] = { 4, 4, 8, 8, 8, 16, 16, 16, 16, 24, 24, 32, 32, 32, 32 };
    for (LONG code = 0; code < 15; ++code)
        EXPECT_EQ(BitsPerPixel(code), expected[code]) << code;
    for (LONG code : { -1L, 15L, 16L, 255L, 0x7FFFFFFFL, -0x7FFFFFFFL - 1 })
        EXPECT_EQ(BitsPerPixel(code), 0) << code;
}

static std::string Tip(const DisplayMode &mode, const TipLabels &labels)
{
    char tip[TIP_SIZE + 16];
    memset(tip, '#', sizeof(tip));
    FormatModeTip(tip, &mode, &labels);
    EXPECT_EQ(std::string(tip + TIP_SIZE, 16), std::string(16, '#')) << "wrote past the tip";
    return tip;
}

TEST(FormatModeTip, ShowsBothSizesAndTheDepth)
{
    TipLabels labels = { "Desktop", "Screen", "Colours", "bits" };
    EXPECT_EQ(Tip({ 1024, 768, 5, 800, 600, 60 }, labels),
              "Desktop: 1024 x 768, Screen: 800 x 600, Colours: 16 bits");
    EXPECT_EQ(Tip({ -1, 0, 14, 2147483647, -2147483647 - 1, 0 }, labels).substr(0, 63),
              std::string("Desktop: -1 x 0, Screen: 2147483647 x -2147483648, Colours: 32 bits")
                  .substr(0, 63));
    EXPECT_EQ(Tip({ 640, 480, 15, 640, 480, 0 }, labels),
              "Desktop: 640 x 480, Screen: 640 x 480, Colours: 0 bits");
}

TEST(FormatModeTip, CutsTheWholeTextAfterSixtyThreeCharacters)
{
    TipLabels labels;
    for (char *label : { labels.firstSize, labels.secondSize, labels.depth, labels.depthUnit }) {
        memset(label, 'L', TIP_SIZE - 1);
        label[TIP_SIZE - 1] = '\0';
    }
    labels.firstSize[0] = 'A';
    EXPECT_EQ(Tip({ 1, 2, 3, 4, 5, 6 }, labels), "A" + std::string(62, 'L'));

    TipLabels shortFirst = { "W", "", "", "" };
    memset(shortFirst.secondSize, 'S', TIP_SIZE - 1);
    shortFirst.secondSize[TIP_SIZE - 1] = '\0';
    EXPECT_EQ(Tip({ 10, 20, 0, 30, 40, 0 }, shortFirst),
              "W: 10 x 20, " + std::string(51, 'S'));
}

TEST(FormatModeTip, LabelsArePrintedAsTheyStandNotUsedAsFormats)
{
    TipLabels labels = { "%s%s%n", "%d", "100%", "%%" };
    EXPECT_EQ(Tip({ 800, 600, 9, 800, 600, 0 }, labels),
              "%s%s%n: 800 x 600, %d: 800 x 600, 100%: 24 %%");
}

TEST(TrayWindow, ATimerMessageOfAnyIdRebuildsTheTooltip)
{
    /* The library is asked for the mode only when the icon record is
     * built. This window has no timer of its own: only the messages given
     * here reach the window procedure. */
    DisplayConfigHooks display;
    display.SetMode(1024, 768, 6, 800, 600);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(window);
    for (WPARAM id : { TRAY_TIMER_ID, 7 }) {
        DWORD queries = display.Dword("GetDisplayModeCalls");
        TrayWndProc(window, WM_TIMER, id, 0);
        EXPECT_EQ(display.Dword("GetDisplayModeCalls"), queries + 1) << "timer " << id;
    }
    DestroyWindow(window);
}
