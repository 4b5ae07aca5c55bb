// The recording context: one exact line per drawing call.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/win32.h"
#include "surface/canvas.h"
#include "surface/recorder.h"

namespace {

struct TraceCase {
    const char* name;
    std::function<void(HDC)> calls;
    const char* expected;
};

void PrintTo(const TraceCase& traceCase, std::ostream* out) { *out << traceCase.name; }

class TraceTest : public testing::TestWithParam<TraceCase> {};

TEST_P(TraceTest, WritesOneLinePerCall) {
    const int pensBefore = surface::LivePenCount();
    std::ostringstream out;
    {
        surface::Recorder recorder(out);
        HDC dc = surface::CreateCanvasDC(nullptr);
        ASSERT_NE(dc, nullptr);
        GetParam().calls(dc);
        surface::ReleaseCanvasDC(dc);
    }
    EXPECT_EQ(out.str(), GetParam().expected);
    EXPECT_EQ(surface::LivePenCount(), pensBefore);
}

const TraceCase kTraceCases[] = {
    {"Lines",
     [](HDC dc) {
         MoveToEx(dc, -3, 4, nullptr);
         LineTo(dc, 2147483647, -2147483647 - 1);
         POINT p;
         GetCurrentPositionEx(dc, &p);
     },
     "MoveToEx -3 4\nLineTo 2147483647 -2147483648\n"},
    {"Modes",
     [](HDC dc) {
         SetROP2(dc, R2_NOTXORPEN);
         SetROP2(dc, R2_COPYPEN);
         SetBkMode(dc, TRANSPARENT);
         SetTextAlign(dc, TA_RIGHT);
     },
     "SetROP2 10\nSetROP2 13\nSetBkMode 1\nSetTextAlign 2\n"},
    {"PensNamedInCreationOrder",
     [](HDC dc) {
         HPEN olive = CreatePen(PS_SOLID, 2, RGB(100, 100, 0));
         HGDIOBJ old = SelectObject(dc, olive);
         HPEN red = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
         SelectObject(dc, red);
         DeleteObject(olive);
         SelectObject(dc, old);
         DeleteObject(red);
         HPEN again = CreatePen(PS_SOLID, 1, 0);  // reuses a freed slot, yet is a new pen
         SelectObject(dc, again);
         SelectObject(dc, GetStockObject(BLACK_PEN));
         DeleteObject(again);
     },
     "CreatePen 0 2 25700\nSelectObject pen1\nCreatePen 0 2 200\nSelectObject pen2\n"
     "DeleteObject pen1\nSelectObject BLACK_PEN\nDeleteObject pen2\nCreatePen 0 1 0\n"
     "SelectObject pen3\nSelectObject BLACK_PEN\nDeleteObject pen3\n"},
    {"StockAndInvalidObjects",
     [](HDC dc) {
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         SelectObject(dc, nullptr);
         int notAnObject = 0;
         SelectObject(dc, &notAnObject);
         DeleteObject(&notAnObject);
     },
     "SelectObject WHITE_BRUSH\nSelectObject NULL\nSelectObject INVALID\nDeleteObject INVALID\n"},
    {"PixelsAndShapes",
     [](HDC dc) {
         SetPixel(dc, 5, 6, RGB(255, 0, 0));
         Ellipse(dc, 99, 499, 139, 539);
         Arc(dc, 104, 507, 119, 531, 992, 519, 0, 519);
     },
     "SetPixel 5 6 255\nEllipse 99 499 139 539\nArc 104 507 119 531 992 519 0 519\n"},
    {"TextAsJsonString",
     [](HDC dc) {
         TextOutA(dc, 134, 459, "50 ohms", 7);
         TextOutA(dc, 0, 0, "Ratio = 2.00 and more", 12);
         TextOutA(dc, 1, 2, "say \"hi\" \\ ok", 13);
         TextOutA(dc, 3, 4, "a\tb\nc\x01\x7f\xe9", 8);
         TextOutA(dc, 5, 6, "", 0);
     },
     "TextOutA 134 459 \"50 ohms\"\nTextOutA 0 0 \"Ratio = 2.00\"\n"
     "TextOutA 1 2 \"say \\\"hi\\\" \\\\ ok\"\n"
     "TextOutA 3 4 \"a\\tb\\nc\\u0001\\u007f\\u00e9\"\nTextOutA 5 6 \"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(Calls, TraceTest, testing::ValuesIn(kTraceCases),
                         [](const testing::TestParamInfo<TraceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Recorder, WritesCommentsAndRefusesToNest) {
    std::ostringstream out;
    surface::Recorder recorder(out);
    recorder.comment("WM_PAINT");
    EXPECT_EQ(out.str(), "# WM_PAINT\n");
    EXPECT_THROW(surface::Recorder second(out), std::logic_error);
    EXPECT_EQ(surface::Recorder::active(), &recorder);
}

TEST(Recorder, RecordsCanvasContextsAndNothingWhenInactive) {
    surface::Canvas canvas(8, 8);
    std::ostringstream out;
    HDC dc = surface::CreateCanvasDC(&canvas);
    MoveToEx(dc, 1, 1, nullptr);
    {
        surface::Recorder recorder(out);
        LineTo(dc, 4, 1);
    }
    EXPECT_EQ(surface::Recorder::active(), nullptr);
    LineTo(dc, 4, 4);
    surface::ReleaseCanvasDC(dc);
    EXPECT_EQ(out.str(), "LineTo 4 1\n");
}

TEST(Recorder, NamesAPenCreatedBeforeItStartedWhenFirstSeen) {
    HPEN early = CreatePen(PS_SOLID, 2, 0);
    std::ostringstream out;
    {
        surface::Recorder recorder(out);
        HPEN late = CreatePen(PS_SOLID, 1, 0);
        HDC dc = surface::CreateCanvasDC(nullptr);
        SelectObject(dc, early);
        SelectObject(dc, late);
        surface::ReleaseCanvasDC(dc);
        DeleteObject(late);
    }
    DeleteObject(early);
    EXPECT_EQ(out.str(),
              "CreatePen 0 1 0\nSelectObject pen2\nSelectObject pen1\nDeleteObject pen1\n");
}

}  // namespace
