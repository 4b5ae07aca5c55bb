// The whole program (WinMain, MainWndProc, LoadDlgProc) on the headless backend, played by a
// list of steps as a user would, each run in a process of its own because the program's state is
// program-wide and starts fresh only with a process: start-up with the timer's retry box, the
// introductory boxes and the first load dialog; the animation's states (Paused, Running,
// Finished) under ENTER, F1, ticks and repaints; the load dialog's conversion of the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/resources/dialog_template.h"
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "circuit/painted_once.h"
#include "platform/headless/headless_backend.h"
#include "surface/canvas.h"
#include "surface/recorder.h"
#include "surface/text.h"
#include "tests/app/fresh_process.h"

namespace {

constexpr COLORREF kOlive = RGB(100, 100, 0);

// What the user does whenever the main loop waits for input: a step acts (and the program then
// handles it), waits until its condition holds, or looks and goes straight on.
struct Step {
    enum class Kind { Act, Await, Check } kind;
    std::function<bool(platform::HeadlessBackend&)> run;
};
using Steps = std::vector<Step>;

Step Act(std::function<void(platform::HeadlessBackend&)> act) {
    return {Step::Kind::Act,
            [act](platform::HeadlessBackend& backend) { return act(backend), true; }};
}
Step Press(int key) {
    return Act([key](auto& backend) { backend.pressKey(key); });
}
// The window is uncovered: its whole client area (or part) is to be erased and repainted.
Step Uncover(std::optional<RECT> area = std::nullopt) {
    return Act([area](auto& backend) { backend.uncover(area ? &*area : nullptr); });
}
Step AwaitClock(int degrees) {
    return {Step::Kind::Await,
            [degrees](platform::HeadlessBackend&) { return clockDeg == degrees; }};
}
Step Wait(platform::Millis duration) {
    return {Step::Kind::Await, [duration, until = std::optional<platform::Millis>()](
                                   platform::HeadlessBackend& backend) mutable {
                if (!until) backend.wakeDriverAt(*(until = backend.now() + duration));
                return backend.now() >= *until;
            }};
}
Step Check(std::function<void()> check) {
    return {Step::Kind::Check, [check](platform::HeadlessBackend&) { return check(), true; }};
}

class Program {
  public:
    // The answers at start-up: both introductory boxes confirmed, the dialog answered with the
    // text or, without one, cancelled.
    void AnswerStartup(std::optional<std::string> load) {
        backend.answerMessageBox(IDOK);
        backend.answerMessageBox(IDOK);
        load ? backend.answerDialog(*load) : backend.cancelDialog();
    }

    // Runs WinMain with the steps, then closes the window; returns WinMain's result. The session
    // stays open for looking at its state afterwards.
    int Play(const Steps& steps) {
        std::deque<Step> pending(steps.begin(), steps.end());
        backend.setDriver([&, closed = false](platform::HeadlessBackend& driver) mutable {
            if (driver.modalOpen()) return;  // boxes and dialogs are answered by the script
            while (!pending.empty()) {
                const Step::Kind kind = pending.front().kind;
                if (!pending.front().run(driver) && kind == Step::Kind::Await) return;
                pending.pop_front();
                if (kind == Step::Kind::Act) return;
            }
            if (!closed) driver.closeWindow();
            closed = true;
        });
        recorder_.emplace(trace_);
        session_.emplace(backend, dialogTemplates);
        char commandLine[] = "";
        return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    }

    HWND window() const { return backend.window(); }
    bool TimerAlive() const { return platform::TimerExists(window(), TIMER_ANIM); }
    // The animation's state, e.g. "running 1, clock 6, timer on".
    std::string State() const {
        return "running " + std::to_string(running) + ", clock " + std::to_string(clockDeg) +
               (TimerAlive() ? ", timer on" : ", timer off");
    }
    surface::Canvas Screen() const { return *backend.screen(); }
    int Dialogs() const { return static_cast<int>(backend.dialogs().size()); }
    // The trace so far, how often a line occurs in it, a mark, and the drawing calls since a
    // position in it or since the mark.
    std::string Trace() const { return trace_.str(); }
    int Count(const std::string& line) const {
        return CountLines(0, [&](auto& l) { return l == line; });
    }
    void Mark() { mark_ = trace_.str().size(); }
    int DrawnSince(std::size_t mark) const {
        return CountLines(mark, [](auto& l) { return !l.empty() && l[0] != '#'; });
    }
    int DrawnSinceMark() const { return DrawnSince(mark_); }

