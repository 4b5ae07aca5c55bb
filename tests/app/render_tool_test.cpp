// velmora-render: a run writes what was asked; bad arguments get one line naming them, exit
// status 2, and no file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RenderTool : public ::testing::Test {
  protected:
    RenderTool() { fs::create_directories(dir / "outputs"); }
    ~RenderTool() override { fs::remove_all(dir); }

    fs::path Output(const char* name) const { return dir / "outputs" / name; }

    struct Result {
        int status;
        std::string out, err;
    };
    // Runs velmora-render with the arguments, each quoted for the shell.
    Result Run(const std::vector<std::string>& arguments) const {
        std::string command = VELMORA_RENDER;
        for (const std::string& argument : arguments) command += " '" + argument + "'";
        command += " >" + (dir / "out").string() + " 2>" + (dir / "err").string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir / "out"),
                Slurp(dir / "err")};
    }

    const fs::path dir = fs::temp_directory_path() / ("velmora-render-" + std::to_string(getpid()));
};

TEST_F(RenderTool, WritesThePictureAndTheTraceOfTheWholeRun) {
    const Result result = Run({"--size", "300x200", "--load", "100", "--clock", "6", "--png",
                               Output("x.png").string(), "--trace", "-"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    auto count = [&](const std::string& line) {
        std::istringstream lines(result.out);
        int found = 0;
        for (std::string l; std::getline(lines, l);) found += l == line;
        return found;
    };
    EXPECT_EQ(count("# WM_PAINT"), 2);
    EXPECT_EQ(count("# WM_TIMER"), 2);
    EXPECT_EQ(count("TextOutA 245 80 \"100.0 ohms\""), 1) << "the load caption for 300 x 200";
    const std::string png = Slurp(Output("x.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x2c\0\0\0\xc8", 8)) << "300 x 200";
}

TEST_F(RenderTool, BadArgumentsGetOneLineNamingThemAndNothingIsWritten) {
    const std::string unwritable = (dir / "missing" / "x.png").string();
    const std::vector<std::string> cases[] = {
        {"--bogus"},          {"picture.png"},
        {"--size"},           {"--size", "0x10"},
        {"--size", "10x"},    {"--size", "10x10x"},
        {"--size", "-3x4"},   {"--size", "5000x10"},
        {"--clock", "1081"},  {"--clock", "4"},
        {"--clock", "-3"},    {"--clock", "3.0"},
        {"--clock", ""},      {"--clock", "3", "--clock", "6"},
        {"--load"},           {"--png", ""},
        {"--png", unwritable}};
    for (const std::vector<std::string>& arguments : cases) {
        const std::string& named = arguments[0];  // the first argument is the one at fault
        SCOPED_TRACE(named);
        std::vector<std::string> all{"--trace", Output("x.trace").string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const Result result = Run(all);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.back(), '\n');
        EXPECT_NE(result.err.find(named), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(dir / "outputs"));
    }
}

// A path may name a file the user keeps, or a device: a run that writes nothing must neither
// empty nor remove it, and one that writes must replace all of its old content.
TEST_F(RenderTool, AFileThatWasThereIsKeptUnlessTheRunReplacesIt) {
    const std::string old(4000, 'o');  // longer than the trace that replaces it
    std::ofstream(Output("kept.png"), std::ios::binary) << old;
    const Result failed = Run(
        {"--png", Output("kept.png").string(), "--trace", (dir / "missing" / "x.trace").string()});
    EXPECT_EQ(failed.status, 2) << failed.err;
    EXPECT_TRUE(Slurp(Output("kept.png")) == old) << "emptied or removed";

    std::ofstream(Output("kept.trace"), std::ios::binary) << old;
    const Result written = Run({"--clock", "0", "--trace", Output("kept.trace").string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(Slurp(Output("kept.trace")), Run({"--clock", "0", "--trace", "-"}).out);
}

}  // namespace
