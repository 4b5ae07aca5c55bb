// Our USER32 core on the headless backend, through a window whose procedure logs the messages it
// gets: creation and the client size, the order and timing of messages (posted, WM_QUIT, WM_PAINT,
// WM_TIMER), modal loops, invalidation, erasing and device contexts, and modal dialogs from
// templates.
#include "platform/core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/dialog_keys.h"
#include "platform/edit_field.h"
#include "platform/headless/headless_backend.h"
#include "platform/zoom.h"

namespace {

using Log = std::vector<std::string>;

// What the window procedure saw, e.g. "WM_KEYDOWN 65", "WM_PAINT", "WM_TIMER 2", "message 1024".
Log messageLog;
// Called by the procedure for every message before it is logged and handled.
std::function<void(HWND, UINT, WPARAM)> onMessage;
// Each paint asks for another whole paint once it has painted.
bool paintsAgain = false;

// The program's part of USER32's contract: every unhandled message goes to DefWindowProcA.
LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (onMessage) onMessage(window, message, wParam);
    static const std::map<UINT, std::string> kNames = {
        {WM_CREATE, "WM_CREATE"},        {WM_SIZE, "WM_SIZE"},       {WM_PAINT, "WM_PAINT"},
        {WM_TIMER, "WM_TIMER"},          {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_CHAR, "WM_CHAR"},
        {WM_CLOSE, "WM_CLOSE"},          {WM_DESTROY, "WM_DESTROY"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"}};
    const auto name = kNames.find(message);
    std::string entry = name != kNames.end() ? name->second : "message " + std::to_string(message);
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about " " + std::string at -O3.
    if (message == WM_SIZE) {
        entry.append(" ").append(std::to_string(LOWORD(lParam)));
        entry.append("x").append(std::to_string(HIWORD(lParam)));
    } else if (message == WM_MOUSEMOVE) {
        entry.append(" ").append(std::to_string(static_cast<short>(LOWORD(lParam))));
        entry.append(",").append(std::to_string(static_cast<short>(HIWORD(lParam))));
    } else if (message == WM_TIMER || message == WM_KEYDOWN || message == WM_CHAR) {
        entry.append(" ").append(std::to_string(wParam));
    }
    messageLog.push_back(entry);
    if (message == WM_DESTROY) PostQuitMessage(3);
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    if (paintsAgain) InvalidateRect(window, nullptr, FALSE);
    return 0;
}

constexpr int kTestDialogId = 7;  // the one dialog template of every session

const DialogItemResource kItems[] = {
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 7, 50, 14, IDOK, "BUTTON", "OK"},
    {WS_CHILD | WS_VISIBLE | SS_LEFT, 61, 42, 80, 8, -1, "STATIC", "Label"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 81, 77, 40, 14, 10, "EDIT", ""},
};
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | DS_SETFONT;
const DialogResource kDialog = {kTestDialogId,   kDialogStyle, 10, 20, 221, 134, "Test dialog", 8,
                                "MS Sans Serif", kItems,       3};
// The same with a Cancel button after the field: three tab stops, so that TAB and Shift+TAB
// differ.
constexpr int kCancelDialogId = 8;
const DialogItemResource kItemsWithCancel[] = {
    kItems[0],
    kItems[1],
    kItems[2],
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 164, 24, 50, 14, IDCANCEL, "BUTTON", "Cancel"}};
const DialogResource kDialogs[] = {kDialog,
                                   {kCancelDialogId, kDialogStyle, 10, 20, 221, 134, "Test dialog",
                                    8, "MS Sans Serif", kItemsWithCancel, 4}};

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        messageLog.clear();
        onMessage = nullptr;
        paintsAgain = false;
        session.emplace(backend, kDialogs, [this](int width, int height) {
            readingsAskedFor = {width, height};
            return readingPlaces;
        });
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = LoggingProc;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "Test";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "Test", "Test", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~WindowTest() override {
        session.reset();
        onMessage = nullptr;
    }

    int RunLoop() {  // until WM_QUIT; returns its exit code
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return static_cast<int>(message.wParam);
    }
    // What the window got after its creation (WM_CREATE and WM_SIZE).
    Log LogSinceCreation() const { return Log(messageLog.begin() + 2, messageLog.end()); }
    COLORREF Pixel(int x, int y) const { return backend.screen()->pixel(x, y); }

    platform::HeadlessBackend backend;
    std::vector<platform::ReadingPlace> readingPlaces;  // the program's, for any client size
    std::pair<int, int> readingsAskedFor;               // the client size they were asked for
    std::optional<platform::Session> session;
    HWND window = nullptr;
};

TEST_F(WindowTest, CreationSendsCreateAndAClientSizeWithinTheClassicFrameThatFitsWmSize) {
    EXPECT_EQ(messageLog, (Log{"WM_CREATE", "WM_SIZE 992x666"}));
    // Outer size, then client size.
    for (auto [outerWidth, outerHeight, width, height] : {std::array{1000, 700, 992, 666},
                                                          {5, 5, 0, 0},
                                                          {0x10000 + 8, 35, 0xffff, 1},
                                                          {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0}}) {
        const HWND other =
            CreateWindowExA(0, "Test", "Other", WS_OVERLAPPEDWINDOW, 0, 0, outerWidth, outerHeight,
                            nullptr, nullptr, nullptr, nullptr);
        RECT client{};
        GetClientRect(other, &client);
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), size);
        EXPECT_EQ(messageLog.back(), "WM_SIZE " + size);
    }
}