    platform::HeadlessBackend backend;
    std::optional<surface::Canvas> picture;  // kept by a step for a later one

  private:
    int CountLines(std::size_t from, const std::function<bool(const std::string&)>& counted) const {
        std::istringstream lines(trace_.str().substr(from));
        int count = 0;
        for (std::string line; std::getline(lines, line);) count += counted(line) ? 1 : 0;
        return count;
    }

    std::ostringstream trace_;
    std::size_t mark_ = 0;
    std::optional<surface::Recorder> recorder_;
    std::optional<platform::Session> session_;
};

// Plays the program in a fresh process: started with the load typed into the dialog (without one,
// cancelled), then the steps made for it.
void PlayFresh(std::optional<std::string> load, const std::function<Steps(Program&)>& steps) {
    InFreshProcess([&] {
        Program program;
        program.AnswerStartup(load);
        program.Play(steps(program));
    });
}

bool SamePixels(const surface::Canvas& a, const surface::Canvas& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + static_cast<std::size_t>(a.width()) * a.height(),
                      b.data());
}

// The explanation: four paragraphs of 9, 7, 4 and 9 lines of at most 88 characters, broken by
// single line feeds; the key help in 275 characters.
void ExpectIntroTexts(const std::string& explanation, const std::string& keyHelp) {
    EXPECT_EQ(explanation.size(), 2214u);
    EXPECT_EQ(explanation.rfind("This program illustrates the effect of varying the value of load "
                                "resistance\nat the end of a 50-ohm transmission line.",
                                0),
              0u);
    std::vector<int> paragraphs{0};
    std::istringstream lines(explanation);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 88u) << line;
        paragraphs.back() += line.empty() ? 0 : 1;
        if (line.empty()) paragraphs.push_back(0);
    }
    EXPECT_EQ(paragraphs, (std::vector<int>{9, 7, 4, 9}));
    EXPECT_EQ(keyHelp.size(), 275u);
    EXPECT_EQ(keyHelp.rfind("Press 'ENTER' to activate a dialog box", 0), 0u);
    for (const std::string& text : {explanation, keyHelp}) {
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_NE(text.back(), '\n');
    }
}

// Ticks keep coming while the boxes and the dialog are open, and with the animation paused they
// draw nothing.
TEST(Startup, ShowsTheIntroPaintsTwiceAsksForTheLoadAndWaitsPausedUntilClosed) {
    InFreshProcess([] {
        Program program;
        program.backend.answerMessageBox(IDOK, 500);
        program.backend.answerMessageBox(IDOK, 500);
        program.backend.cancelDialog(500);
        const int exitCode = program.Play({Check([&] {
            const auto& boxes = program.backend.messageBoxes();
            ASSERT_EQ(boxes.size(), 2u);
            for (const auto& box : boxes) {  // no owner: the main window stays live
                EXPECT_EQ(std::tuple(box.owner, box.caption, box.type),
                          std::tuple(HWND{}, "Velmora", UINT{MB_OK}));
            }
            ExpectIntroTexts(boxes[0].text, boxes[1].text);
            ASSERT_EQ(program.Dialogs(), 1);
            EXPECT_EQ(program.backend.dialogs()[0].owner, program.window());
            EXPECT_EQ(program.backend.dialogs()[0].layout.caption, "Load value");

            EXPECT_EQ(program.Count("# WM_PAINT"), 2);
            EXPECT_EQ(program.Count("# WM_TIMER"), 30);
            EXPECT_EQ(program.DrawnSince(program.Trace().find("# WM_TIMER")),
                      program.DrawnSince(program.Trace().rfind("# WM_PAINT")))
                << "nothing drawn between the first tick and the second paint";
            EXPECT_EQ(clientWidth, 992);
            EXPECT_EQ(clientHeight, 666);
            EXPECT_EQ(loadOhms, 50.0) << "a cancelled dialog keeps the load";
            EXPECT_EQ(introShown, 1);
            EXPECT_EQ(program.State(), "running 0, clock 0, timer on");
            EXPECT_EQ(program.Screen().pixel(119, 400), kOlive) << "the start arrow";
        })});
        EXPECT_EQ(exitCode, 0);
        EXPECT_FALSE(program.TimerAlive());
    });
}

