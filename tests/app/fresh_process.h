// The program's state is program-wide: a scenario that plays it runs in a process of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

// Runs the scenario in a child process; its failed expectations fail the calling test.
inline void InFreshProcess(const std::function<void()>& scenario) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {  // an exception ends the child, with its message, as a failure
        scenario();
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the scenario failed in its own process (its failures are printed above)";
}
