#include "surface/recorder.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "surface/detail/trace.h"

namespace surface {

namespace {

Recorder* activeRecorder = nullptr;

// A JSON string: quotes, backslashes, control characters and bytes outside printable ASCII
// escaped.
void WriteJsonString(std::ostream& out, const char* text, int length) {
    out << '"';
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\b':
                out << "\\b";
                break;
            case '\f':
                out << "\\f";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7f) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out << escaped;
                } else {
                    out << static_cast<char>(c);
                }
        }
    }
    out << '"';
}

}  // namespace

Recorder::Recorder(std::ostream& out) : out_(out), penNumbers_(detail::kPenPoolSize, 0) {
    if (activeRecorder != nullptr) {
        throw std::logic_error("a Recorder is already active; recorders do not nest");
    }
    activeRecorder = this;
}

Recorder::~Recorder() { activeRecorder = nullptr; }

void Recorder::comment(const char* text) { out_ << "# " << (text ? text : "") << '\n'; }

Recorder* Recorder::active() { return activeRecorder; }

namespace detail {

void Trace::call(const char* name, std::initializer_list<long long> args) {
    if (activeRecorder == nullptr) return;
    std::ostream& out = activeRecorder->out_;
    out << name;
    for (long long arg : args) out << ' ' << arg;
    out << '\n';
}

void Trace::textOut(int x, int y, const char* text, int length) {
    if (activeRecorder == nullptr) return;
    std::ostream& out = activeRecorder->out_;
    out << "TextOutA " << x << ' ' << y << ' ';
    WriteJsonString(out, text, text != nullptr && length > 0 ? length : 0);
    out << '\n';
}

void Trace::object(const char* name, HGDIOBJ handle) {
    if (activeRecorder == nullptr) return;
    Recorder& recorder = *activeRecorder;
    recorder.out_ << name << ' ';
    const GdiObject* object = FindObject(handle);
    if (handle == nullptr) {
        recorder.out_ << "NULL";
    } else if (object == nullptr) {
        recorder.out_ << "INVALID";
    } else if (object == &StockBlackPen()) {
        recorder.out_ << "BLACK_PEN";
    } else if (object == &StockWhiteBrush()) {
        recorder.out_ << "WHITE_BRUSH";
    } else {
        int& number = recorder.penNumbers_[static_cast<std::size_t>(PenSlot(object))];
        if (number == 0) number = ++recorder.pensNamed_;
        recorder.out_ << "pen" << number;
    }
    recorder.out_ << '\n';
}

void Trace::createPen(int style, int width, COLORREF colour, const GdiObject* pen) {
    if (activeRecorder == nullptr) return;
    call("CreatePen", {style, width, colour});
    if (pen != nullptr) {
        activeRecorder->penNumbers_[static_cast<std::size_t>(PenSlot(pen))] =
            ++activeRecorder->pensNamed_;
    }
}

}  // namespace detail

}  // namespace surface
