// velmora-render's trace, for the tests that look at what a whole run draws.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// The trace of velmora-render with the arguments (a shell's words) and --trace -; a run that
// fails fails the calling test.
inline std::string RenderTrace(const std::string& arguments) {
    const std::string command = std::string(VELMORA_RENDER) + " " + arguments + " --trace -";
    FILE* pipe = popen(command.c_str(), "r");
    std::string trace;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        trace.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return trace;
}
