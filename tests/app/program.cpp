#include "tests/app/program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>

#include "app/velmora.h"

void InFreshProcess(const std::function<void()>& scenario) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        try {
            scenario();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "the scenario threw: " << error.what();
        }
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the scenario failed in its own process (its failures are printed above)";
}

Step Press(int virtualKey) {
    return {Step::Kind::Act, [virtualKey](platform::HeadlessBackend& backend) {
                backend.pressKey(virtualKey);
                return true;
            }};
}

Step Uncover(std::optional<RECT> area) {
    return {Step::Kind::Act, [area](platform::HeadlessBackend& backend) {
                backend.uncover(area ? &*area : nullptr);
                return true;
            }};
}

Step Await(std::function<bool()> condition) {
    return {Step::Kind::Await, [condition](platform::HeadlessBackend&) { return condition(); }};
}

Step Wait(platform::Millis duration) {
    return {Step::Kind::Await, [duration, until = std::optional<platform::Millis>()](
                                   platform::HeadlessBackend& backend) mutable {
                if (!until) {
                    until = backend.now() + duration;
                    backend.wakeDriverAt(*until);
                }
                return backend.now() >= *until;
            }};
}

Step Check(std::function<void()> check) {
    return {Step::Kind::Check, [check](platform::HeadlessBackend&) {
                check();
                return true;
            }};
}

Program::Program() = default;

void Program::AnswerStartup(std::optional<std::string> load) {
    backend.answerMessageBox(IDOK);
    backend.answerMessageBox(IDOK);
    if (load) {
        backend.answerDialog(*load);
    } else {
        backend.cancelDialog();
    }
}

int Program::Play(std::vector<Step> steps) {
    std::deque<Step> pending(steps.begin(), steps.end());
    bool closed = false;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        // Steps wait for the main loop: boxes and dialogs are answered by the script.
        if (driver.modalOpen()) return;
        while (!pending.empty()) {
            Step& step = pending.front();
            const bool done = step.run(driver);
            if (step.kind == Step::Kind::Await && !done) return;
            const bool acted = step.kind == Step::Kind::Act;
            pending.pop_front();
            if (acted) return;
        }
        if (!closed) {
            closed = true;
            driver.closeWindow();
        }
    });
    recorder_.emplace(trace_);
    session_.emplace(backend);
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
}

int Program::DrawnSince(std::size_t mark) const {
    const std::string since = trace_.str().substr(mark);
    int drawn = 0;
    std::istringstream lines(since);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#') ++drawn;
    }
    return drawn;
}

int Program::Count(const std::string& wanted) const {
    std::istringstream lines(trace_.str());
    int count = 0;
    for (std::string line; std::getline(lines, line);) count += line == wanted ? 1 : 0;
    return count;
}

bool SamePixels(const surface::Canvas& a, const surface::Canvas& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + static_cast<std::size_t>(a.width()) * a.height(),
                      b.data());
}
