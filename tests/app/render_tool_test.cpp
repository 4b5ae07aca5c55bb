// velmora-render: a run writes what was asked; bad arguments get one line naming them, exit
// status 2, and no file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RenderTool : public ::testing::Test {
  protected:
    RenderTool()
        : dir_(fs::temp_directory_path() / ("velmora-render-test-" + std::to_string(getpid()))) {
        fs::create_directories(dir_ / "outputs");
    }
    ~RenderTool() override { fs::remove_all(dir_); }

    fs::path Output(const char* name) const { return dir_ / "outputs" / name; }

    Result Run(const std::vector<std::string>& arguments) const {
        const fs::path out = dir_ / "stdout";
        const fs::path err = dir_ / "stderr";
        const pid_t child = fork();
        if (child == 0) {
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            std::vector<char*> argv{const_cast<char*>(VELMORA_RENDER)};
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            execv(VELMORA_RENDER, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    }

    fs::path dir_;
};

int CountLines(const std::string& text, const std::string& wanted) {
    int count = 0;
    for (std::size_t at = 0; (at = text.find(wanted + "\n", at)) != std::string::npos; ++at) {
        count += at == 0 || text[at - 1] == '\n' ? 1 : 0;
    }
    return count;
}

TEST_F(RenderTool, WritesThePictureAndTheTraceOfTheWholeRun) {
    const Result result = Run({"--size", "300x200", "--load", "100", "--clock", "6", "--png",
                               Output("x.png").string(), "--trace", "-"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(CountLines(result.out, "# WM_PAINT"), 2);
    EXPECT_EQ(CountLines(result.out, "# WM_TIMER"), 2);
    EXPECT_NE(result.out.find("TextOutA 245 80 \"100.0 ohms\""), std::string::npos)
        << "the load caption for 300 x 200";

    const std::string png = Slurp(Output("x.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x2c\0\0\0\xc8", 8)) << "300 x 200";
}

TEST_F(RenderTool, BadArgumentsGetOneLineNamingThemAndNothingIsWritten) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;
    };
    const std::string unwritable = (dir_ / "missing" / "x.png").string();
    const Case cases[] = {
        {{"--bogus"}, "--bogus"},         {{"picture.png"}, "picture.png"},
        {{"--size"}, "--size"},           {{"--size", "0x10"}, "--size"},
        {{"--size", "10x"}, "--size"},    {{"--size", "10x10x"}, "--size"},
        {{"--size", "-3x4"}, "--size"},   {{"--size", "5000x10"}, "--size"},
        {{"--clock", "1081"}, "--clock"}, {{"--clock", "4"}, "--clock"},
        {{"--clock", "-3"}, "--clock"},   {{"--clock", "3.0"}, "--clock"},
        {{"--clock", ""}, "--clock"},     {{"--clock", "3", "--clock", "6"}, "--clock"},
        {{"--load"}, "--load"},           {{"--png", ""}, "--png"},
        {{"--png", unwritable}, "--png"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"--trace", Output("x.trace").string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(c.named);
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.back(), '\n');
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(dir_ / "outputs"));
    }
}

// A path may name a file the user keeps, or a device: a run that writes nothing must neither
// empty nor remove it, and one that writes must replace all of its old content.
TEST_F(RenderTool, AFileThatWasThereIsKeptUnlessTheRunReplacesIt) {
    const std::string old(4000, 'o');  // longer than the trace that replaces it
    std::ofstream(Output("kept.png"), std::ios::binary) << old;
    const Result failed = Run(
        {"--png", Output("kept.png").string(), "--trace", (dir_ / "missing" / "x.trace").string()});
    EXPECT_EQ(failed.status, 2) << failed.err;
    EXPECT_TRUE(Slurp(Output("kept.png")) == old) << "emptied or removed";

    std::ofstream(Output("kept.trace"), std::ios::binary) << old;
    const Result written = Run({"--clock", "0", "--trace", Output("kept.trace").string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(Slurp(Output("kept.trace")), Run({"--clock", "0", "--trace", "-"}).out);
}

}  // namespace