// Keys arrive as WM_KEYDOWN, and TranslateMessage types a character for those that have one,
// which comes before the keys typed after it, as posted messages come before input.
TEST_F(WindowTest, PostedMessagesComeInOrderAndPaintWaitsForAnEmptyQueue) {
    ShowWindow(window, SW_SHOW);
    PostMessageA(window, 0x400, 0, 0);
    PostMessageA(window, 0x401, 0, 0);
    onMessage = [](HWND handle, UINT message, WPARAM) {
        if (message == 0x401) PostMessageA(handle, 0x402, 0, 0);
    };
    backend.setDriver([pressed = false](platform::HeadlessBackend& driver) mutable {
        if (pressed) return driver.closeWindow();
        pressed = true;
        driver.pressKey(VK_RETURN);
        driver.pressKey(VK_F1);
    });
    EXPECT_EQ(RunLoop(), 3);
    EXPECT_EQ(LogSinceCreation(),
              (Log{"message 1024", "message 1025", "message 1026", "WM_PAINT", "WM_KEYDOWN 13",
                   "WM_CHAR 13", "WM_KEYDOWN 112", "WM_CLOSE", "WM_DESTROY"}));
}

// WM_MOUSELEAVE comes once for each TrackMouseEvent: when the pointer leaves, or at once if it is
// not in the window.
TEST_F(WindowTest, TrackingThePointerGivesOneLeaveMessagePerRequest) {
    ShowWindow(window, SW_SHOW);
    auto track = [this] {
        TRACKMOUSEEVENT request{sizeof request, TME_LEAVE, window, 0};
        return TrackMouseEvent(&request);
    };
    onMessage = [&](HWND, UINT message, WPARAM) {
        if (message == WM_MOUSEMOVE) track();
    };
    int step = 0;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        switch (step++) {
            case 0:
                driver.leavePointer();  // not tracked yet
                return;
            case 1:
                driver.movePointer(10, 10);  // tracked from here
                driver.movePointer(20, 10);
                return;
            case 2:
                driver.leavePointer();
                driver.leavePointer();  // tracked no more
                return;
            case 3:
                onMessage = nullptr;
                messageLog.push_back(track() ? "tracked outside" : "refused");
                return driver.passTime(1);
            default:
                return driver.closeWindow();
        }
    });
    EXPECT_EQ(RunLoop(), 3);
    EXPECT_EQ(LogSinceCreation(),
              (Log{"WM_PAINT", "WM_MOUSEMOVE 10,10", "WM_MOUSEMOVE 20,10", "WM_MOUSELEAVE",
                   "tracked outside", "WM_MOUSELEAVE", "WM_CLOSE", "WM_DESTROY"}));
    TRACKMOUSEEVENT hover{sizeof hover, 1, window, 0};  // TME_HOVER: not in the subset
    EXPECT_FALSE(TrackMouseEvent(&hover));
}

TEST_F(WindowTest, QuitComesAfterThePostedMessagesWithItsExitCode) {
    PostQuitMessage(5);
    PostMessageA(window, 0x400, 0, 0);
    EXPECT_EQ(RunLoop(), 5);
    EXPECT_EQ(LogSinceCreation(), (Log{"message 1024"}));
}

TEST_F(WindowTest, TimersFireWhenDueInSimulatedTime) {
    ShowWindow(window, SW_SHOW);
    ASSERT_NE(SetTimer(window, 1, 50, nullptr), 0u);
    ASSERT_NE(SetTimer(window, 2, 120, nullptr), 0u);
    backend.setDriver([](platform::HeadlessBackend& driver) {
        if (driver.now() == 250) driver.closeWindow();
    });
    RunLoop();
    EXPECT_EQ(LogSinceCreation(),
              (Log{"WM_PAINT", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 2", "WM_TIMER 1", "WM_TIMER 1",
                   "WM_TIMER 2", "WM_TIMER 1", "WM_CLOSE", "WM_DESTROY"}));
    EXPECT_FALSE(platform::TimerExists(window, 1)) << "a destroyed window keeps no timers";
}

// The backend hears only of the first timer set and of the last one killed.
TEST_F(WindowTest, TheBackendHearsWhenAWindowGetsItsFirstTimerAndLosesItsLast) {
    ShowWindow(window, SW_SHOW);
    const struct {
        bool set;  // else kill
        UINT_PTR id;
        std::vector<bool> heard;
    } steps[] = {
        {true, 1, {true}},
        {true, 2, {true}},
        {true, 1, {true}},
        {false, 1, {true}},
        {false, 2, {true, false}},
        {false, 2, {true, false}},
        {true, 2, {true, false, true}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << (step.set ? "set " : "kill ") << step.id);
        if (step.set) {
            SetTimer(window, step.id, 50, nullptr);
        } else {
            KillTimer(window, step.id);
        }
        EXPECT_EQ(backend.timerChanges(), step.heard);
    }
}

TEST_F(WindowTest, ATimerIsPendingAtMostOnceHoweverLateTheProgramIs) {
    ShowWindow(window, SW_SHOW);
    SetTimer(window, 2, 10, nullptr);
    backend.setDriver([late = false](platform::HeadlessBackend& driver) mutable {
        if (late) return driver.closeWindow();
        late = true;
        driver.passTime(95);  // nine periods
    });
    RunLoop();
    EXPECT_EQ(LogSinceCreation(), (Log{"WM_PAINT", "WM_TIMER 2", "WM_CLOSE", "WM_DESTROY"}));
}

// Input is read ahead of paints and timer ticks, as on Windows: a window whose every paint asks
// for another, or whose every tick takes longer than the timer's period, still gets its keys.
TEST_F(WindowTest, InputIsReadAheadOfPaintsAndTicksThatKeepTheProgramBusy) {
    ShowWindow(window, SW_SHOW);
    for (const UINT busy : {WM_PAINT, WM_TIMER}) {
        SCOPED_TRACE(busy == WM_PAINT ? "paints" : "ticks");
        paintsAgain = busy == WM_PAINT;
        if (busy == WM_TIMER) SetTimer(window, 1, 10, nullptr);
        int rounds = 0;
        int keyRound = 0;
        onMessage = [&](HWND, UINT message, WPARAM) {
            if (message == WM_KEYDOWN) {
                keyRound = rounds;
                PostQuitMessage(0);
            }
            if (message != busy) return;
            if (busy == WM_TIMER) backend.passTime(25);
            if (++rounds == 3) backend.keyArrives(VK_F1);
            if (rounds == 50) PostQuitMessage(1);  // the key never came
        };
        EXPECT_EQ(RunLoop(), 0);
        EXPECT_EQ(keyRound, 3) << "read only after the round it arrived in";
    }
}

