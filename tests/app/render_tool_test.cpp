// velmora-render: a run writes what was asked; bad arguments get one line naming them, exit
// status 2, and no file.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pictures as 8-bit RGB, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool operator==(const Picture&) const = default;
};

Picture ReadPng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    Picture picture{static_cast<int>(image.width), static_cast<int>(image.height),
                    std::vector<unsigned char>(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return {};
    return picture;
}

// A GIF as a viewer plays it: each frame drawn over the ones before it.
struct Animation {
    int frames = 0;
    bool loops = false;
    std::vector<int> delays;  // hundredths of a second
    std::vector<int> disposals;
    std::map<int, Picture> shown;  // the wanted frames, as shown
};

Animation ReadGif(const fs::path& path, const std::vector<int>& wanted) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        if (gif != nullptr) DGifCloseFile(gif, &error);
        return {};
    }
    Animation animation;
    animation.frames = gif->ImageCount;
    Picture screen{gif->SWidth, gif->SHeight,
                   std::vector<unsigned char>(std::size_t{3} * gif->SWidth * gif->SHeight)};
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            const ExtensionBlock& next = image.ExtensionBlocks[b + 1];
            animation.loops |= block.Function == APPLICATION_EXT_FUNC_CODE &&
                               std::string(reinterpret_cast<char*>(block.Bytes), block.ByteCount) ==
                                   "NETSCAPE2.0" &&
                               next.ByteCount == 3 && next.Bytes[0] == 1 && next.Bytes[1] == 0 &&
                               next.Bytes[2] == 0;
        }
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        animation.delays.push_back(control.DelayTime);
        animation.disposals.push_back(control.DisposalMode);
        const GifImageDesc& area = image.ImageDesc;
        const ColorMapObject* palette = area.ColorMap != nullptr ? area.ColorMap : gif->SColorMap;
        for (int y = 0; y < area.Height; ++y) {
            for (int x = 0; x < area.Width; ++x) {
                const int index = image.RasterBits[y * area.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType colour = palette->Colors[index];
                unsigned char* pixel =
                    &screen.rgb[3 *
                                ((std::size_t{1} * (area.Top + y)) * screen.width + area.Left + x)];
                pixel[0] = colour.Red;
                pixel[1] = colour.Green;
                pixel[2] = colour.Blue;
            }
        }
        if (std::find(wanted.begin(), wanted.end(), i) != wanted.end()) animation.shown[i] = screen;
    }
    DGifCloseFile(gif, &error);
    return animation;
}

