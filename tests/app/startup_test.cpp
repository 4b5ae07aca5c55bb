// Start-up, the timer's retry box, the introductory boxes, the first load dialog and closing.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "tests/app/program.h"

namespace {

constexpr COLORREF kOlive = RGB(100, 100, 0);

TEST(Startup, ShowsTheIntroPaintsTwiceAskForTheLoadAndWaitsPausedUntilClosed) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup(std::nullopt);
        const int exitCode = program.Play({Check([&] {
            const auto& boxes = program.backend.messageBoxes();
            ASSERT_EQ(boxes.size(), 2u);
            for (const auto& box : boxes) {
                EXPECT_EQ(box.owner, nullptr) << "the main window stays live";
                EXPECT_EQ(box.caption, "Velmora");
                EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
            }
            EXPECT_EQ(boxes[0].text, introExplanation);
            EXPECT_EQ(boxes[1].text, introKeyHelp);
            ASSERT_EQ(program.DialogsShown(), 1);
            EXPECT_EQ(program.backend.dialogs()[0].owner, program.window());
            EXPECT_EQ(program.backend.dialogs()[0].layout.caption, "Load value");

            EXPECT_EQ(program.Paints(), 2);
            EXPECT_EQ(clientWidth, 992);
            EXPECT_EQ(clientHeight, 666);
            EXPECT_EQ(loadOhms, 50.0) << "a cancelled dialog keeps the load";
            EXPECT_EQ(introShown, 1);
            EXPECT_EQ(running, 0);
            EXPECT_EQ(clockDeg, 0);
            EXPECT_TRUE(platform::TimerExists(program.window(), TIMER_ANIM));
            EXPECT_EQ(program.Screen().pixel(119, 400), kOlive) << "the start arrow";
        })});
        EXPECT_EQ(exitCode, 0);
        EXPECT_FALSE(platform::TimerExists(program.window(), TIMER_ANIM));
    });
}

TEST(Startup, RetriesTheTimerAsLongAsTheUserAsks) {
    InFreshProcess([] {
        Program program;
        program.backend.failSetTimer(2);
        program.backend.answerMessageBox(IDRETRY);
        program.backend.answerMessageBox(IDRETRY);
        program.AnswerStartup("75");
        EXPECT_EQ(program.Play({Check([&] {
            EXPECT_TRUE(platform::TimerExists(program.window(), TIMER_ANIM));
            EXPECT_EQ(loadOhms, 75.0);
        })}),
                  0);
        const auto& boxes = program.backend.messageBoxes();
        ASSERT_EQ(boxes.size(), 4u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(boxes[i].text, "Too many clocks or timers!");
            EXPECT_EQ(boxes[i].caption, "Velmora");
            EXPECT_EQ(boxes[i].type, static_cast<UINT>(MB_ICONWARNING | MB_RETRYCANCEL));
            EXPECT_NE(boxes[i].owner, nullptr) << "owned by the main window";
        }
    });
}

TEST(Startup, CancelInTheTimerBoxEndsWithZeroBeforeTheWindowIsShown) {
    InFreshProcess([] {
        Program program;
        program.backend.failSetTimer(1);
        program.backend.answerMessageBox(IDCANCEL);
        EXPECT_EQ(program.Play({}), 0);
        EXPECT_EQ(program.window(), nullptr) << "never shown";
        EXPECT_EQ(program.Paints(), 0);
        EXPECT_EQ(program.backend.messageBoxes().size(), 1u);
        EXPECT_EQ(program.DialogsShown(), 0);
    });
}

// The boxes and the dialog run modal loops: ticks keep arriving, and with the animation paused
// they draw nothing.
TEST(Startup, TicksWhileTheBoxesAndTheDialogAreOpenDrawNothing) {
    InFreshProcess([] {
        Program program;
        program.backend.answerMessageBox(IDOK, 500);
        program.backend.answerMessageBox(IDOK, 500);
        program.backend.answerDialog("100", 500);
        program.Play({Check([&] {
            EXPECT_EQ(program.Ticks(), 30);
            const std::string trace = program.Trace();
            EXPECT_EQ(program.DrawnSince(trace.find("# WM_TIMER")),
                      program.DrawnSince(trace.rfind("# WM_PAINT")))
                << "nothing drawn between the first tick and the second paint";
        })});
    });
}

}  // namespace
