// The whole program under seeded random input, as users and scripts abuse it: bursts of keys,
// time passing, dialog answers typed or scripted, resizes from 0 x 0 to far beyond any screen,
// uncovered areas, close requests and failing timers. After every message the program's rules
// hold: no pen is alive, the clock is 0 to 1080 in steps of 3, no dialog opens inside another,
// nothing presented lies outside the window, and the core's table of windows does not grow.
//
// VELMORA_EVENT_SEQUENCES=N plays N sequences instead of the few hundred of every run.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "app/resources/dialog_template.h"
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "circuit/painted_once.h"
#include "platform/core.h"
#include "platform/headless/headless_backend.h"
#include "surface/changed_tiles.h"
#include "surface/device_context.h"
#include "tests/app/fresh_process.h"

namespace {

// The main window, an open dialog and its three controls.
constexpr std::size_t kMostWindows = 5;

struct Broken : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Require(bool rule, const std::string& what) {
    if (!rule) throw Broken(what);
}

// Checks the rules each time the core takes a message (it asks the time first) and whenever
// pixels are presented; everything else goes to the headless backend.
class Watched final : public platform::Backend {
  public:
    explicit Watched(platform::HeadlessBackend& inner) : inner_(inner) {}

    platform::Millis now() override {
        Require(surface::LivePenCount() == 0, "a pen is alive between messages");
        Require(clockDeg >= 0 && clockDeg <= 1080 && clockDeg % 3 == 0,
                "the clock reads " + std::to_string(clockDeg));
        Require(platform::core::Current().windows.size() <= kMostWindows,
                std::to_string(platform::core::Current().windows.size()) + " windows in the table");
        return inner_.now();
    }
    void waitForEvents(std::optional<platform::Millis> deadline) override {
        inner_.waitForEvents(deadline);
    }
    void showWindow(HWND window, const std::string& title, const surface::Canvas& canvas) override {
        inner_.showWindow(window, title, canvas);
    }
    void hideWindow(HWND window) override { inner_.hideWindow(window); }
    void present(HWND window, const surface::ChangedTiles& changed) override {
        RECT client{};
        GetClientRect(window, &client);
        const surface::PixelRect area = changed.bounds();
        Require(area.empty() || (area.left >= 0 && area.top >= 0 && area.right <= client.right &&
                                 area.bottom <= client.bottom),
                "presented outside the window");
        inner_.present(window, changed);
    }
    void destroyWindow(HWND window) override { inner_.destroyWindow(window); }
    std::unique_ptr<platform::MessageBoxView> openMessageBox(HWND owner, const std::string& text,
                                                             const std::string& caption,
                                                             UINT type) override {
        return inner_.openMessageBox(owner, text, caption, type);
    }
    std::unique_ptr<platform::DialogView> openDialog(
        HWND dialog, HWND owner, const platform::DialogLayout& layout) override {
        Require(!inner_.modalOpen(), "a dialog opened while a box or dialog was open");
        return inner_.openDialog(dialog, owner, layout);
    }
    bool grantTimer() override { return inner_.grantTimer(); }

  private:
    platform::HeadlessBackend& inner_;
};

// One sequence: the program started with a few failing timers, then `actions` random actions
// whenever it waits for input, then close requests until it ends.
void Play(unsigned seed, int actions) {
    std::mt19937 random(seed);
    const auto chance = [&](int percent) {
        return std::uniform_int_distribution(0, 99)(random) < percent;
    };
    const auto pick = [&](const auto& choices) {
        return choices[std::uniform_int_distribution<std::size_t>(0,
                                                                  std::size(choices) - 1)(random)];
    };
    clientWidth = clientHeight = clockDeg = running = introShown = circuit::paintedOnce = 0;
    loadOhms = 50.0;

    platform::HeadlessBackend backend;
    Watched watched(backend);
    const int timerFailures = chance(20) ? std::uniform_int_distribution(1, 2)(random) : 0;
    backend.failSetTimer(timerFailures);
    for (int i = 0; i < timerFailures; ++i) backend.answerMessageBox(IDRETRY);
    backend.answerMessageBox(IDOK, pick(std::array{0, 30, 400}));
    backend.answerMessageBox(IDOK, pick(std::array{0, 30, 400}));
    // Every dialog finds a scripted answer, even the second of one burst of keys; keys typed
    // ahead may answer it first.
    std::size_t answers = 0;
    const auto stockAnswers = [&] {
        for (; answers <= backend.dialogs().size() + 4; ++answers) {
            const platform::Millis after = pick(std::array{0, 20, 300});
            if (chance(30)) {
                backend.cancelDialog(after);
            } else {
                backend.answerDialog(pick(std::array{"75", "0", "1e9", "-3", "x", "", "0.1"}),
                                     after);
            }
        }
    };
    stockAnswers();

    static constexpr int kKeys[] = {VK_RETURN, VK_RETURN, VK_F1, VK_F1, VK_ESCAPE, 'A', VK_SPACE};
    static constexpr std::array<int, 2> kSizes[] = {{0, 0},     {1, 1},     {992, 666}, {300, 200},
                                                    {65535, 2}, {2, 65535}, {5000, 40}, {128, 5},
                                                    {0, 400},   {640, 0}};
    int acted = 0;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        stockAnswers();
        if (acted++ >= actions) {
            driver.closeWindow();
            driver.passTime(25);
            return;
        }
        const int what = std::uniform_int_distribution(0, 99)(random);
        if (what < 35) {
            driver.pressKey(pick(kKeys));
        } else if (what < 45) {
            for (int i = std::uniform_int_distribution(2, 4)(random); i > 0; --i) {
                driver.pressKey(pick(kKeys));
            }
        } else if (what < 60) {
            driver.passTime(pick(std::array{1, 49, 50, 120, 1000}));
        } else if (what < 70) {
            const auto [width, height] = pick(kSizes);
            driver.resizeClient(width, height);
        } else if (what < 75) {
            driver.uncover(nullptr);
        } else if (what < 78) {
            driver.closeWindow();
        } else if (what < 81 && !backend.dialogs().empty()) {
            driver.failSetTimer(1);  // after start-up: the next F1 finds no timer
        }
        // Otherwise the program runs on to its next timer or answer.
    });
    platform::Session session(watched, dialogTemplates);
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    Require(surface::LivePenCount() == 0, "a pen is alive at the end");
}

TEST(EventSequences, KeepTheProgramsRulesAfterEveryMessage) {
    const char* requested = std::getenv("VELMORA_EVENT_SEQUENCES");
    const int sequences = requested != nullptr ? std::atoi(requested) : 300;
    // The program's state is program-wide: the sequences share a process of their own, so that
    // the tests after them start as the program does.
    InFreshProcess([&] {
        for (int i = 0; i < sequences; ++i) {
            const unsigned seed = 1000 + static_cast<unsigned>(i);
            try {
                Play(seed, 40);
            } catch (const std::exception& broken) {
                FAIL() << "sequence with seed " << seed << ": " << broken.what();
            }
        }
    });
}

}  // namespace