// The picture with each pixel as a zoom x zoom block, in a picture of width x height whose strip
// beyond the blocks is white.
Picture Magnified(const Picture& small, int zoom, int width, int height) {
    Picture large{width, height, std::vector<unsigned char>(std::size_t{3} * width * height, 255)};
    for (int y = 0; y < small.height * zoom; ++y) {
        for (int x = 0; x < small.width * zoom; ++x) {
            std::copy_n(&small.rgb[3 * ((std::size_t{1} * (y / zoom)) * small.width + x / zoom)], 3,
                        &large.rgb[3 * ((std::size_t{1} * y) * width + x)]);
        }
    }
    return large;
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
    // Runs velmora-render with the arguments, each quoted for the shell; `before` runs first in
    // the same shell and `redirect` comes after the redirections of the outputs.
    Result Run(const std::vector<std::string>& arguments, const std::string& before = "",
               const std::string& redirect = "") const {
        std::string command = before + " " + VELMORA_RENDER;
        for (const std::string& argument : arguments) command += " '" + argument + "'";
        command += " >" + (dir / "out").string() + " 2>" + (dir / "err").string() + redirect;
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
    const std::string newline = (dir / "missing\n" / "x.png").string();
    std::vector<std::vector<std::string>> cases = {
        {"--bogus"},         {"picture.png"},        {"--size"},
        {"--size", "0x10"},  {"--size", "10x"},      {"--size", "10x10x"},
        {"--size", "-3x4"},  {"--size", "16385x10"}, {"--size", "8193x8192"},
        {"--clock", "1081"}, {"--clock", "4"},       {"--clock", "-3"},
        {"--clock", "3.0"},  {"--clock", ""},        {"--clock", "3", "--clock", "6"},
        {"--load"},          {"--png", ""},          {"--png", unwritable},
        {"--gif"},           {"--gif", ""},          {"--gif", unwritable},
        {"--gif", dir},      {"--size", "10\nx10"},  {"--png", newline}};
    // The last two leave the program less than its picture needs (800x400, the lab 832x460).
    cases.insert(cases.end(), {{"--zoom", "0"},
                               {"--zoom", "9"},
                               {"--zoom", "2.0"},
                               {"--zoom"},
                               {"--zoom", "3", "--size", "1920x1080"},
                               {"--zoom", "2", "--lab", "--size", "1600x919"}});
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

// A run that fails leaves every file as it was, whatever failed: a bad argument, a write, memory,
// a signal. One that succeeds replaces the files in full, keeping their permissions and the links
// that lead to them (also to a file not there yet), and writes standard output, however named, in
// place. No temporary file is left behind.
TEST_F(RenderTool, FilesAreReplacedOnlyInFull) {
    const std::string old(4000, 'o');  // longer than what replaces it
    const std::string outputs = (dir / "outputs").string();
    const std::string png = Output("kept.png").string(), trace = Output("kept.trace").string();
    const std::string link = Output("link.png").string();
    const std::string fresh = Run({"--clock", "0", "--trace", "-"}).out;
    enum Outcome { kKept, kReplaced, kAppended };  // the trace's; the picture's is replaced or kept
    struct Case {
        const char* what;
        std::string before, redirect;
        std::vector<std::string> arguments;  // each run stops at clock 0 unless they say otherwise
        int status;
        const char* named;  // in the one-line message
        Outcome outcome;
    };
    const std::string nowhere = (dir / "no" / "x").string();
    const std::string otherName = (dir / "outputs/../outputs/kept.png").string();
    const std::string fifo = (dir / "fifo").string();
    // Root writes into a read-only folder unless it gives up that privilege.
    const std::string asUser = geteuid() == 0 ? "setpriv --bounding-set=-dac_override " : "";
    // The picture and the animation of a whole run at a large size: seconds of work.
    const std::vector<std::string> longRun{"--size", "4096x4096", "--clock", "1080",
                                           "--gif",  png,         "--trace", trace};
    std::vector<Case> cases = {
        {"a bad argument", "", "", {"--png", png, "--trace", nowhere}, 2, "--trace", kKept},
        {"standard error closed", "", " 2>&-", {"--png", png, "--trace", nowhere}, 2, {}, kKept},
        {"one file twice", "", "", {"--png", png, "--trace", link}, 2, "--trace", kKept},
        {"one file by two names", "", "", {"--trace", png, "--png", otherName}, 2, "--png", kKept},
        {"standard output twice", "", "", {"--png", "-", "--trace", "-"}, 2, "--trace", kKept},
        {"standard output is the file of another output",
         "",
         " >>" + trace,
         {"--png", "-", "--trace", trace},
         2,
         "--trace",
         kKept},
        {"a link to a file not there yet that another output names",
         "ln -sfn new.png " + link + ";",
         "",
         {"--png", Output("new.png").string(), "--gif", link},
         2,
         "--gif",
         kKept},
        {"a file in a read-only folder",
         "chmod a-w " + outputs + "; " + asUser,
         "; status=$?; chmod u+w " + outputs + "; exit $status",
         {"--png", png},
         2,
         "cannot be created in",
         kKept},
        {"a size limit", "ulimit -f 1;", "", {"--png", png, "--trace", trace}, 1, "--png", kKept},
        {"a full disk", "", "", {"--png", png, "--trace", "/dev/full"}, 1, "--trace", kKept},
        {"a GIF over a size limit", "ulimit -f 1;", "", {"--gif", png}, 1, "--gif", kKept},
        {"standard output closed", "", " >&-", {"--png", png, "--trace", "-"}, 1, "--trace", kKept},
        {"a reader that stops early",
         "mkfifo " + fifo + "; (head -c 1 " + fifo + " >/dev/null &);",
         "",
         {"--clock", "1080", "--png", png, "--trace", fifo},
         1,
         "--trace",
         kKept},
        {"SIGINT", "timeout --preserve-status -s INT 1", "", longRun, 130, {}, kKept},
        {"SIGTERM", "timeout --preserve-status -s TERM 1", "", longRun, 143, {}, kKept},
        {"a run that writes", "", "", {"--png", link, "--trace", trace}, 0, {}, kReplaced},
        {"a dangling link", "ln -sfn ../new.png " + link + ";", "", {"--png", link}, 0, {}, kKept},
        {"a descriptor open for appending",
         "",
         " 5>>" + trace,
         {"--png", png, "--trace", "/dev/fd/5"},
         0,
         {},
         kAppended},
        {"standard output into a pipe",
         "{",
         " >&4; } 4>&1 | cat >" + trace,
         {"--png", png, "--trace", "/dev/stdout"},
         0,
         {},
         kReplaced},
    };
    const std::string huge = "16384x4096";
    const Case outOfMemory[] = {
        {"too little memory for the window",
         "prlimit --as=200000000",
         "",
         {"--size", huge, "--png", png, "--trace", trace},
         1,
         "out of memory",
         kKept},
        {"too little memory for the picture",
         "prlimit --as=400000000",
         "",
         {"--size", huge, "--png", png, "--trace", trace},
         1,
         "out of memory",
         kKept},
        {"too little memory for the animation",
         "prlimit --as=400000000",
         "",
         {"--size", huge, "--gif", png},
         1,
         "out of memory",
         kKept},
    };
    // The sanitizers need more address space than these limits leave.
    if (!kSanitized) cases.insert(cases.end(), std::begin(outOfMemory), std::end(outOfMemory));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : {png, trace}) {
            std::ofstream(file, std::ios::binary) << old;
            fs::permissions(file,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        }
        fs::create_symlink("kept.png", link);
        std::vector<std::string> arguments;
        if (std::find(c.arguments.begin(), c.arguments.end(), "--clock") == c.arguments.end()) {
            arguments = {"--clock", "0"};
        }
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Result result = Run(arguments, c.before, c.redirect);

        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.named != nullptr) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
            EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        }
        const bool replaced = c.outcome != kKept;
        EXPECT_EQ(Slurp(png) == old, !replaced);
        EXPECT_EQ(Slurp(png).substr(0, 4) == "\x89PNG", replaced);
        EXPECT_EQ(Slurp(trace), c.outcome == kKept       ? old
                                : c.outcome == kReplaced ? fresh
                                                         : old + fresh);
        // The link, and the file it leads to.
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(Slurp(link).substr(0, 4) == "\x89PNG", replaced || c.status == 0);
        EXPECT_EQ(fs::status(png).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir / "outputs")) {
            left.push_back(entry.path().filename());
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"kept.png", "kept.trace", "link.png"}));
        // What a failing case left does not fail the next.
        fs::remove_all(dir / "outputs");
        fs::create_directory(dir / "outputs");
    }
}

