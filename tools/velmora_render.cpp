// velmora-render: plays the program headless as a user would (the introductory boxes confirmed,
// the load dialog answered, ENTER, then timer ticks) and writes the picture and the trace.
//
//   velmora-render [--size WxH] [--load TEXT] [--clock D] [--png FILE] [--trace FILE]
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/velmora.h"
#include "platform/headless/headless_backend.h"
#include "surface/recorder.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kClockEnd = 1080;
constexpr int kClockStep = 3;

struct Options {
    int width = 992;
    int height = 666;
    std::optional<std::string> load;
    int clock = kClockEnd;
    std::optional<std::string> png;
    std::optional<std::string> trace;
};

struct BadArgument {
    std::string message;
};

// A decimal number of at most five digits, no sign.
std::optional<int> SmallNumber(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

void ParseSize(const std::string& text, Options& options) {
    const std::size_t x = text.find('x');
    const auto width = SmallNumber(text.substr(0, x));
    const auto height = x == std::string::npos ? std::nullopt : SmallNumber(text.substr(x + 1));
    if (!width || !height || *width < 1 || *width > kMaxSide || *height < 1 || *height > kMaxSide) {
        throw BadArgument{"--size: expected WxH with W and H from 1 to " +
                          std::to_string(kMaxSide) + ", got '" + text + "'"};
    }
    options.width = *width;
    options.height = *height;
}

void ParseClock(const std::string& text, Options& options) {
    const auto clock = SmallNumber(text);
    if (!clock || *clock > kClockEnd || *clock % kClockStep != 0) {
        throw BadArgument{"--clock: expected a multiple of 3 from 0 to 1080, got '" + text + "'"};
    }
    options.clock = *clock;
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    std::map<std::string, bool> seen;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name != "--size" && name != "--load" && name != "--clock" && name != "--png" &&
            name != "--trace") {
            throw BadArgument{"unknown argument '" + name +
                              "' (usage: velmora-render [--size WxH] [--load TEXT] [--clock D] "
                              "[--png FILE] [--trace FILE])"};
        }
        if (seen[name]) throw BadArgument{name + ": given more than once"};
        seen[name] = true;
        if (i + 1 == argc) throw BadArgument{name + ": missing its value"};
        const std::string value = argv[++i];
        if (name == "--size") {
            ParseSize(value, options);
        } else if (name == "--load") {
            options.load = value;
        } else if (name == "--clock") {
            ParseClock(value, options);
        } else if (value.empty()) {
            throw BadArgument{name + ": missing its file name"};
        } else if (name == "--png") {
            options.png = value;
        } else {
            options.trace = value;
        }
    }
    return options;
}

// Opened before the run, so that a path that cannot be written stops everything at once; removed
// again if the run does not finish.
class OutputFile {
  public:
    OutputFile(const std::string& argument, const std::string& path)
        : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) {
            throw BadArgument{argument + ": cannot write '" + path + "': " + std::strerror(errno)};
        }
    }
    ~OutputFile() {
        if (file_ != nullptr) std::fclose(file_);
        if (!kept_) std::remove(path_.c_str());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* get() const { return file_; }
    // Closes the file and keeps it; false if writing it failed.
    bool keep() {
        const bool written = std::ferror(file_) == 0 && std::fclose(file_) == 0;
        file_ = nullptr;
        kept_ = written;
        return written;
    }

  private:
    std::string path_;
    std::FILE* file_;
    bool kept_ = false;
};

// Writes the canvas as an 8-bit RGB PNG.
bool WritePng(std::FILE* file, const surface::Canvas& canvas) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width()),
                 static_cast<png_uint_32>(canvas.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(canvas.width()) * 3);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const COLORREF pixel = canvas.pixel(x, y);  // 0x00BBGGRR
            row[3 * x] = static_cast<png_byte>(pixel & 0xff);
            row[3 * x + 1] = static_cast<png_byte>((pixel >> 8) & 0xff);
            row[3 * x + 2] = static_cast<png_byte>((pixel >> 16) & 0xff);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Plays the program and returns the picture when clockDeg reached the wanted value.
surface::Canvas Play(const Options& options) {
    platform::HeadlessBackend backend;
    backend.setShownClientSize(options.width, options.height);
    backend.answerMessageBox(IDOK);  // the explanation
    backend.answerMessageBox(IDOK);  // the key help
    if (options.load) {
        backend.answerDialog(*options.load);
    } else {
        backend.cancelDialog();
    }

    bool started = false;
    std::optional<surface::Canvas> picture;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        if (driver.modalOpen()) return;
        if (!started) {
            started = true;
            driver.pressKey(VK_RETURN);
        } else if (clockDeg == options.clock && !picture) {
            picture = *driver.screen();
            driver.closeWindow();
        }
    });

    platform::Session session(backend);
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    if (!picture) throw platform::HeadlessBackend::Stuck("the program ended before the clock did");
    return *picture;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::optional<OutputFile> png;
    std::optional<OutputFile> traceFile;
    try {
        options = ParseArguments(argc, argv);
        if (options.png) png.emplace("--png", *options.png);
        if (options.trace && *options.trace != "-") traceFile.emplace("--trace", *options.trace);
    } catch (const BadArgument& bad) {
        std::cerr << "velmora-render: " << bad.message << '\n';
        return 2;
    }

    try {
        std::ostringstream trace;
        std::optional<surface::Recorder> recorder;
        if (options.trace) recorder.emplace(trace);
        const surface::Canvas picture = Play(options);
        recorder.reset();

        if (png && !(WritePng(png->get(), picture) && png->keep())) {
            std::cerr << "velmora-render: --png: writing '" << *options.png << "' failed\n";
            return 1;
        }
        if (traceFile) {
            const std::string text = trace.str();
            if (std::fwrite(text.data(), 1, text.size(), traceFile->get()) != text.size() ||
                !traceFile->keep()) {
                std::cerr << "velmora-render: --trace: writing '" << *options.trace << "' failed\n";
                return 1;
            }
        } else if (options.trace) {
            std::cout << trace.str() << std::flush;
        }
    } catch (const platform::HeadlessBackend::Stuck& stuck) {
        std::cerr << "velmora-render: the program got stuck: " << stuck.what() << '\n';
        return 1;
    }
    return 0;
}
