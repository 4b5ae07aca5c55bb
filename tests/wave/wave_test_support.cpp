#include "wave_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "circuit/painted_once.h"
#include "surface/recorder.h"
#include "wave/frame_values.h"

Trace Record(const std::function<void(HDC)>& draw, surface::Canvas* canvas) {
    std::ostringstream out;
    {
        surface::Recorder recorder(out);
        HDC dc = surface::CreateCanvasDC(canvas);
        draw(dc);
        surface::ReleaseCanvasDC(dc);
    }
    Trace lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void ResetRun() {
    std::fill(std::begin(wave::stations), std::end(wave::stations), POINT{0, 0});
    circuit::paintedOnce = 0;
}

bool ParseDot(const std::string& line, POINT& at) {
    int x, y;
    unsigned colour;
    if (std::sscanf(line.c_str(), "SetPixel %d %d %u", &x, &y, &colour) != 3) return false;
    at = {x, y};
    return true;
}

namespace {

template <typename... Args>
std::string Line(const char* format, Args... args) {
    char text[96];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

// Written step by step from the description of the frame, in its words: front, capture (with
// the readout), front arrow, incident phasors, reflected pen, arrow and phasors, ratio and dots.
Trace ReferenceFrames::Frame(int w, int h, int d, double R) {
    Trace t;
    int reflSign = R < 50 ? -1 : 1;
    if (R == 50) reflSign = 0;
    const double m = R * 0.02;
    const int loadAboveLine = m > 1;
    const double swr = m >= 1 ? m : 1 / m;
    const double G = (swr - 1) / (swr + 1);
    const int x0 = w / 10 + 20, y0 = (3 * h) / 4 - 71, x1 = (3 * w) / 4, y1 = h / 4;
    const int v = x1 - x0, u = y1 - y0;

    if (d < 1080) t.push_back("SetROP2 10");
    t.push_back("CreatePen 0 2 25700");
    t.push_back("SelectObject pen1");
    const POINT front = d <= 360
                            ? POINT{x0 + (v * d) / 360, y0 + (u * d) / 360}
                            : POINT{x0 + v - (v * (d - 360)) / 360, y0 + u - (u * (d - 360)) / 360};
    t.push_back(Line("MoveToEx %d %d", front.x, front.y));
    if (d >= 0 && d <= 720 && d % 45 == 0) {
        const int k = d / 45;
        stations_[k] = front;
        if (k >= 9 && k <= 15) {
            const int n = k - 8;
            if (n == 2 || n == 6) t.push_back("SetBkMode 1");
            t.push_back(Line("TextOutA %d %d \"Z %d\"", front.x - 10, front.y + 10, n));
            const double P = std::pow(G, 2.0), D = P + 1;
            const double re = ((1 - P) * 50) / D, im = ((G + G) * 50) / D;
            const int y = h / 2 + 20 * (n - 1);
            char sign = ((n == 1 || n == 5) == (R >= 50)) ? '-' : '+';
            if (n == 2 || n == 6) {
                t.push_back(Line("TextOutA %d %d \"Z%d = %.1f + j0 ohms\"", x1, y, n, 2500 / R));
            } else if (n == 4) {
                t.push_back(Line("TextOutA %d %d \"Z4 = %.1f + j0 ohms\"", x1, y, R));
            } else {
                t.push_back(
                    Line("TextOutA %d %d \"Z%d = %.1f %c j%.1f ohms\"", x1, y, n, re, sign, im));
            }
        }
    }
    POINT frontPt = front;
    if (d <= 360) {
        frontPt.y -= 50;
        t.push_back(Line("LineTo %d %d", frontPt.x, frontPt.y));
        t.push_back(Line("LineTo %d %d", frontPt.x + 5, frontPt.y + 5));
        t.push_back(Line("MoveToEx %d %d", frontPt.x, frontPt.y));
        t.push_back(Line("LineTo %d %d", frontPt.x - 5, frontPt.y + 5));
    }
    auto phasor = [&](POINT o, double a, double s, int sigma) {
        const int tx = o.x + sigma * static_cast<int>(std::cos(a) * s * 50);
        const int ty = o.y - sigma * static_cast<int>(std::sin(a) * s * 50);
        auto barb = [&](double b) {
            return Line("LineTo %d %d", tx + sigma * static_cast<int>(7 * std::cos(b)),
                        ty - sigma * static_cast<int>(7 * std::sin(b)));
        };
        t.insert(t.end(), {Line("MoveToEx %d %d", o.x, o.y), Line("LineTo %d %d", tx, ty),
                           barb(a + 2.356), Line("MoveToEx %d %d", tx, ty), barb(a - 2.356)});
    };
    const double dD = d * wave::DEG_TO_RAD;
    const double incident[9] = {1.570795 + dD,  0.7853975 + dD, dD,
                                dD - 0.7853975, dD - 1.570795,  dD - 2.3561925,
                                dD - 3.14159,   dD + 2.3561925, 1.570795 + dD};
    for (int k = 0; k <= 8; ++k) {
        if (d >= (k == 0 ? 3 : 45 * k)) phasor(stations_[k], incident[k], 1, 1);
    }
    if (d >= 360) {
        t.insert(t.end(), {"CreatePen 0 2 200", "SelectObject pen2", "DeleteObject pen1"});
        if (d < 720) {
            const int L = static_cast<int>(static_cast<double>(reflSign * 50) * G);
            const POINT T{frontPt.x, frontPt.y - L};
            t.push_back(Line("MoveToEx %d %d", frontPt.x, frontPt.y));
            t.push_back(Line("LineTo %d %d", T.x, T.y));
            t.push_back(Line("MoveToEx %d %d", T.x, T.y));
            t.push_back(Line("LineTo %d %d", T.x + 5 * reflSign, T.y + 5 * reflSign));
            t.push_back(Line("MoveToEx %d %d", T.x, T.y));
            t.push_back(Line("LineTo %d %d", T.x - 5 * reflSign, T.y + 5 * reflSign));
            frontPt = T;
        }
        const double reflected[9] = {1.570795 + dD,  0.7853975 + dD, dD,
                                     dD - 0.7853975, dD - 1.570795,  dD - 2.3561925,
                                     dD - 3.14159,   dD - 3.9269875, 1.570795 + dD};
        for (int k = 8; k <= 16; ++k) {
            if (d >= 45 * k) phasor(stations_[k], reflected[k - 8], G, reflSign);
        }
    }
    t.push_back("SetROP2 13");
    if (d >= 360 && d < 721) {
        t.push_back(Line("TextOutA %d %d \"Standing Wave\"", x1 + 20, y1 - 50));
        t.push_back(Line("TextOutA %d %d \"Ratio = %.2f\"", x1 + 20, y1 - 30, swr));
        const double phi = (360 - 2 * d) * wave::DEG_TO_RAD + 3.14159 * loadAboveLine;
        const int E =
            static_cast<int>(50 * std::sqrt((std::pow(G, 2.0) + 1) - 2 * G * std::cos(phi)) + 0.5);
        for (int dx : {0, -1, -2}) {
            for (int dy : {0, -1}) {
                t.push_back(Line("SetPixel %d %d 255", frontPt.x + dx, front.y - E + dy));
            }
        }
    }
    t.push_back("SelectObject BLACK_PEN");
    t.push_back(d >= 360 ? "DeleteObject pen2" : "DeleteObject pen1");
    return t;
}