// While a box is open its loop delivers the thread's messages; the owner takes no input.
TEST_F(WindowTest, MessageBoxesKeepTicksComingAndShutOutTheirOwner) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetTimer(window, 1, 20, nullptr);
    backend.answerMessageBox(IDOK, 100);
    backend.answerMessageBox(IDCANCEL, 30);
    bool pressed = false;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        if (!pressed) driver.pressKey('A');
        pressed = true;
    });
    EXPECT_EQ(MessageBoxA(window, "owned", "Title", MB_OK), IDOK);
    pressed = false;
    EXPECT_EQ(MessageBoxA(nullptr, "free", "Title", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(LogSinceCreation(),
              (Log{"WM_PAINT", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1",
                   "WM_KEYDOWN 65", "WM_CHAR 97", "WM_TIMER 1"}));
}

TEST_F(WindowTest, QuitInsideAModalLoopEndsItAndReachesTheOuterLoop) {
    ShowWindow(window, SW_SHOW);
    backend.answerMessageBox(IDOK, 1000);
    backend.setDriver([](platform::HeadlessBackend& driver) { driver.closeWindow(); });
    EXPECT_EQ(MessageBoxA(nullptr, "closing under me", "Title", MB_OK), 0);
    EXPECT_EQ(RunLoop(), 3);
}

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

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
    EXPECT_EQ(LogSinceCreation(), Log{"WM_PAINT"}) << "one paint validates the window";
    EXPECT_EQ(Pixel(5, 5), kWhite);
    EXPECT_EQ(Pixel(900, 600), kWhite);
}

// Two invalidations, then a paint: the area painted, and which of the black pixels at (5, 5),
// (15, 15) and (25, 25) it erased ('w') or kept ('b').
TEST_F(WindowTest, BeginPaintErasesTheInvalidAreaOnlyWhenAskedTo) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const struct {
        RECT first;
        BOOL firstErase;
        RECT second;  // all zero: InvalidateRgn of the whole client area
        BOOL secondErase;
        RECT painted;
        const char* pixels;
    } cases[] = {
        {{0, 0, 10, 10}, FALSE, {0, 0, 10, 10}, FALSE, {0, 0, 10, 10}, "bbb"},
        {{0, 0, 10, 10}, TRUE, {0, 0, 10, 10}, FALSE, {0, 0, 10, 10}, "wbb"},
        // One request to erase erases the whole update area, the union of both rectangles.
        {{10, 10, 20, 20}, FALSE, {0, 0, 12, 12}, TRUE, {0, 0, 20, 20}, "wwb"},
        {{10, 10, 20, 20}, FALSE, {}, FALSE, {0, 0, 992, 666}, "bbb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixels);
        Blacken(window, {{5, 5}, {15, 15}, {25, 25}});
        InvalidateRect(window, &c.first, c.firstErase);
        if (c.second.right == 0) {
            InvalidateRgn(window, nullptr, c.secondErase);
        } else {
            InvalidateRect(window, &c.second, c.secondErase);
        }
        PAINTSTRUCT paint;
        ASSERT_NE(BeginPaint(window, &paint), nullptr);
        EndPaint(window, &paint);
        const RECT& area = paint.rcPaint;
        EXPECT_EQ(std::vector({area.left, area.top, area.right, area.bottom}),
                  std::vector({c.painted.left, c.painted.top, c.painted.right, c.painted.bottom}));
        std::string pixels;
        for (int at : {5, 15, 25}) pixels += Pixel(at, at) == kWhite ? 'w' : 'b';
        EXPECT_EQ(pixels, c.pixels);
    }
}

// Texts written through window contexts reach the backend in reading order as each context is
// released: each step writes (or, without text, erases the area) and shows what is then known.
TEST_F(WindowTest, TextsAreShownInReadingOrderUntilTheirBackgroundIsErased) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const struct {
        int x, y;
        UINT align;
        const char* text;  // null: erase the area from (x, y) to (x + 100, y + 100)
        std::vector<std::string> shown;
    } steps[] = {
        {300, 40, TA_LEFT, "right", {"right"}},
        {10, 40, TA_LEFT, "left", {"left", "right"}},
        {50, 20, TA_LEFT, "above", {"above", "left", "right"}},
        // Written again where it starts: the newer text replaces the older.
        {10, 40, TA_LEFT, "LEFT", {"above", "LEFT", "right"}},
        // Right-aligned at x: its cell starts left of x, so it comes before "right".
        {300, 40, TA_RIGHT, "middle", {"above", "LEFT", "middle", "right"}},
        {0, 0, 0, nullptr, {"middle", "right"}},
        {200, 0, 0, nullptr, {"right"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text != nullptr ? step.text : "erased");
        if (step.text == nullptr) {
            const RECT area = {step.x, step.y, step.x + 100, step.y + 100};
            InvalidateRect(window, &area, TRUE);
            UpdateWindow(window);
        } else {
            HDC dc = GetDC(window);
            SetTextAlign(dc, step.align);
            TextOutA(dc, step.x, step.y, step.text, static_cast<int>(std::strlen(step.text)));
            ReleaseDC(window, dc);
        }
        EXPECT_EQ(backend.texts(), step.shown);
    }
}

