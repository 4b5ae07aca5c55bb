// velmora-render: plays the program headless as a user would (the introductory boxes confirmed,
// the load dialog answered, ENTER, then timer ticks) and writes the picture, the animation and
// the trace.
#include <png.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <functional>
#include <iostream>
#include <list>
#include <map>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "app/velmora.h"
#include "editions/render/animated_gif.h"
#include "editions/render/output_file.h"
#include "platform/headless/headless_backend.h"
#include "platform/zoom.h"
#include "surface/canvas.h"
#include "surface/recorder.h"
#include "wave/frame.h"

namespace {

// The largest window the program draws in full: a side of a presentation screen and more, and
// what one picture may cost (256 MiB).
constexpr int kMaxSide = surface::kMaxCanvasSide;
constexpr std::int64_t kMaxPixels = surface::kMaxCanvasPixels;
using wave::kClockEnd;
using wave::kClockStep;
// The program's timer period, in a GIF's hundredths of a second, and how long the last frame
// stays before the animation starts again.
constexpr int kTickDelay = static_cast<int>(kTickPeriod / 10);
constexpr int kLastFrameDelay = 300;

// The files the tool writes, in the order they are opened and written.
const char* const kOutputs[] = {"--png", "--gif", "--trace"};

const char kUsage[] =
    "velmora-render [--lab] [--size WxH] [--zoom N] [--load TEXT] [--clock D] [--png FILE] "
    "[--gif FILE] [--trace FILE] [--help] [--version]";

static_assert(kMaxSide == 16384 && kMaxPixels == 67108864 && kLastFrameDelay == 300 &&
                  platform::kMaxZoom == 8,
              "the help names these figures");
const char kHelp[] =
    R"(Plays Velmora without a display exactly as a user would: both introductory messages
confirmed, the load typed into the start-up dialog, ENTER, then one timer tick every 50 ms,
the animation clock advancing by 3 degrees each tick; and writes what the window shows.

