// A window whose procedure logs the messages it gets, on a headless session, for testing the
// core's message semantics.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

// The test dialog template (FindDialogResource): OK button, label, edit field kEditId.
constexpr int kTestDialogId = 7;
constexpr int kEditId = 10;

// What the window procedure saw, e.g. "WM_KEYDOWN 65", "WM_PAINT", "WM_TIMER 2".
extern std::vector<std::string> messageLog;
// Called by the procedure for every message before it is logged and handled.
extern std::function<void(HWND, UINT, WPARAM)> onMessage;

class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    ~WindowTest() override;

    // Runs the message loop until WM_QUIT; returns its exit code.
    int RunLoop();
    COLORREF Pixel(int x, int y) const { return backend.screen()->pixel(x, y); }

    platform::HeadlessBackend backend;
    std::optional<platform::Session> session;
    HWND window = nullptr;
};