// The program's reading places gather the texts that start in them into its readings, named and
// in its order; every other text stays in reading order among the others.
TEST_F(WindowTest, ReadingsGatherTheTextsThatStartInTheirPlacesInTheProgramsOrder) {
    readingPlaces = {
        {"Load", {700, 190, 701, 191}},
        {"", {760, 100, 761, 121}},  // a caption and the line below it
        {"", {0, 300, 1000, 301}},   // a whole row, which the load's place is not in
        {"Overlap", {0, 300, 1, 301}},
    };
    const struct Case {
        const char* what;
        std::vector<std::tuple<int, int, const char*>> written;  // in this order
        platform::WindowTexts shown;
    } cases[] = {
        {"named, and in the program's order, not the reading order",
         {{760, 100, "Standing Wave"}, {700, 190, "100.0 ohms"}},
         {{"Load: 100.0 ohms", "Standing Wave"}, {}}},
        {"joined in reading order, whatever the order written",
         {{760, 120, "Ratio = 2.00"}, {760, 100, "Standing Wave"}},
         {{"Standing Wave Ratio = 2.00"}, {}}},
        {"the first place that holds the start; outside every place, among the others",
         {{0, 300, "first"}, {500, 300, "row"}, {761, 100, "beside"}, {20, 40, "above"}},
         {{"first row"}, {"above", "beside"}}},
        {"as UTF-8", {{700, 190, "75\xb0"}}, {{"Load: 75\xc2\xb0"}, {}}},
    };
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        HDC dc = GetDC(window);
        for (const auto& [x, y, text] : c.written) {
            TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
        }
        ReleaseDC(window, dc);
        EXPECT_EQ(backend.writtenTexts(), c.shown);
        EXPECT_EQ(readingsAskedFor, (std::pair{992, 666}));
    }
}

TEST_F(WindowTest, ASizeChangeSendsTheSizeAndRepaintsEverythingErased) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Blacken(window, {{5, 5}});
    backend.setDriver([resized = false](platform::HeadlessBackend& driver) mutable {
        if (resized) return driver.closeWindow();
        resized = true;
        driver.resizeClient(500, 400);
    });
    RunLoop();
    EXPECT_EQ(LogSinceCreation(),
              (Log{"WM_PAINT", "WM_SIZE 500x400", "WM_PAINT", "WM_CLOSE", "WM_DESTROY"}));
    ASSERT_EQ(backend.screen()->width(), 500);
    EXPECT_EQ(Pixel(5, 5), kWhite);
}

// A zoom gives the program the window's area divided by it, each side truncated, as the resize it
// is (WM_SIZE only when the client changes); the display shows each client pixel as a block, the
// strip left over white; the pointer is read in blocks, rounded down.
TEST_F(WindowTest, AZoomedWindowShowsTheSmallerClientMagnified) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const struct {
        int zoom, width, height;  // set in this order
        Log sent;
        POINT pointer;     // in display pixels
        std::string read;  // by the program
    } steps[] = {
        {2, 992, 666, {"WM_SIZE 496x333"}, {3, 5}, "WM_MOUSEMOVE 1,2"},
        {2, 1001, 667, {"WM_SIZE 500x333"}, {-1, -2}, "WM_MOUSEMOVE -1,-1"},
        {2, 1000, 667, {}, {-3, 1000}, "WM_MOUSEMOVE -2,500"},
        {3, 1001, 667, {"WM_SIZE 333x222"}, {-3, -4}, "WM_MOUSEMOVE -1,-2"},
        {9, 1001, 667, {"WM_SIZE 125x83"}, {15, 16}, "WM_MOUSEMOVE 1,2"},
        {1, 125, 83, {"WM_SIZE 1001x667", "WM_SIZE 125x83"}, {15, 16}, "WM_MOUSEMOVE 15,16"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("zoom " + std::to_string(step.zoom) + ", " + std::to_string(step.width) + "x" +
                     std::to_string(step.height));
        messageLog.clear();
        backend.setZoom(step.zoom);
        backend.resizeClient(step.width, step.height);
        EXPECT_EQ(messageLog, step.sent);
        UpdateWindow(window);
        RECT client;
        GetClientRect(window, &client);
        Blacken(window, {{0, 0}, {client.right - 1, client.bottom - 1}, {7, 5}});
        const int zoom = std::min(step.zoom, 8);
        const surface::Canvas& shown = *backend.screen();
        ASSERT_EQ(std::vector({shown.width(), shown.height()}),
                  std::vector({step.width, step.height}));
        const surface::Canvas& drawn = *platform::core::Live(window)->canvas;
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const bool inClient = x / zoom < client.right && y / zoom < client.bottom;
                differing +=
                    shown.pixel(x, y) != (inClient ? drawn.pixel(x / zoom, y / zoom) : kWhite);
            }
        }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(shown.pixel(7 * zoom + zoom - 1, 5 * zoom + zoom - 1), kBlack);
        messageLog.clear();
        backend.movePointer(step.pointer.x, step.pointer.y);
        MSG message;
        while (platform::core::TakeMessage(message)) DispatchMessageA(&message);
        EXPECT_EQ(messageLog, Log{step.read});
    }
}

// WM_SIZE and GetClientRect carry any size; the canvas holds what it may cost of it, from the
// top-left corner, and its memory follows the size down again.
TEST_F(WindowTest, AnyClientSizeCostsAtMostTheCanvasLimit) {
    static_assert(surface::kMaxCanvasSide == 16384 && surface::kMaxCanvasPixels == 16384 * 4096);
    const std::array<int, 4> sizes[] = {
        // client width and height, canvas width and height
        {65535, 65535, 16384, 4096},
        {70000, 3, 16384, 3},
        {3, 70000, 3, 16384},
        {0, 0, 0, 0},
        {300, 0, 300, 0},
        {992, 666, 992, 666},
    };
    for (auto [width, height, canvasWidth, canvasHeight] : sizes) {
        platform::ClientResized(window, width, height);
        const int sentWidth = std::min(width, 0xffff), sentHeight = std::min(height, 0xffff);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(std::vector({client.right, client.bottom}), std::vector({sentWidth, sentHeight}));
        EXPECT_EQ(
            *std::find_if(messageLog.rbegin(), messageLog.rend(),
                          [](const std::string& entry) { return entry.starts_with("WM_SIZE"); }),
            "WM_SIZE " + std::to_string(sentWidth) + "x" + std::to_string(sentHeight));
        const surface::Canvas& canvas = *platform::core::Live(window)->canvas;
        EXPECT_EQ(std::vector({canvas.width(), canvas.height()}),
                  std::vector({canvasWidth, canvasHeight}))
            << width << " x " << height;
    }
}

