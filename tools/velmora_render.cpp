// velmora-render: plays the program headless as a user would (the introductory boxes confirmed,
// the load dialog answered, ENTER, then timer ticks) and writes the picture and the trace.
//
//   velmora-render [--size WxH] [--load TEXT] [--clock D] [--png FILE] [--trace FILE]
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/resources/dialog_template.h"
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

// Opened before the run, so that a path that cannot be written stops everything at once. A file
// that was there before keeps its content until the new one is ready to replace it; a file this
// run created is removed again if the run does not finish. Nothing else is ever removed: the path
// may name a device or another program's file.
class OutputFile {
  public:
    OutputFile(const std::string& argument, const std::string& path) : path_(path) {
        int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        created_ = descriptor >= 0;
        if (!created_ && errno == EEXIST) descriptor = open(path.c_str(), O_WRONLY);
        file_ = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
        if (file_ == nullptr) {
            const int error = errno;
            if (descriptor >= 0) close(descriptor);
            if (created_) std::remove(path_.c_str());
            throw BadArgument{argument + ": cannot write '" + path + "': " + std::strerror(error)};
        }
    }
    ~OutputFile() {
        if (file_ != nullptr) std::fclose(file_);
        if (created_ && !kept_) std::remove(path_.c_str());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The file to write into, emptied first if it is a regular file that held something before;
    // null if it cannot be emptied.
    std::FILE* start() {
        struct stat status {};
        if (fstat(fileno(file_), &status) == 0 && S_ISREG(status.st_mode) &&
            ftruncate(fileno(file_), 0) != 0) {
            return nullptr;
        }
        return file_;
    }
    // Closes the file and keeps it; false if writing it failed.
    bool keep() {
        const bool written = std::ferror(file_) == 0 && std::fclose(file_) == 0;
        file_ = nullptr;
        kept_ = written;
        return written;
    }

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
    bool kept_ = false;
};

// Writes the canvas as an 8-bit RGB PNG.
bool WritePng(std::FILE* file, const surface::Canvas& canvas) {
    if (file == nullptr) return false;
    // Made before setjmp: libpng's error jump must not skip a destructor.
    std::vector<png_byte> row(static_cast<std::size_t>(canvas.width()) * 3);
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

    platform::Session session(backend, dialogTemplates);
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

        if (png && !(WritePng(png->start(), picture) && png->keep())) {
            std::cerr << "velmora-render: --png: writing '" << *options.png << "' failed\n";
            return 1;
        }
        if (traceFile) {
            const std::string text = trace.str();
            std::FILE* file = traceFile->start();
            if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
                !traceFile->keep()) {
                std::cerr << "velmora-render: --trace: writing '" << *options.trace << "' failed\n";
                return 1;
            }
        } else if (options.trace && !(std::cout << trace.str() << std::flush)) {
            std::cerr << "velmora-render: --trace: writing to standard output failed\n";
            return 1;
        }
    } catch (const platform::HeadlessBackend::Stuck& stuck) {
        std::cerr << "velmora-render: the program got stuck: " << stuck.what() << '\n';
        return 1;
    }
    return 0;
}
