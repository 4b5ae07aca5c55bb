// Invalidation, erasing, painting and device contexts on the window's backing canvas.
#include <gtest/gtest.h>

#include <sstream>

#include "surface/recorder.h"
#include "tests/platform/test_window.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Blackens a few pixels through a window context.
void Blacken(HWND window, std::initializer_list<POINT> points) {
    HDC dc = GetDC(window);
    for (const POINT& point : points) SetPixel(dc, point.x, point.y, kBlack);
    ReleaseDC(window, dc);
}

TEST_F(WindowTest, ShowingInvalidatesEverythingWithEraseAndOnlyAShownWindowPaints) {
    Blacken(window, {{5, 5}, {900, 600}});
    UpdateWindow(window);
    EXPECT_EQ(messageLog.size(), 2u) << "a hidden window is not painted";
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    UpdateWindow(window);
    EXPECT_EQ(messageLog.back(), "WM_PAINT");
    EXPECT_EQ(messageLog.size(), 3u) << "one paint validates the window";
    EXPECT_EQ(Pixel(5, 5), kWhite);
    EXPECT_EQ(Pixel(900, 600), kWhite);
}

TEST_F(WindowTest, BeginPaintErasesTheInvalidAreaOnlyWhenAskedTo) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Blacken(window, {{5, 5}, {15, 15}, {25, 25}});

    struct Case {
        const char* name;
        RECT first;
        BOOL firstErase;
        RECT second;
        BOOL secondErase;
        RECT painted;
        COLORREF at5, at15, at25;
    };
    const Case cases[] = {
        {"no erase",
         {0, 0, 10, 10},
         FALSE,
         {0, 0, 10, 10},
         FALSE,
         {0, 0, 10, 10},
         kBlack,
         kBlack,
         kBlack},
        {"erase within the rectangle",
         {0, 0, 10, 10},
         TRUE,
         {0, 0, 10, 10},
         FALSE,
         {0, 0, 10, 10},
         kWhite,
         kBlack,
         kBlack},
        // One request to erase erases the whole update area, the union of both rectangles.
        {"erase the union",
         {10, 10, 20, 20},
         FALSE,
         {0, 0, 12, 12},
         TRUE,
         {0, 0, 20, 20},
         kWhite,
         kWhite,
         kBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Blacken(window, {{5, 5}, {15, 15}, {25, 25}});
        InvalidateRect(window, &c.first, c.firstErase);
        InvalidateRect(window, &c.second, c.secondErase);
        PAINTSTRUCT paint;
        ASSERT_NE(BeginPaint(window, &paint), nullptr);
        EndPaint(window, &paint);
        EXPECT_EQ(paint.rcPaint.left, c.painted.left);
        EXPECT_EQ(paint.rcPaint.top, c.painted.top);
        EXPECT_EQ(paint.rcPaint.right, c.painted.right);
        EXPECT_EQ(paint.rcPaint.bottom, c.painted.bottom);
        EXPECT_EQ(Pixel(5, 5), c.at5);
        EXPECT_EQ(Pixel(15, 15), c.at15);
        EXPECT_EQ(Pixel(25, 25), c.at25);
    }
}

TEST_F(WindowTest, InvalidatingWithoutARegionMeansTheWholeClientArea) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    InvalidateRgn(window, nullptr, FALSE);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    EXPECT_EQ(paint.rcPaint.right, 992);
    EXPECT_EQ(paint.rcPaint.bottom, 666);
}

TEST_F(WindowTest, ASizeChangeSendsTheSizeAndRepaintsEverythingErased) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Blacken(window, {{5, 5}});
    bool resized = false;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        if (resized) return driver.closeWindow();
        resized = true;
        driver.resizeClient(500, 400);
    });
    RunLoop();
    EXPECT_EQ(std::vector<std::string>(messageLog.begin() + 3, messageLog.end()),
              (std::vector<std::string>{"WM_SIZE 500x400", "WM_PAINT", "WM_CLOSE", "WM_DESTROY"}));
    ASSERT_EQ(backend.screen()->width(), 500);
    EXPECT_EQ(Pixel(5, 5), kWhite);
}

TEST_F(WindowTest, EveryContextStartsWithTheDefaults) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Blacken(window, {{100, 100}});
    HDC first = GetDC(window);
    SetROP2(first, R2_NOTXORPEN);
    ReleaseDC(window, first);
    // Over black, a black pen copies black; NOTXOR would turn it white.
    HDC second = GetDC(window);
    MoveToEx(second, 100, 100, nullptr);
    LineTo(second, 101, 100);
    ReleaseDC(window, second);
    EXPECT_EQ(Pixel(100, 100), kBlack);
}

TEST_F(WindowTest, AnActiveTraceNotesPaintsAndTicksBeforeTheirDrawing) {
    std::ostringstream trace;
    {
        surface::Recorder recorder(trace);
        onMessage = [](HWND handle, UINT message, WPARAM) {
            if (message != WM_TIMER) return;
            HDC dc = GetDC(handle);
            SetPixel(dc, 1, 2, kBlack);
            ReleaseDC(handle, dc);
        };
        ShowWindow(window, SW_SHOW);
        SetTimer(window, 1, 50, nullptr);
        backend.setDriver([](platform::HeadlessBackend& driver) {
            if (driver.now() == 50) driver.closeWindow();
        });
        RunLoop();
    }
    EXPECT_EQ(trace.str(), "# WM_PAINT\n# WM_TIMER\nSetPixel 1 2 0\n# WM_CLOSE\n# WM_DESTROY\n");
}

}  // namespace