// Each context of the window is fresh: over black, the default copy mode draws the black pen as
// black, where the NOTXOR mode left on the context before would turn it white.
TEST_F(WindowTest, EveryContextStartsWithTheDefaults) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Blacken(window, {{100, 100}});
    HDC first = GetDC(window);
    SetROP2(first, R2_NOTXORPEN);
    ReleaseDC(window, first);
    HDC second = GetDC(window);
    MoveToEx(second, 100, 100, nullptr);
    LineTo(second, 101, 100);
    ReleaseDC(window, second);
    EXPECT_EQ(Pixel(100, 100), kBlack);
}

INT_PTR CALLBACK EndOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) EndDialog(dialog, 20 + LOWORD(wParam));
    return message == WM_COMMAND;
}

class DialogTest : public WindowTest {
  protected:
    DialogTest() {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    INT_PTR Run(int id = kTestDialogId) {
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), window,
                               EndOnCommand, 0);
    }
};

// The dialog font's base units are 6 x 13 pixels: x * 6 / 4 and y * 13 / 8, rounded; the
// dialog's own position too, which is relative to its owner's client area.
TEST_F(DialogTest, TheTemplateIsLaidOutInPixelsOfTheDialogFont) {
    backend.cancelDialog();
    EXPECT_EQ(Run(), 20 + IDCANCEL);
    EXPECT_EQ(Run(99), -1) << "an unknown template";
    ASSERT_EQ(backend.dialogs().size(), 1u);
    EXPECT_EQ(backend.dialogs()[0].owner, window);
    const platform::DialogLayout& layout = backend.dialogs()[0].layout;
    EXPECT_EQ(layout.caption, "Test dialog");
    std::vector<std::vector<int>> sizes{{layout.x, layout.y, layout.width, layout.height}};
    for (const platform::DialogControl& c : layout.controls) {
        sizes.push_back({static_cast<int>(c.kind), c.id, c.x, c.y, c.width, c.height});
    }
    using Kind = platform::DialogControl::Kind;
    EXPECT_EQ(sizes, (std::vector<std::vector<int>>{
                         {15, 33, 332, 218},
                         {static_cast<int>(Kind::DefaultPushButton), IDOK, 246, 11, 75, 23},
                         {static_cast<int>(Kind::Label), -1, 92, 68, 120, 13},
                         {static_cast<int>(Kind::Edit), 10, 122, 125, 60, 23}}));
}

TEST_F(DialogTest, TheOwnerKeepsTickingWhileTheDialogIsOpen) {
    SetTimer(window, 1, 50, nullptr);
    backend.answerDialog("", 200);
    EXPECT_EQ(Run(), 20 + IDOK);
    EXPECT_EQ(std::count(messageLog.begin(), messageLog.end(), "WM_TIMER 1"), 4);
}

char ansiRead[16];

// Focuses the edit field, as the program's dialog does, and notes the text OK finds in it.
std::string textOnOk;
INT_PTR CALLBACK FocusingEndOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetFocus(GetDlgItem(dialog, 10));
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        char text[16];
        GetDlgItemTextA(dialog, 10, text, sizeof text);
        textOnOk = text;
    }
    return EndOnCommand(dialog, message, wParam, lParam);
}

