// What the application's tests share: a scenario in a process of its own (the program's state
// is program-wide), and the output of a velmora-render run.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

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

// What velmora-render writes on its standard output with these arguments (a shell's words).
inline std::string RenderOutput(const std::string& arguments) {
    const std::string command = std::string(VELMORA_RENDER) + " " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}