// The introductory boxes leave the window live, but ENTER and F1 typed while one is open change
// nothing: start-up draws exactly what it draws without them and asks for the load once.
TEST(Startup, EnterAndF1DoNothingWhileAnIntroductoryBoxIsOpen) {
    // The trace of a start-up with the keys pressed while the first box is open, keys unnoted.
    const auto startup = [](const std::vector<int>& keys) {
        clientWidth = clientHeight = clockDeg = running = introShown = circuit::paintedOnce = 0;
        loadOhms = 50.0;
        platform::HeadlessBackend backend;
        backend.answerMessageBox(IDOK, 300);
        backend.answerMessageBox(IDOK, 300);
        backend.cancelDialog(300);
        backend.setDriver([&, pressed = false](platform::HeadlessBackend& driver) mutable {
            if (!pressed) {
                if (backend.messageBoxes().empty()) return;
                for (int key : keys) driver.pressKey(key);
                pressed = true;
            } else if (!driver.modalOpen()) {
                driver.closeWindow();
            }
        });
        std::ostringstream trace;
        {
            surface::Recorder recorder(trace);
            platform::Session session(backend, dialogTemplates);
            char commandLine[] = "";
            WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
        }
        EXPECT_EQ(backend.dialogs().size(), 1u);
        std::string drawn;
        std::istringstream lines(trace.str());
        for (std::string line; std::getline(lines, line);) {
            if (!line.starts_with("# WM_KEYDOWN") && !line.starts_with("# WM_CHAR")) {
                drawn += line + "\n";
            }
        }
        return drawn;
    };
    InFreshProcess([&] {
        const std::string undisturbed = startup({});
        for (const std::vector<int>& keys :
             {std::vector{VK_RETURN}, {VK_F1}, {VK_F1, VK_RETURN, VK_F1}}) {
            EXPECT_EQ(startup(keys), undisturbed) << keys.size() << " keys";
        }
    });
}