// Input typed before the dialog opened is routed when it is taken from the queue, as on Windows:
// keys go to the dialog, which has the focus: Enter is OK (or the focused button), Esc is
// Cancel, TAB moves the focus round its tab stops, and the focused edit field types the
// characters of the others, before the keys that follow. Nothing reaches the disabled owner,
// nor does its close box.
TEST_F(DialogTest, InputTypedAheadGoesToTheDialogAndNeverToItsDisabledOwner) {
    constexpr int kCloseBox = 0;
    constexpr int kNumpad7 = 0x67, kDecimal = 0x6E, kOemPeriod = 0xBE, kOemMinus = 0xBD;
    constexpr int kShift = 0x10000;  // added to a key typed with Shift held
    struct Case {
        std::vector<int> typed;  // in one burst; F1 opens the dialog
        INT_PTR result;          // Esc, 100 ms after opening, unless typed ahead
        std::string text;        // what OK read from the edit field
        int dialog = kTestDialogId;
    };
    const Case cases[] = {
        {{VK_F1, '2', '5', VK_RETURN}, 20 + IDOK, "25"},
        {{VK_F1, kNumpad7, kDecimal, '5', 'E', kOemMinus, '1', VK_RETURN}, 20 + IDOK, "7.5e-1"},
        {{VK_F1, '1', kOemPeriod, VK_SPACE, VK_RETURN}, 20 + IDOK, "1. "},
        {{VK_F1, '9', VK_ESCAPE}, 20 + IDCANCEL, ""},
        {{VK_F1, VK_F1, 'A', kCloseBox, VK_F1}, 20 + IDCANCEL, ""},
        {{VK_F1, kCloseBox, VK_SPACE, VK_RETURN}, 20 + IDOK, " "},
        // TAB moves on from the field to OK, round from the last stop to the first; a key
        // typed on the button types nothing, and TAB comes back.
        {{VK_F1, VK_TAB, '9', VK_RETURN}, 20 + IDOK, ""},
        {{VK_F1, VK_TAB, '9', VK_TAB, '8', VK_RETURN}, 20 + IDOK, "8"},
        // Shift+TAB goes backwards: from the field to OK, not on to Cancel.
        {{VK_F1, VK_TAB | kShift, VK_RETURN}, 20 + IDOK, "", kCancelDialogId},
        {{VK_F1, VK_TAB, VK_RETURN}, 20 + IDCANCEL, "", kCancelDialogId},
        // The editing keys edit at the caret, in order with the characters.
        {{VK_F1, '2', '9', VK_BACK, '5', VK_RETURN}, 20 + IDOK, "25"},
        {{VK_F1, '2', '5', VK_HOME, VK_DELETE, '7', VK_RETURN}, 20 + IDOK, "75"},
        {{VK_F1, '2', '5', VK_LEFT, '0', VK_END, '1', VK_RETURN}, 20 + IDOK, "2051"},
        {{VK_F1, '1', '2', '3', VK_HOME, VK_RIGHT, VK_RIGHT | kShift, '0', VK_RETURN},
         20 + IDOK,
         "103"},
        {{VK_F1, '1', '2', VK_LEFT | kShift, VK_LEFT | kShift, VK_BACK, '7', VK_RETURN},
         20 + IDOK,
         "7"},
    };
    std::vector<INT_PTR> results;
    int depth = 0;
    int dialog = kTestDialogId;
    onMessage = [&](HWND handle, UINT message, WPARAM wParam) {
        if (message != WM_KEYDOWN || wParam != VK_F1) return;
        EXPECT_EQ(depth++, 0) << "a dialog opened inside another";
        results.push_back(
            DialogBoxParamA(nullptr, MAKEINTRESOURCEA(dialog), handle, FocusingEndOnCommand, 0));
        --depth;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        results.clear();
        messageLog.clear();
        textOnOk.clear();
        dialog = c.dialog;
        backend.cancelDialog(100);
        backend.setDriver([&, typed = false](platform::HeadlessBackend& driver) mutable {
            if (!typed) {
                for (int key : c.typed) {
                    key == kCloseBox ? driver.closeWindow()
                                     : driver.pressKey(key & ~kShift, (key & kShift) != 0);
                }
            } else if (!driver.modalOpen()) {
                PostQuitMessage(0);
            }
            typed = true;
            driver.passTime(1);
        });
        RunLoop();
        EXPECT_EQ(results, std::vector<INT_PTR>{c.result});
        EXPECT_EQ(textOnOk, c.text);
        EXPECT_EQ(std::count(messageLog.begin(), messageLog.end(), "WM_KEYDOWN 112"), 1);
        EXPECT_EQ(std::count_if(messageLog.begin(), messageLog.end(),
                                [](const std::string& entry) {
                                    return entry.starts_with("WM_KEYDOWN") ||
                                           entry.starts_with("WM_CHAR") ||
                                           entry.starts_with("WM_CLOSE");
                                }),
                  1)
            << ::testing::PrintToString(messageLog);
        ASSERT_NE(platform::core::Live(window), nullptr) << "the owner was closed";
    }
}

// What the program reads from a dialog is its text in Windows' code page 1252 with Windows' best
// fit, whatever the display typed: an input method's full-width digits read as digits, the minus
// sign, dashes and quotes a user types as their look-alikes. What the program writes reaches the
// backends as UTF-8.
TEST_F(DialogTest, TheProgramReadsTheFieldsTextInTheWindowsCodePage) {
    const struct {
        const char* typed;  // UTF-8
        const char* read;   // code page 1252
    } cases[] = {
        {"\uff15\uff10", "50"},
        {"\uff0b\uff17\uff0e\uff15\uff45\uff11", "+7.5e1"},  // full-width + . e
        {"\u3000\uff11\uff10\uff10", " 100"},                // an ideographic space
        {"\uff01\uff5e\uff00\uff5f", "!~??"},                // the ends of the block
        {"75 \u03a9", "75 O"},                               // best fit: omega is O
        {"\u2212"
         "5\u2010"
         "3\u2011"
         "1",
         "-5-3-1"},  // minus, hyphens
        {"\u2032"
         "1\u2035"
         "\u201b",
         "'1`?"},                              // primes; no fit for U+201B
        {"\u0101\u221e\u3000\u2126", "a8 ?"},  // no fit for the ohm sign
        {"\u00e9\u00a0\u00ff\u20ac\u2013\u0178\u0081", "\xe9\xa0\xff\x80\x96\x9f\x81"},
        {"\u0080\U0001F600x", "??x"},
        // Malformed UTF-8: a stray continuation, a cut sequence, an overlong '0', a surrogate.
        {"\x80"
         "1\xe2\x82"
         "2\xc0\xb0"
         "3\xed\xa0\x80"
         "4",
         "?1??2??3???4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(platform::core::AnsiText(c.typed), c.read);
    }
    EXPECT_EQ(platform::core::Utf8Text("75\xb0 \x96 \x80"), "75\u00b0 \u2013 \u20ac");
    for (const char* ansi : {"75\xb0", "\x80\x96\x81\xff", "Z = 50.0 ohms"}) {
        SCOPED_TRACE(ansi);
        EXPECT_EQ(platform::core::AnsiText(platform::core::Utf8Text(ansi)), ansi);
    }
    // Through the dialog, as the program reads it.
    backend.answerDialog("\uff15\uff10");
    DialogBoxParamA(
        nullptr, MAKEINTRESOURCEA(kTestDialogId), window,
        [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message == WM_INITDIALOG) SetFocus(GetDlgItem(dialog, 10));
            if (message == WM_COMMAND) {
                GetDlgItemTextA(dialog, 10, ansiRead, sizeof ansiRead);
                EndDialog(dialog, 1);
            }
            return FALSE;
        },
        0);
    EXPECT_STREQ(ansiRead, "50");
}

// Refuses OK with a message box of its own, as the lab's dialog refuses a text that is not a
// load.
HWND refusingDialog = nullptr;
INT_PTR CALLBACK RefuseOk(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        refusingDialog = dialog;
        SetFocus(GetDlgItem(dialog, 10));
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        MessageBoxA(dialog, "not a load", "Load value", MB_OK);
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
    return FALSE;
}

