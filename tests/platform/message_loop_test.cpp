// The order and timing of messages: posted, WM_QUIT, WM_PAINT, WM_TIMER; modal loops.
#include <gtest/gtest.h>

#include "tests/platform/test_window.h"

namespace {

using Log = std::vector<std::string>;

// Drops what the window got while it was being created.
Log LogSinceCreation() { return Log(messageLog.begin() + 2, messageLog.end()); }

TEST_F(WindowTest, CreationSendsCreateAndTheClientSizeWithinTheClassicFrame) {
    EXPECT_EQ(messageLog, (Log{"WM_CREATE", "WM_SIZE 992x666"}));
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 992);
    EXPECT_EQ(client.bottom, 666);
}

TEST_F(WindowTest, AnyOuterSizeGivesAClientSizeThatFitsWmSize) {
    struct Case {
        int outerWidth, outerHeight;
        int clientWidth, clientHeight;
    };
    const Case cases[] = {
        {5, 5, 0, 0},
        {0x10000 + 8, 35, 0xffff, 1},
        {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.outerWidth) + " x " + std::to_string(c.outerHeight));
        const HWND other =
            CreateWindowExA(0, "Test", "Other", WS_OVERLAPPEDWINDOW, 0, 0, c.outerWidth,
                            c.outerHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        RECT client;
        ASSERT_TRUE(GetClientRect(other, &client));
        EXPECT_EQ(client.right, c.clientWidth);
        EXPECT_EQ(client.bottom, c.clientHeight);
        EXPECT_EQ(messageLog.back(), "WM_SIZE " + std::to_string(c.clientWidth) + "x" +
                                         std::to_string(c.clientHeight));
    }
}

TEST_F(WindowTest, PostedMessagesComeInOrderAndPaintWaitsForAnEmptyQueue) {
    ShowWindow(window, SW_SHOW);
    PostMessageA(window, 0x400, 0, 0);
    PostMessageA(window, 0x401, 0, 0);
    onMessage = [](HWND handle, UINT message, WPARAM) {
        if (message == 0x401) PostMessageA(handle, 0x402, 0, 0);
    };
    backend.setDriver([](platform::HeadlessBackend& driver) { driver.closeWindow(); });
    EXPECT_EQ(RunLoop(), 3);
    EXPECT_EQ(LogSinceCreation(), (Log{"message 1024", "message 1025", "message 1026", "WM_PAINT",
                                       "WM_CLOSE", "WM_DESTROY"}));
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

TEST_F(WindowTest, ATimerIsPendingAtMostOnceHoweverLateTheProgramIs) {
    ShowWindow(window, SW_SHOW);
    SetTimer(window, 2, 10, nullptr);
    int idle = 0;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        if (++idle == 1) {
            driver.passTime(95);  // nine periods
        } else {
            driver.closeWindow();
        }
    });
    RunLoop();
    EXPECT_EQ(LogSinceCreation(), (Log{"WM_PAINT", "WM_TIMER 2", "WM_CLOSE", "WM_DESTROY"}));
}

TEST_F(WindowTest, KilledOrRefusedTimersDoNotExist) {
    backend.failSetTimer(1);
    EXPECT_EQ(SetTimer(window, 1, 50, nullptr), 0u);
    EXPECT_FALSE(platform::TimerExists(window, 1));
    EXPECT_NE(SetTimer(window, 1, 50, nullptr), 0u);
    EXPECT_TRUE(platform::TimerExists(window, 1));
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 1));
    EXPECT_FALSE(platform::TimerExists(window, 1));
}

TEST_F(WindowTest, KeysArriveAsKeyDownAndTranslateTypesCharacters) {
    ShowWindow(window, SW_SHOW);
    backend.setDriver([step = 0](platform::HeadlessBackend& driver) mutable {
        if (++step == 1) {
            driver.pressKey(VK_RETURN);
            driver.pressKey(VK_F1);
        } else {
            driver.closeWindow();
        }
    });
    RunLoop();
    EXPECT_EQ(LogSinceCreation(), (Log{"WM_PAINT", "WM_KEYDOWN 13", "WM_KEYDOWN 112", "WM_CHAR 13",
                                       "WM_CLOSE", "WM_DESTROY"}));
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
        if (!pressed) {
            pressed = true;
            driver.pressKey('A');
        }
    });
    EXPECT_EQ(MessageBoxA(window, "owned", "Title", MB_OK), IDOK);
    pressed = false;
    EXPECT_EQ(MessageBoxA(nullptr, "free", "Title", MB_RETRYCANCEL), IDCANCEL);

    EXPECT_EQ(LogSinceCreation(),
              (Log{"WM_PAINT", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1", "WM_TIMER 1",
                   "WM_KEYDOWN 65", "WM_CHAR 97", "WM_TIMER 1"}));
    ASSERT_EQ(backend.messageBoxes().size(), 2u);
    EXPECT_EQ(backend.messageBoxes()[0].owner, window);
    EXPECT_EQ(backend.messageBoxes()[0].text, "owned");
    EXPECT_EQ(backend.messageBoxes()[1].caption, "Title");
    EXPECT_EQ(backend.messageBoxes()[1].type, static_cast<UINT>(MB_RETRYCANCEL));
}

TEST_F(WindowTest, QuitInsideAModalLoopEndsItAndReachesTheOuterLoop) {
    ShowWindow(window, SW_SHOW);
    backend.answerMessageBox(IDOK, 1000);
    backend.setDriver([](platform::HeadlessBackend& driver) { driver.closeWindow(); });
    EXPECT_EQ(MessageBoxA(nullptr, "closing under me", "Title", MB_OK), 0);
    EXPECT_EQ(RunLoop(), 3);
}

TEST_F(WindowTest, AProgramWaitingForAnUnscriptedBoxIsReportedStuck) {
    EXPECT_THROW(MessageBoxA(window, "nobody answers", "Title", MB_OK),
                 platform::HeadlessBackend::Stuck);
    backend.answerMessageBox(IDRETRY);
    EXPECT_THROW(MessageBoxA(window, "no such button", "Title", MB_OK),
                 platform::HeadlessBackend::Stuck);
}

}  // namespace
