// The whole program (WinMain, MainWndProc, LoadDlgProc) on the headless backend, played by a
// list of steps as a user would, each run in a process of its own because the program's state
// is program-wide and starts fresh only with a process.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "surface/canvas.h"
#include "surface/recorder.h"

// Runs the scenario in a child process; its failed expectations fail the calling test.
void InFreshProcess(const std::function<void()>& scenario);

// What the user does whenever the program waits for input.
struct Step {
    enum class Kind {
        Act,    // does something the program then handles
        Await,  // lets time pass until the condition holds
        Check,  // looks, and goes straight on to the next step
    };
    Kind kind;
    std::function<bool(platform::HeadlessBackend&)> run;
};

Step Press(int virtualKey);
// The window is uncovered: its whole client area (or part) is to be erased and repainted.
Step Uncover(std::optional<RECT> area = std::nullopt);
Step Await(std::function<bool()> condition);
Step Wait(platform::Millis duration);
Step Check(std::function<void()> check);

class Program {
  public:
    Program();
    // The answers at start-up: both introductory boxes confirmed, the dialog answered (or
    // cancelled without a text).
    void AnswerStartup(std::optional<std::string> load);
    // Runs WinMain with the steps, then closes the window; returns WinMain's result. The
    // session stays open for looking at its state afterwards.
    int Play(std::vector<Step> steps);

    platform::HeadlessBackend backend;

    HWND window() const { return backend.window(); }
    surface::Canvas Screen() const { return *backend.screen(); }
    int Paints() const { return Count("# WM_PAINT"); }
    int Ticks() const { return Count("# WM_TIMER"); }
    int DialogsShown() const { return static_cast<int>(backend.dialogs().size()); }
    // The trace so far; a mark, and the drawing calls made since a mark.
    std::string Trace() const { return trace_.str(); }
    std::size_t Mark() const { return trace_.str().size(); }
    int DrawnSince(std::size_t mark) const;

  private:
    int Count(const std::string& line) const;

    std::ostringstream trace_;
    std::optional<surface::Recorder> recorder_;
    std::optional<platform::Session> session_;
};

bool SamePixels(const surface::Canvas& a, const surface::Canvas& b);