TEST_F(RenderTool, HelpGoesToStandardOutputAndNamesEveryOption) {
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* option :
         {"--size", "--zoom", "--load", "--clock", "--png", "--gif", "--trace"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

// The animation as a GIF: one frame per tick, frame i the picture at clock 3i, each shown for
// the program's 50 ms, the last one held, then again from the start.
TEST_F(RenderTool, TheGifShowsEachTickAsThePngShowsIt) {
    const std::vector<std::string> run{"--size", "501x333", "--load", "100"};
    struct Case {
        int clock;
        std::vector<int> compared;  // frames compared with --png
    };
    const Case cases[] = {{1080, {0, 1, 120, 240, 359, 360}}, {30, {10}}, {0, {0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clock);
        std::vector<std::string> arguments = run;
        arguments.insert(arguments.end(),
                         {"--clock", std::to_string(c.clock), "--gif", Output("run.gif").string()});
        const Result result = Run(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const Animation gif = ReadGif(Output("run.gif"), c.compared);
        const int frames = c.clock / 3 + 1;
        EXPECT_EQ(gif.frames, frames);
        EXPECT_TRUE(gif.loops);
        std::vector<int> delays(frames, 5);
        delays.back() = 300;
        EXPECT_EQ(gif.delays, delays);
        EXPECT_EQ(gif.disposals, std::vector<int>(frames, DISPOSE_DO_NOT));
        for (const int frame : c.compared) {
            SCOPED_TRACE(frame);
            arguments = run;
            arguments.insert(arguments.end(), {"--clock", std::to_string(3 * frame), "--png",
                                               Output("at.png").string()});
            ASSERT_EQ(Run(arguments).status, 0);
            const Picture png = ReadPng(Output("at.png"));
            ASSERT_EQ(png.width, 501);
            EXPECT_TRUE(gif.shown.at(frame) == png);
        }
    }
}

// A zoomed picture, and each frame of a zoomed animation, is the picture of the client the zoom
// leaves (--size divided, each side truncated) with every pixel repeated, the rest white; the
// trace is the program's, the same as for that client.
TEST_F(RenderTool, AZoomedPictureIsTheSmallerClientsWithEveryPixelRepeated) {
    const struct {
        std::vector<std::string> mode;
        int width, height, zoom;
    } cases[] = {
        {{"--load", "100"}, 1601, 801, 2},
        {{"--load", "100"}, 2400, 1200, 3},
        {{"--lab", "--load", "75+j50"}, 1664, 921, 2},
        {{"--lab", "--load", "short"}, 2498, 1380, 3},
    };
    const auto size = [](int width, int height) {
        return std::to_string(width) + "x" + std::to_string(height);
    };
    for (const auto& c : cases) {
        const std::string zoomed = size(c.width, c.height);
        SCOPED_TRACE(c.mode[0] + " " + zoomed + " zoom " + std::to_string(c.zoom));
        const int clientWidth = c.width / c.zoom, clientHeight = c.height / c.zoom;
        for (const bool gif : {false, true}) {
            SCOPED_TRACE(gif ? "GIF" : "PNG");
            std::map<std::string, Picture> pictures;  // by the client size
            std::map<std::string, std::string> traces;
            for (const std::string& client : {zoomed, size(clientWidth, clientHeight)}) {
                std::vector<std::string> arguments = c.mode;
                arguments.insert(arguments.end(), {"--size", client, "--trace", "-"});
                if (client == zoomed)
                    arguments.insert(arguments.end(), {"--zoom", std::to_string(c.zoom)});
                if (gif) {
                    arguments.insert(arguments.end(),
                                     {"--clock", "6", "--gif", Output("run.gif").string()});
                } else {
                    arguments.insert(arguments.end(), {"--png", Output("end.png").string()});
                }
                const Result result = Run(arguments);
                ASSERT_EQ(result.status, 0) << result.err;
                traces[client] = result.out;
                if (!gif) {
                    pictures[client] = ReadPng(Output("end.png"));
                    continue;
                }
                const Animation animation = ReadGif(Output("run.gif"), {0, 1, 2});
                ASSERT_EQ(animation.frames, 3);
                for (const auto& [frame, shown] : animation.shown) {
                    pictures[client + " frame " + std::to_string(frame)] = shown;
                }
            }
            EXPECT_EQ(traces[zoomed], traces[size(clientWidth, clientHeight)]);
            for (const auto& [name, picture] : pictures) {
                if (!name.starts_with(zoomed)) continue;
                const Picture& small =
                    pictures.at(size(clientWidth, clientHeight) + name.substr(zoomed.size()));
                ASSERT_EQ(small.width, clientWidth) << name;
                EXPECT_TRUE(picture == Magnified(small, c.zoom, c.width, c.height)) << name;
            }
        }
    }
}

}  // namespace