// A dialog under its own message box takes no input, as on Windows: Enter pressed five times
// ahead on a text it refuses, in the dialog or in its owner before the dialog opened, opens one
// box, not five boxes one inside another.
TEST_F(DialogTest, ADialogUnderItsOwnBoxTakesNoCommands) {
    for (const bool inDialog : {true, false}) {
        SCOPED_TRACE(inDialog ? "in the dialog" : "in its owner");
        backend.cancelDialog(500);
        backend.answerMessageBox(IDOK, 20);  // a second box would find no answer
        backend.setDriver([&, typed = false](platform::HeadlessBackend& driver) mutable {
            for (int i = 0; i < 5 && !typed; ++i) {
                inDialog ? platform::DialogCommand(refusingDialog, IDOK)
                         : driver.pressKey(VK_RETURN);
            }
            typed = true;
            driver.passTime(1);
        });
        const std::size_t boxesBefore = backend.messageBoxes().size();
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTestDialogId), window, RefuseOk, 0),
                  0);
        EXPECT_EQ(backend.messageBoxes().size() - boxesBefore, 1u);
    }
}

HWND lastDialog = nullptr;
INT_PTR CALLBACK NoteAndCancel(HWND dialog, UINT message, WPARAM, LPARAM) {
    lastDialog = dialog;
    if (message == WM_INITDIALOG) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (message == WM_COMMAND) EndDialog(dialog, 0);
    return message == WM_INITDIALOG;
}

// A closed dialog and its controls leave the core's table, and so does a destroyed window once
// its last context is released; their handles then find nothing.
TEST_F(DialogTest, ClosedWindowsLeaveTheTableAndTheirHandlesFindNothing) {
    const std::size_t windowsBefore = platform::core::Current().windows.size();
    for (int i = 0; i < 100; ++i) {
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTestDialogId), window, NoteAndCancel, 0);
    }
    EXPECT_EQ(platform::core::Current().windows.size(), windowsBefore);
    char text[8] = "x";
    EXPECT_EQ(GetDlgItem(lastDialog, 10), nullptr);
    EXPECT_EQ(GetDlgItemTextA(lastDialog, 10, text, sizeof text), 0u);
    EXPECT_EQ(EndDialog(lastDialog, 1), FALSE);
    platform::DialogCommand(lastDialog, IDOK);
    EXPECT_EQ(PostMessageA(lastDialog, WM_COMMAND, IDOK, 0), FALSE);

    const HWND other = CreateWindowExA(0, "Test", "Other", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                       nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(other);
    DestroyWindow(other);
    SetPixel(dc, 5, 5, kBlack);  // still draws on the window's last pixels
    EXPECT_EQ(ReleaseDC(other, dc), TRUE);
    EXPECT_EQ(platform::core::Current().windows.size(), windowsBefore);
    EXPECT_EQ(GetDC(other), nullptr);
    EXPECT_EQ(platform::core::Live(other), nullptr);
}

// The keys of every box and dialog, as each backend asks for them: Enter presses the focused
// button or else the default one, Esc cancels, and TAB keeps the focus inside.
TEST(DialogKeys, EnterEscAndTabAreDecidedAsWindowsDoes) {
    using Kind = platform::DialogControl::Kind;
    using Action = platform::DialogKeyAction;
    constexpr DWORD kStop = WS_CHILD | WS_VISIBLE | WS_TABSTOP, kNoStop = WS_CHILD | WS_VISIBLE;
    const auto control = [](Kind kind, int id, DWORD style) {
        return platform::DialogControl{kind, id, "", style, 0, 0, 0, 0};
    };
    // The load dialog's shape: OK, a label, the field; and a form with two buttons around it.
    const std::vector<platform::DialogControl> load = {control(Kind::DefaultPushButton, 1, kStop),
                                                       control(Kind::Label, -1, kNoStop),
                                                       control(Kind::Edit, 1000, kStop)};
    const std::vector<platform::DialogControl> form = {
        control(Kind::PushButton, 7, kStop), control(Kind::Edit, 8, kStop),
        control(Kind::PushButton, 9, kNoStop), control(Kind::DefaultPushButton, 6, kStop)};
    const std::vector<platform::DialogControl> labelsOnly = {control(Kind::Label, -1, kNoStop)};
    const auto retryCancel = platform::ButtonsOf(MB_RETRYCANCEL | MB_ICONEXCLAMATION).buttons;
    constexpr auto kCommand = Action::Kind::Command, kFocus = Action::Kind::Focus;
    const struct {
        const std::vector<platform::DialogControl>* controls;
        std::optional<int> focused;
        int key;
        bool shift;
        Action action;
    } cases[] = {
        {&load, 1000, VK_RETURN, false, {kCommand, IDOK}},
        {&load, std::nullopt, VK_RETURN, false, {kCommand, IDOK}},
        {&load, 1000, VK_ESCAPE, false, {kCommand, IDCANCEL}},
        {&load, 1000, VK_TAB, false, {kFocus, 1}},
        {&load, 1, VK_TAB, false, {kFocus, 1000}},
        {&load, 1000, VK_TAB, true, {kFocus, 1}},
        {&load, 1, VK_TAB, true, {kFocus, 1000}},
        {&load, std::nullopt, VK_TAB, false, {kFocus, 1}},
        {&load, std::nullopt, VK_TAB, true, {kFocus, 1000}},
        {&load, 1000, '5', false, {}},
        {&load, 1000, VK_SPACE, false, {}},
        {&load, 1000, VK_F1, false, {}},
        {&form, 7, VK_RETURN, false, {kCommand, 7}},  // the focused button
        {&form, 8, VK_RETURN, false, {kCommand, 6}},  // the default one
        {&form, 9, VK_RETURN, false, {kCommand, 9}},
        {&form, 8, VK_TAB, false, {kFocus, 6}},  // 9 has no tab stop
        {&form, 9, VK_TAB, false, {kFocus, 7}},  // from outside the stops: the first
        {&form, 7, VK_TAB, true, {kFocus, 6}},
        {&labelsOnly, std::nullopt, VK_RETURN, false, {kCommand, IDOK}},
        {&labelsOnly, std::nullopt, VK_TAB, false, {}},
        {&retryCancel, IDRETRY, VK_RETURN, false, {kCommand, IDRETRY}},
        {&retryCancel, IDCANCEL, VK_RETURN, false, {kCommand, IDCANCEL}},
        {&retryCancel, IDCANCEL, VK_TAB, false, {kFocus, IDRETRY}},
    };
    for (const auto& c : cases) {
        const platform::DialogKeyAction action =
            platform::DialogKey(*c.controls, c.focused, IDCANCEL, c.key, c.shift);
        EXPECT_EQ(std::vector({static_cast<int>(action.kind), action.id}),
                  std::vector({static_cast<int>(c.action.kind), c.action.id}))
            << "key " << c.key << (c.shift ? " with Shift" : "") << " on control "
            << c.focused.value_or(0) << " of " << c.controls->size();
    }
}

