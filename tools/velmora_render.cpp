// velmora-render: plays the program headless as a user would (the introductory boxes confirmed,
// the load dialog answered, ENTER, then timer ticks) and writes the picture and the trace.
//
//   velmora-render [--size WxH] [--load TEXT] [--clock D] [--png FILE] [--trace FILE]
#include <png.h>

#include <csignal>
#include <iostream>
#include <list>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/resources/dialog_template.h"
#include "app/velmora.h"
#include "platform/headless/headless_backend.h"
#include "surface/recorder.h"
#include "tools/output_file.h"

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
                          std::to_string(kMaxSide) + ", got " + tools::Quoted(text)};
    }
    options.width = *width;
    options.height = *height;
}

void ParseClock(const std::string& text, Options& options) {
    const auto clock = SmallNumber(text);
    if (!clock || *clock > kClockEnd || *clock % kClockStep != 0) {
        throw BadArgument{"--clock: expected a multiple of 3 from 0 to 1080, got " +
                          tools::Quoted(text)};
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
            throw BadArgument{"unknown argument " + tools::Quoted(name) +
                              " (usage: velmora-render [--size WxH] [--load TEXT] [--clock D] "
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

// libpng reports errors through a jump; the message becomes ours and libpng prints nothing.
[[noreturn]] void PngError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}
void PngAppend(png_structp png, png_bytep data, std::size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// The canvas as an 8-bit RGB PNG.
std::string EncodePng(const surface::Canvas& canvas) {
    // Made before setjmp: libpng's error jump must not skip a destructor.
    std::string encoded;
    std::string error;
    std::vector<png_byte> row(static_cast<std::size_t>(canvas.width()) * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, PngError, PngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("--png: " + (error.empty() ? "out of memory" : error));
    }
    png_set_write_fn(png, &encoded, PngAppend, nullptr);
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
    return encoded;
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

// A file to write and what goes into it.
struct Output {
    Output(std::string argument, const std::string& path)
        : argument(std::move(argument)), file(path) {}
    std::string argument;
    tools::OutputFile file;
    std::string content;
};

// Each wanted output, opened in the order of the arguments' names; two may not share a file.
void OpenOutputs(const Options& options, std::list<Output>& outputs) {
    const std::pair<const char*, const std::optional<std::string>*> wanted[] = {
        {"--png", &options.png}, {"--trace", &options.trace}};
    for (const auto& [argument, path] : wanted) {
        if (!*path) continue;
        try {
            outputs.emplace_back(argument, **path);
        } catch (const tools::OutputFile::Unwritable& unwritable) {
            throw BadArgument{std::string(argument) + ": cannot write " + tools::Quoted(**path) +
                              ": " + unwritable.what()};
        }
        for (const Output& earlier : outputs) {
            if (&earlier != &outputs.back() && earlier.file.sameFileAs(outputs.back().file)) {
                throw BadArgument{std::string(argument) + ": " + tools::Quoted(**path) +
                                  " is the file " + earlier.argument + " writes"};
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!tools::EnsureStandardDescriptors()) return 2;
    // Beyond a file-size limit a write fails and is reported, rather than ending the run.
    std::signal(SIGXFSZ, SIG_IGN);

    Options options;
    std::list<Output> outputs;
    try {
        options = ParseArguments(argc, argv);
        OpenOutputs(options, outputs);
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
        for (Output& output : outputs) {
            output.content = output.argument == "--png" ? EncodePng(picture) : trace.str();
        }
    } catch (const platform::HeadlessBackend::Stuck& stuck) {
        std::cerr << "velmora-render: the program got stuck: " << stuck.what() << '\n';
        return 1;
    } catch (const std::runtime_error& error) {
        std::cerr << "velmora-render: " << error.what() << '\n';
        return 1;
    }

    // Every file written in full before any replaces what was there.
    for (const bool replacing : {false, true}) {
        for (Output& output : outputs) {
            const std::string failure =
                replacing ? output.file.replace() : output.file.write(output.content);
            if (!failure.empty()) {
                std::cerr << "velmora-render: " << output.argument << ": writing "
                          << (output.file.path() == "-" ? "to standard output"
                                                        : tools::Quoted(output.file.path()))
                          << " failed: " << failure << '\n';
                return 1;
            }
        }
    }
    return 0;
}
