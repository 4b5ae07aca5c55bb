// Starts a program on the X display and watches it from the X server, to measure its start-up to
// the millisecond: the time from the start to the map of its main window (the first top-level
// window of the given size) and to its first picture (the first time that window holds a pixel
// other than white). The program keeps running; its output goes to standard error.
//
// Usage: velmora_window_start WIDTHxHEIGHT PROGRAM [ARGUMENT...]
// Prints "pid N", then "window_ms T" and "picture_ms T", one a line.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kSecondsToWait = 60;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool HasSize(Display* display, Window window, int width, int height) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.width == width &&
           attributes.height == height;
}

bool ShowsPicture(Display* display, Window window, int width, int height) {
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool drawn = false;
    for (int y = 0; y < height && !drawn; ++y) {
        for (int x = 0; x < width && !drawn; ++x) {
            drawn = (XGetPixel(image, x, y) & 0xffffff) != 0xffffff;
        }
    }
    XDestroyImage(image);
    return drawn;
}

}  // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    char rest = 0;
    if (argc < 3 || std::sscanf(argv[1], "%dx%d%c", &width, &height, &rest) != 2) {
        std::fprintf(stderr, "usage: velmora_window_start WIDTHxHEIGHT PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    int damageEvent = 0;
    int damageError = 0;
    if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "velmora_window_start: no display with the DAMAGE extension\n");
        return 1;
    }
    // Listening before the program starts, so that no map of its windows is missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t program = fork();
    if (program == 0) {
        close(ConnectionNumber(display));
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    std::printf("pid %d\n", static_cast<int>(program));
    std::fflush(stdout);
    alarm(kSecondsToWait);  // a program that never shows its picture ends the measurement

    Window mainWindow = 0;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (mainWindow == 0 && event.type == MapNotify &&
            HasSize(display, event.xmap.window, width, height)) {
            mainWindow = event.xmap.window;
            std::printf("window_ms %.1f\n", MillisecondsSince(start));
            XDamageCreate(display, mainWindow, XDamageReportNonEmpty);
            // Drawing done before the damage report existed is seen here.
            if (ShowsPicture(display, mainWindow, width, height)) break;
        } else if (mainWindow != 0 && event.type == damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            XDamageSubtract(display, damage.damage, None, None);
            if (ShowsPicture(display, mainWindow, width, height)) break;
        }
    }
    std::printf("picture_ms %.1f\n", MillisecondsSince(start));
    XCloseDisplay(display);
    return 0;
}