// A message box's buttons: the first is the default; Esc and the close box choose Cancel, or OK
// when that is the only button.
TEST(DialogKeys, MessageBoxesHaveTheirTypesButtons) {
    const struct {
        UINT type;
        std::vector<std::string> buttons;
        int cancelId;
    } cases[] = {
        {MB_OK, {"OK 1 default"}, IDOK},
        {MB_OK | MB_ICONHAND, {"OK 1 default"}, IDOK},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION, {"Retry 4 default", "Cancel 2"}, IDCANCEL},
    };
    for (const auto& c : cases) {
        const platform::MessageBoxButtons buttons = platform::ButtonsOf(c.type);
        std::vector<std::string> described;
        for (const platform::DialogControl& button : buttons.buttons) {
            described.push_back(button.text + " " + std::to_string(button.id) +
                                (button.kind == platform::DialogControl::Kind::DefaultPushButton
                                     ? " default"
                                     : ""));
        }
        EXPECT_EQ(described, c.buttons) << c.type;
        EXPECT_EQ(buttons.cancelId, c.cancelId) << c.type;
        const auto escape =
            platform::DialogKey(buttons.buttons, std::nullopt, buttons.cancelId, VK_ESCAPE, false);
        EXPECT_EQ(escape.id, c.cancelId);
    }
}

}  // namespace

// A zoom is taken only where the client it leaves holds the program's whole picture.
TEST(Zoom, TheLargestZoomUpToTheWantedOneThatLeavesTheMinimumClient) {
    const platform::ClientSize minimum{800, 460};
    const struct {
        int width, height, wanted, taken;
    } cases[] = {
        {1920, 1080, 2, 2}, {1920, 1080, 3, 2}, {1599, 1080, 2, 1}, {1600, 920, 2, 2},
        {1600, 919, 2, 1},  {3840, 2160, 8, 4}, {7680, 4320, 9, 8}, {992, 666, 2, 1},
        {500, 300, 3, 1},   {1920, 1080, 0, 1}, {-5, 1080, 2, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ZoomThatFits(c.width, c.height, c.wanted, minimum), c.taken)
            << c.width << "x" << c.height << " zoom " << c.wanted;
    }
}

// An edit field's editing keys, as Windows' edit field takes them: by whole characters, a
// selection deleted or collapsed first, Shift extending from the anchor, nothing past the ends.
TEST(EditField, EditingKeysWorkByCharactersOnTheSelectionFirst) {
    using platform::EditField;
    constexpr int kShift = 0x10000;
    const struct {
        EditField before;
        int key;
        EditField after;
    } cases[] = {
        {{"29", 2, 2}, VK_BACK, {"2", 1, 1}},
        {{"29", 0, 0}, VK_BACK, {"29", 0, 0}},
        {{"29", 2, 2}, VK_DELETE, {"29", 2, 2}},
        {{"29", 0, 0}, VK_DELETE, {"9", 0, 0}},
        {{"1234", 3, 1}, VK_BACK, {"14", 1, 1}},
        {{"1234", 1, 3}, VK_DELETE, {"14", 1, 1}},
        {{"75 \u03a9", 5, 5}, VK_BACK, {"75 ", 3, 3}},  // a two-byte character
        {{"\u2212"
          "5",
          3, 3},
         VK_LEFT,
         {"\u2212"
          "5",
          0, 0}},
        {{"\u2212"
          "5",
          0, 0},
         VK_RIGHT,
         {"\u2212"
          "5",
          3, 3}},
        {{"123", 1, 1}, VK_HOME, {"123", 0, 0}},
        {{"123", 1, 1}, VK_END, {"123", 3, 3}},
        {{"123", 1, 1}, VK_END | kShift, {"123", 1, 3}},
        {{"123", 3, 1}, VK_LEFT, {"123", 1, 1}},
        {{"123", 1, 3}, VK_LEFT, {"123", 1, 1}},
        {{"123", 1, 3}, VK_RIGHT, {"123", 3, 3}},
        {{"123", 1, 2}, VK_RIGHT | kShift, {"123", 1, 3}},
        {{"123", 1, 2}, VK_LEFT | kShift, {"123", 1, 1}},
        {{"123", 0, 0}, VK_LEFT, {"123", 0, 0}},
        {{"123", 3, 3}, VK_RIGHT, {"123", 3, 3}},
        {{"123", 1, 1}, VK_TAB, {"123", 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before.text << " " << c.before.anchor << "-"
                                        << c.before.caret << " key " << c.key);
        EditField field = c.before;
        platform::PressEditingKey(field, c.key & ~kShift, (c.key & kShift) != 0);
        EXPECT_EQ(field.text, c.after.text);
        EXPECT_EQ(std::pair(field.anchor, field.caret), std::pair(c.after.anchor, c.after.caret));
    }
    EditField field{"1234", 3, 1};
    platform::TypeInto(field, "x");
    EXPECT_EQ(field, (EditField{"1x4", 2, 2}));
}
