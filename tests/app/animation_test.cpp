// The animation's states (Paused, Running, Finished) under ENTER, F1, ticks and repaints.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "tests/app/program.h"

namespace {

constexpr COLORREF kOlive = RGB(100, 100, 0);

bool TimerAlive(const Program& program) {
    return platform::TimerExists(program.window(), TIMER_ANIM);
}

Step AwaitClock(int degrees) {
    return Await([degrees] { return clockDeg == degrees; });
}

TEST(Animation, PausedTicksDrawNothingRepaintsClearTheClockAndEnterStarts) {
    InFreshProcess([] {
        Program program;
        program.backend.answerMessageBox(IDOK);
        program.backend.answerMessageBox(IDOK);
        program.backend.cancelDialog();
        program.backend.answerDialog("75");
        std::size_t mark = 0;
        program.Play({
            Check([&] { mark = program.Mark(); }),
            Wait(200),
            Check([&] {
                EXPECT_EQ(program.Ticks(), 4);
                EXPECT_EQ(program.DrawnSince(mark), 0);
                EXPECT_EQ(clockDeg, 0);
                EXPECT_EQ(running, 0);
            }),
            Uncover(),
            Check([&] {
                EXPECT_EQ(program.Paints(), 3);
                EXPECT_EQ(running, 0);
            }),
            Press(VK_F1),
            Check([&] {
                EXPECT_EQ(program.DialogsShown(), 2);
                EXPECT_EQ(loadOhms, 75.0);
                EXPECT_EQ(program.Paints(), 4) << "a full repaint after the dialog";
                EXPECT_EQ(running, 0);
                EXPECT_TRUE(TimerAlive(program));
                mark = program.Mark();
            }),
            Press(VK_RETURN),
            Check([&] {
                EXPECT_EQ(running, 1);
                EXPECT_EQ(program.DrawnSince(mark), 0) << "the key itself draws nothing";
            }),
            AwaitClock(3),
            Check([&] { EXPECT_GT(program.DrawnSince(mark), 0); }),
        });
    });
}

TEST(Animation, EnterPausesAndResumesWhereTheClockStood) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup("100");
        program.Play({
            Press(VK_RETURN),
            AwaitClock(30),
            Press(VK_RETURN),
            Wait(500),
            Check([&] {
                EXPECT_EQ(clockDeg, 30);
                EXPECT_EQ(running, 0);
            }),
            Press(VK_RETURN),
            Wait(50),
            Check([&] { EXPECT_EQ(clockDeg, 33); }),
        });
    });
}

TEST(Animation, EnterTwiceBetweenTwoTicksChangesNothing) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup("100");
        std::size_t mark = 0;
        program.Play({
            Press(VK_RETURN),
            AwaitClock(6),
            Check([&] { mark = program.Mark(); }),
            Press(VK_RETURN),
            Press(VK_RETURN),
            Check([&] {
                EXPECT_EQ(running, 1);
                EXPECT_EQ(clockDeg, 6);
                EXPECT_EQ(program.DrawnSince(mark), 0);
                EXPECT_EQ(program.Ticks(), 2);
            }),
            Wait(50),
            Check([&] { EXPECT_EQ(clockDeg, 9); }),
        });
    });
}

TEST(Animation, KeysOtherThanEnterAndF1DoNothing) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup("100");
        std::size_t mark = 0;
        std::vector<Step> steps = {Press(VK_RETURN), AwaitClock(9),
                                   Check([&] { mark = program.Mark(); })};
        for (int key : {int{'A'}, int{'7'}, VK_SPACE, VK_ESCAPE, VK_BACK, VK_TAB, 0x71 /* F2 */}) {
            steps.push_back(Press(key));
        }
        steps.push_back(Check([&] {
            EXPECT_EQ(program.DrawnSince(mark), 0);
            EXPECT_EQ(running, 1);
            EXPECT_EQ(clockDeg, 9);
            EXPECT_EQ(program.DialogsShown(), 1);
        }));
        program.Play(steps);
    });
}

