// The trace of drawing calls: while a Recorder is active, every drawing call on any device
// context, and every CreatePen and DeleteObject, writes one line to its stream:
//
//   MoveToEx x y            LineTo x y              SetROP2 mode
//   CreatePen style width colour                    SelectObject NAME
//   DeleteObject NAME       SetPixel x y colour     TextOutA x y "text"
//   SetBkMode mode          SetTextAlign mode       Ellipse l t r b
//   Arc l t r b xs ys xe ye
//
// NAME is BLACK_PEN or WHITE_BRUSH for stock objects and pen1, pen2, ... for pens in the order
// the recorder saw them created. Calls that only read are not written. Lines starting with '#'
// are comments.
#pragma once

#include <ostream>
#include <vector>

namespace surface {

namespace detail {
struct Trace;
}

class Recorder {
  public:
    // Becomes the active recorder until destroyed. Recorders do not nest: a second one while
    // one is active throws std::logic_error.
    explicit Recorder(std::ostream& out);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void comment(const char* text);  // writes "# text"

    static Recorder* active();

  private:
    friend struct detail::Trace;

    std::ostream& out_;
    int pensNamed_ = 0;
    std::vector<int> penNumbers_;  // by pen pool slot; 0 while the slot has no name
};

}  // namespace surface