// The second paint does not erase: the caption for 0.1 ohms leaves the end of the first one's.
TEST(Startup, RetriesTheTimerAsLongAsTheUserAsks) {
    InFreshProcess([] {
        Program program;
        program.backend.failSetTimer(2);
        program.backend.answerMessageBox(IDRETRY);
        program.backend.answerMessageBox(IDRETRY);
        program.AnswerStartup("0.1");
        const int exitCode = program.Play({Check([&] {
            EXPECT_EQ(program.State(), "running 0, clock 0, timer on");
            EXPECT_EQ(loadOhms, 0.1);
            const surface::Canvas screen = program.Screen();
            int leftover = 0;
            for (int x = 764 + surface::TextWidth("0.1 ohms", 8);
                 x < 764 + surface::TextWidth("50.0 ohms", 9); ++x) {
                for (int y = 196; y < 196 + surface::kFontHeight; ++y) {
                    leftover += screen.pixel(x, y) == RGB(0, 0, 0);
                }
            }
            EXPECT_GT(leftover, 0);
        })});
        EXPECT_EQ(exitCode, 0);
        const auto& boxes = program.backend.messageBoxes();
        ASSERT_EQ(boxes.size(), 4u);
        for (int i = 0; i < 2; ++i) {  // owned by the main window
            EXPECT_EQ(std::tuple(boxes[i].owner, boxes[i].text, boxes[i].caption, boxes[i].type),
                      std::tuple(program.window(), "Too many clocks or timers!", "Velmora",
                                 UINT{MB_ICONWARNING | MB_RETRYCANCEL}));
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
        EXPECT_EQ(program.Count("# WM_PAINT"), 0);
        EXPECT_EQ(program.backend.messageBoxes().size(), 1u);
        EXPECT_EQ(program.Dialogs(), 0);
    });
}

TEST(Animation, PausedTicksDrawNothingRepaintsClearTheClockF1AsksAndEnterStarts) {
    PlayFresh(std::nullopt, [](Program& program) {
        program.backend.answerDialog("75");
        return Steps{
            Check([&] { program.Mark(); }),
            Wait(200),
            Check([&] {
                EXPECT_EQ(program.Count("# WM_TIMER"), 4);
                EXPECT_EQ(program.DrawnSinceMark(), 0);
                EXPECT_EQ(program.State(), "running 0, clock 0, timer on");
            }),
            Uncover(),
            Check([&] { EXPECT_EQ(program.Count("# WM_PAINT"), 3); }),
            Press(VK_F1),
            Check([&] {
                EXPECT_EQ(program.Dialogs(), 2);
                EXPECT_EQ(loadOhms, 75.0);
                EXPECT_EQ(program.Count("# WM_PAINT"), 4) << "a full repaint after the dialog";
                EXPECT_EQ(program.State(), "running 0, clock 0, timer on");
                program.Mark();
            }),
            Press(VK_RETURN),
            Check([&] {
                EXPECT_EQ(program.State(), "running 1, clock 0, timer on");
                EXPECT_EQ(program.DrawnSinceMark(), 0) << "the key itself draws nothing";
            }),
            AwaitClock(3),
            Check([&] { EXPECT_GT(program.DrawnSinceMark(), 0); }),
        };
    });
}

// ENTER twice between two ticks, or any key but ENTER and F1, changes nothing; ENTER pauses where
// the clock stands and resumes from there.
TEST(Animation, RunningTakesOnlyEnterAndF1) {
    PlayFresh("100", [](Program& program) {
        return Steps{
            Press(VK_RETURN),
            AwaitClock(6),
            Check([&] { program.Mark(); }),
            Press(VK_RETURN),
            Press(VK_RETURN),
            Act([](auto& backend) {
                for (int key : {int{'A'}, int{'7'}, VK_SPACE, VK_ESCAPE, VK_BACK, VK_TAB, 0x71}) {
                    backend.pressKey(key);  // 0x71 is F2
                }
            }),
            Check([&] {
                EXPECT_EQ(program.State(), "running 1, clock 6, timer on");
                EXPECT_EQ(program.DrawnSinceMark(), 0);
                EXPECT_EQ(program.Dialogs(), 1);
            }),
            Wait(50),
            Check([&] { EXPECT_EQ(program.State(), "running 1, clock 9, timer on"); }),
            Press(VK_RETURN),
            Wait(500),
            Press(VK_RETURN),
            Wait(50),
            Check([&] { EXPECT_EQ(program.State(), "running 1, clock 12, timer on"); }),
        };
    });
}

// F1 while running, after the finish, or after the finish and a repaint (when the clock reads 0
// but the timer is gone): the animation stops, the dialog asks again, the whole window is erased
// to the start picture, and ENTER starts a new run. The dialog stays open over a few ticks, as
// it does for any user.
TEST(Animation, F1AlwaysResetsToTheStartPictureAndARunEnterCanStart) {
    for (const int stopAt : {450, 1080, -1}) {
        SCOPED_TRACE(stopAt < 0 ? "repainted after the finish" : "at " + std::to_string(stopAt));
        PlayFresh("100", [stopAt](Program& program) {
            program.backend.cancelDialog(4 * kTickPeriod);
            return Steps{
                Check([&] { program.picture = program.Screen(); }),
                Press(VK_RETURN),
                AwaitClock(stopAt < 0 ? 1080 : stopAt),
                stopAt < 0 ? Uncover() : Check([] {}),
                Press(VK_F1),
                Check([&] {
                    EXPECT_EQ(program.State(), "running 0, clock 0, timer on");
                    EXPECT_EQ(program.Dialogs(), 2);
                    EXPECT_TRUE(SamePixels(program.Screen(), *program.picture));
                }),
                Press(VK_RETURN),
                Wait(150),
                Check([&] { EXPECT_EQ(program.State(), "running 1, clock 9, timer on"); }),
            };
        });
    }
}

// The repaint restarts the clock; what the old frame drew outside the erased area stays.
TEST(Animation, ARepaintWhileRunningRestartsFromFrameZero) {
    PlayFresh("100", [](Program& program) {
        return Steps{
            Press(VK_RETURN),
            AwaitClock(90),
            Check([&] { program.picture = program.Screen(); }),
            Uncover(RECT{0, 0, 250, 666}),
            Check([&] { EXPECT_EQ(program.State(), "running 1, clock 0, timer on"); }),
            Wait(50),
            Check([&] {
                EXPECT_EQ(clockDeg, 3);
                const surface::Canvas& old = *program.picture;
                int kept = 0;
                for (int y = 0; y < old.height(); ++y) {
                    for (int x = 260; x < old.width(); ++x) {
                        if (old.pixel(x, y) != kOlive) continue;
                        EXPECT_EQ(program.Screen().pixel(x, y), kOlive);
                        ++kept;
                    }
                }
                EXPECT_GT(kept, 0);
            }),
        };
    });
}

// The last frame stays; ENTER only toggles the flag; a repaint shows the start arrow again and
// leaves the timer killed.
TEST(Animation, TheClockStopsAt1080AndTheLastFrameStays) {
    PlayFresh("100", [](Program& program) {
        return Steps{
            Press(VK_RETURN),
            AwaitClock(1080),
            Check([&] {
                EXPECT_EQ(program.State(), "running 1, clock 1080, timer off");
                EXPECT_EQ(program.Count("# WM_TIMER"), 360);
                program.picture = program.Screen();
            }),
            Press(VK_RETURN),
            Check([&] { EXPECT_EQ(program.State(), "running 0, clock 1080, timer off"); }),
            Press(VK_RETURN),
            Wait(1000),
            Check([&] {
                EXPECT_EQ(program.State(), "running 1, clock 1080, timer off");
                EXPECT_EQ(program.Count("# WM_TIMER"), 360);
                EXPECT_TRUE(SamePixels(program.Screen(), *program.picture));
            }),
            Uncover(),
            Check([&] {
                EXPECT_EQ(program.State(), "running 1, clock 0, timer off");
                EXPECT_EQ(program.Screen().pixel(119, 400), kOlive) << "the start arrow";
            }),
        };
    });
}

std::string Zeros(int count) { return std::string(static_cast<std::size_t>(count), '0'); }

TEST(LoadText, IsReadAsTheCLibraryReadsANumberWithDAlsoStartingAnExponent) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const std::pair<double, std::vector<std::string>> cases[] = {
        // Not a number, or nothing: 0; no hexadecimal, infinity or NaN.
        {0.0, {"", "abc", "0", ".", "- 75", "inf", "nan", "0x4B", "1e-400"}},
        {-5.0, {"-5"}},
        {0.09, {"0.09"}},
        // The same number however it is written.
        {75.0,
         {"75", " 75", " \t\n\v\f\r75", "+75", "75ohms", "7.5e1", "7.5d1", "7.5D+1", "750e-1",
          ".75E2", "75.", "75e", "75e+", "75d-x"}},
        // Never the user's locale; many digits read exactly.
        {1.0, {"1,5", "0." + Zeros(150) + "1e151"}},
        // Correctly rounded: 0.1 is the double 0x3FB999999999999A.
        {0.1, {"0.1", "0.1000000000000000055511151231257827"}},
        {123.456, {"123.456"}},
        {10000.0, {"9999.99999999999999999", "10000"}},
        {1e-320, {"1e-320"}},
        // Beyond the doubles.
        {kInfinity, {"1e400"}},
        {-kInfinity, {"-1e400"}}};
    for (const auto& [value, texts] : cases) {
        for (const std::string& text : texts) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseLoadText(text.c_str())),
                      std::bit_cast<std::uint64_t>(value))
                << "\"" << text << "\"";
        }
    }
}

TEST(LoadDialog, ClampsTheLoadReadsTheFirst159CharactersAndKeepsTheLoadOnCancel) {
    const std::pair<double, std::vector<std::optional<std::string>>> cases[] = {
        // Not a number or too small: the least load.
        {0.1, {"abc", "-5", "0.09", "-1e400", "1e-320"}},
        // Too large: the greatest load.
        {10000.0, {"10000.5", "1e5", "1e400"}},
        // Only the first 159 characters count.
        {75.0, {Zeros(157) + "75"}},
        {7.0, {Zeros(158) + "75"}},
        // Cancel keeps the load (50 at start).
        {50.0, {std::nullopt}}};
    for (const auto& [load, texts] : cases) {
        for (const std::optional<std::string>& typed : texts) {
            SCOPED_TRACE(typed ? "\"" + *typed + "\"" : "cancelled");
            platform::HeadlessBackend backend;
            typed ? backend.answerDialog(*typed) : backend.cancelDialog();
            platform::Session session(backend, dialogTemplates);
            loadOhms = 50.0;
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOAD), nullptr,
                            LoadDlgProc, 0);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(loadOhms), std::bit_cast<std::uint64_t>(load))
                << loadOhms;
        }
    }
}

}  // namespace