// F1 stops at once, asks again, and erases everything: the picture is the start-up one again.
TEST(Animation, F1WhileRunningResetsToTheStartPicture) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup(std::nullopt);
        program.backend.cancelDialog();
        std::optional<surface::Canvas> start;
        program.Play({
            Check([&] { start = program.Screen(); }),
            Press(VK_RETURN),
            AwaitClock(450),
            Press(VK_F1),
            Check([&] {
                EXPECT_EQ(running, 0);
                EXPECT_EQ(clockDeg, 0);
                EXPECT_EQ(program.DialogsShown(), 2);
                EXPECT_TRUE(SamePixels(program.Screen(), *start));
            }),
            Press(VK_RETURN),
            AwaitClock(3),
        });
    });
}

// The repaint restarts the clock; what the old frame drew outside the erased area stays.
TEST(Animation, ARepaintWhileRunningRestartsFromFrameZero) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup("100");
        std::vector<POINT> oldFrame;
        program.Play({
            Press(VK_RETURN),
            AwaitClock(90),
            Check([&] {
                const surface::Canvas screen = program.Screen();
                for (int y = 0; y < screen.height(); ++y) {
                    for (int x = 260; x < screen.width(); ++x) {
                        if (screen.pixel(x, y) == kOlive) oldFrame.push_back({x, y});
                    }
                }
                EXPECT_FALSE(oldFrame.empty());
            }),
            Uncover(RECT{0, 0, 250, 666}),
            Check([&] {
                EXPECT_EQ(clockDeg, 0);
                EXPECT_EQ(running, 1);
            }),
            Wait(50),
            Check([&] {
                EXPECT_EQ(clockDeg, 3);
                const surface::Canvas screen = program.Screen();
                for (const POINT& p : oldFrame) EXPECT_EQ(screen.pixel(p.x, p.y), kOlive);
            }),
        });
    });
}

TEST(Animation, TheClockStopsAt1080AndTheLastFrameStays) {
    InFreshProcess([] {
        Program program;
        program.AnswerStartup("100");
        std::optional<surface::Canvas> last;
        int ticks = 0;
        program.Play({
            Press(VK_RETURN),
            AwaitClock(1080),
            Check([&] {
                EXPECT_FALSE(TimerAlive(program));
                EXPECT_EQ(running, 1);
                last = program.Screen();
                ticks = program.Ticks();
                EXPECT_EQ(ticks, 360);
            }),
            Press(VK_RETURN),
            Check([&] { EXPECT_EQ(running, 0); }),
            Press(VK_RETURN),
            Check([&] { EXPECT_EQ(running, 1); }),
            Wait(1000),
            Check([&] {
                EXPECT_EQ(program.Ticks(), ticks);
                EXPECT_EQ(clockDeg, 1080);
                EXPECT_TRUE(SamePixels(program.Screen(), *last));
            }),
            Uncover(),
            Check([&] {
                EXPECT_EQ(clockDeg, 0);
                EXPECT_FALSE(TimerAlive(program));
                EXPECT_EQ(program.Screen().pixel(119, 400), kOlive) << "the start arrow";
            }),
        });
    });
}

// The mended fault: after the finish and a repaint the clock reads 0, yet F1 must still bring
// the timer back so that ENTER can start a new run.
TEST(Animation, F1AfterTheFinishAlwaysLeadsToARunEnterCanStart) {
    for (const bool repaintFirst : {false, true}) {
        SCOPED_TRACE(repaintFirst ? "repainted after the finish" : "straight after the finish");
        InFreshProcess([repaintFirst] {
            Program program;
            program.AnswerStartup("100");
            program.backend.answerDialog("25");
            std::vector<Step> steps = {Press(VK_RETURN), AwaitClock(1080)};
            if (repaintFirst) steps.push_back(Uncover());
            steps.push_back(Press(VK_F1));
            steps.push_back(Check([&] {
                EXPECT_TRUE(TimerAlive(program));
                EXPECT_EQ(running, 0);
                EXPECT_EQ(clockDeg, 0);
                EXPECT_EQ(loadOhms, 25.0);
            }));
            steps.push_back(Press(VK_RETURN));
            steps.push_back(Wait(150));
            steps.push_back(Check([&] { EXPECT_EQ(clockDeg, 9); }));
            program.Play(steps);
        });
    }
}

}  // namespace