  --lab         play the lab: complex loads (R, R+jX or R-jX, short or open; a text that
                is not a load is a bad argument), Gamma, the Smith chart
  --size WxH    the window's client area in pixels, W and H from 1 to 16384 and at most
                67108864 pixels in all (default 992x666, the program's own window)
  --zoom N      show each of the program's pixels as an N x N block, N from 1 to 8, for
                text and lines that a lecture hall can read: the picture keeps --size and
                the program draws in --size divided by N, which must leave it the room
                its whole picture needs; a strip narrower than N is left white
  --load TEXT   the text typed into the load dialog, read as the dialog reads it; without it
                the dialog is cancelled and the load stays 50 ohms
  --clock D     stop when the animation clock reaches D degrees, a multiple of 3 from 0 to
                1080 (default 1080, the end of the animation)
  --png FILE    write the picture at that moment as a PNG
  --gif FILE    write the animation up to that moment as an animated GIF that loops: one
                frame per timer tick from clock 0 (frame i is the picture at clock 3i, as
                --png writes it), each shown for 50 ms, the last one for 3 s
  --trace FILE  write every drawing call of the run as text, one call per line
  --help        show this help and exit
  --version     show the version and exit

FILE may be - for standard output. A file that is there, or that a symbolic link leads to,
is replaced by a new one only once every new file has been written in full, so a run that
fails or is interrupted before then replaces none; a device, a pipe or an open descriptor
(/dev/stdout, /dev/fd/N) is written as it is.
Exit status: 0 when everything was written, 1 when the run or a write failed (memory ran
out, say), 2 for a bad argument (nothing is written then).

Example: the whole run with a 100-ohm load at presentation size, for a slide:
  velmora-render --size 1920x1080 --load 100 --gif reflection.gif
and twice as large, readable from the back of the room:
  velmora-render --size 1920x1080 --zoom 2 --load 100 --gif reflection.gif
)";

struct Options {
    bool help = false;
    bool version = false;
    const Mode* mode = &kModes.front();
    int width = 992;
    int height = 666;
    int zoom = 1;
    std::optional<std::string> load;
    int clock = kClockEnd;
    std::map<std::string, std::string> outputs;  // path by argument name
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
    if (!width || !height || *width < 1 || *width > kMaxSide || *height < 1 || *height > kMaxSide ||
        std::int64_t{*width} * *height > kMaxPixels) {
        throw BadArgument{"--size: expected WxH with W and H from 1 to " +
                          std::to_string(kMaxSide) + " and at most " + std::to_string(kMaxPixels) +
                          " pixels in all, got " + tools::Quoted(text)};
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

void ParseZoom(const std::string& text, Options& options) {
    const auto zoom = SmallNumber(text);
    if (!zoom || *zoom < 1 || *zoom > platform::kMaxZoom) {
        throw BadArgument{"--zoom: expected a whole number from 1 to " +
                          std::to_string(platform::kMaxZoom) + ", got " + tools::Quoted(text)};
    }
    options.zoom = *zoom;
}

// A zoom is taken only where it leaves the program the client its whole picture needs.
void CheckZoomFits(const Options& options) {
    const platform::ClientSize minimum{options.mode->minimumClientWidth,
                                       options.mode->minimumClientHeight};
    const int fits = platform::ZoomThatFits(options.width, options.height, options.zoom, minimum);
    if (fits == options.zoom) return;
    const platform::ClientSize client =
        platform::ZoomedClient(options.width, options.height, options.zoom);
    const auto size = [](int width, int height) {
        return std::to_string(width) + "x" + std::to_string(height);
    };
    throw BadArgument{
        "--zoom " + std::to_string(options.zoom) + ": the program would draw in " +
        size(client.width, client.height) + " pixels, less than the " +
        size(minimum.width, minimum.height) + " its picture needs; --size " +
        size(options.width, options.height) +
        (fits > 1 ? " takes --zoom " + std::to_string(fits) + " at most" : " takes no zoom")};
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    std::map<std::string, bool> seen;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            options.help = true;
            return options;
        }
        if (name == "--version") {
            options.version = true;
            return options;
        }
        const auto named = std::find_if(kModes.begin() + 1, kModes.end(), [&](const Mode& mode) {
            return name == mode.commandLineSwitch;
        });
        if (named != kModes.end()) {
            if (options.mode != &kModes.front()) throw BadArgument{name + ": given more than once"};
            options.mode = &*named;
            continue;
        }
        const bool isOutput =
            std::find(std::begin(kOutputs), std::end(kOutputs), name) != std::end(kOutputs);
        if (name != "--size" && name != "--zoom" && name != "--load" && name != "--clock" &&
            !isOutput) {
            throw BadArgument{"unknown argument " + tools::Quoted(name) + " (usage: " + kUsage +
                              ")"};
        }
        if (seen[name]) throw BadArgument{name + ": given more than once"};
        seen[name] = true;
        if (i + 1 == argc) throw BadArgument{name + ": missing its value"};
        const std::string value = argv[++i];
        if (name == "--size") {
            ParseSize(value, options);
        } else if (name == "--zoom") {
            ParseZoom(value, options);
        } else if (name == "--load") {
            options.load = value;
        } else if (name == "--clock") {
            ParseClock(value, options);
        } else if (value.empty()) {
            throw BadArgument{name + ": missing its file name"};
        } else {
            options.outputs[name] = value;
        }
    }
    CheckZoomFits(options);
    // A dialog that refuses a text waits for another, which a run without a display cannot give.
    if (options.mode->loadRefusal != nullptr && options.load) {
        const std::string refusal = options.mode->loadRefusal(*options.load);
        if (!refusal.empty()) throw BadArgument{"--load: " + refusal};
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

// Plays the program and shows `look` each picture from clock 0 to the wanted clock, once each.
void Play(const Options& options,
          const std::function<void(const surface::Canvas& picture, int clock)>& look) {
    platform::HeadlessBackend backend;
    backend.setShownClientSize(options.width, options.height);
    backend.setZoom(options.zoom);
    backend.answerMessageBox(IDOK);  // the explanation
    backend.answerMessageBox(IDOK);  // the key help
    if (options.load) {
        backend.answerDialog(*options.load);
    } else {
        backend.cancelDialog();
    }

    bool started = false;
    std::optional<int> lastClock;
    backend.setDriver([&](platform::HeadlessBackend& driver) {
        if (driver.modalOpen()) return;
        if (!started) {
            // Where a canvas of the wanted size does not fit in memory, the window keeps a smaller
            // one.
            const surface::Canvas& shown = *driver.screen();
            if (shown.width() != options.width || shown.height() != options.height) {
                throw std::bad_alloc();
            }
            started = true;
            driver.pressKey(VK_RETURN);
        } else if (clockDeg != lastClock) {
            lastClock = clockDeg;
            look(*driver.screen(), clockDeg);
            if (clockDeg == options.clock) driver.closeWindow();
        }
    });

    platform::Session session(backend, dialogTemplates);
    std::string commandLine = options.mode->commandLineSwitch;
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    if (lastClock != options.clock) {
        throw platform::HeadlessBackend::Stuck("the program ended before the clock did");
    }
}

// A file to write and what goes into it.
struct Output {
    Output(std::string argument, const std::string& path)
        : argument(std::move(argument)), file(path) {}
    std::string argument;
    tools::OutputFile file;
    std::string content;
};

// Each wanted output, opened in the order of kOutputs; two may not share a file.
void OpenOutputs(const Options& options, std::list<Output>& outputs) {
    for (const std::string argument : kOutputs) {
        const auto wanted = options.outputs.find(argument);
        if (wanted == options.outputs.end()) continue;
        const std::string& path = wanted->second;
        try {
            outputs.emplace_back(argument, path);
        } catch (const tools::OutputFile::Unwritable& unwritable) {
            throw BadArgument{argument + ": cannot write " + tools::Quoted(path) + ": " +
                              unwritable.what()};
        }
        for (const Output& earlier : outputs) {
            if (&earlier != &outputs.back() && earlier.file.sameFileAs(outputs.back().file)) {
                throw BadArgument{argument + ": " + tools::Quoted(path) + " is the file " +
                                  earlier.argument + " writes"};
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!tools::EnsureStandardDescriptors()) return 2;
    // Beyond a file-size limit, or to a pipe nobody reads any more, a write fails and is reported,
    // rather than ending the run.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    tools::RemoveTemporaryFilesOnSignals();

    Options options;
    std::list<Output> outputs;
    try {
        options = ParseArguments(argc, argv);
        OpenOutputs(options, outputs);
    } catch (const BadArgument& bad) {
        std::cerr << "velmora-render: " << bad.message << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << "Usage: " << kUsage << "\n\n" << kHelp << std::flush;
        return std::cout ? 0 : 1;
    }
    if (options.version) {
        std::cout << "velmora-render " << VELMORA_VERSION << '\n' << std::flush;
        return std::cout ? 0 : 1;
    }

    try {
        std::ostringstream trace;
        std::optional<surface::Recorder> recorder;
        if (options.outputs.count("--trace")) recorder.emplace(trace);
        std::optional<surface::Canvas> picture;
        std::optional<tools::AnimatedGif> animation;
        if (options.outputs.count("--gif")) animation.emplace(options.width, options.height);
        Play(options, [&](const surface::Canvas& shown, int clock) {
            if (animation) animation->add(shown);
            if (clock == options.clock && options.outputs.count("--png")) picture = shown;
        });
        recorder.reset();
        // A string stream that cannot grow stops taking text, silently.
        if (!trace) throw std::bad_alloc();
        for (Output& output : outputs) {
            if (output.argument == "--png") {
                output.content = EncodePng(*picture);
            } else if (output.argument == "--gif") {
                output.content = animation->encode(kTickDelay, kLastFrameDelay);
            } else {
                output.content = trace.str();
            }
        }
    } catch (const platform::HeadlessBackend::Stuck& stuck) {
        std::cerr << "velmora-render: the program got stuck: " << stuck.what() << '\n';
        return 1;
    } catch (const std::runtime_error& error) {
        std::cerr << "velmora-render: " << error.what() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "velmora-render: out of memory for a window of " << options.width << 'x'
                  << options.height << " pixels\n";
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
