#include "platform/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/dialog_keys.h"
#include "platform/edit_field.h"
#include "surface/text.h"

namespace {

// What the page reports: a key for the program (and whether Shift was held), a new size, a button
// of a box, a button of a dialog, a dialog key (Enter, Esc, TAB) pressed in a box or dialog, the
// pointer on the canvas and leaving it.
enum PageEvent {
    kNoEvent,
    kKeyDown,
    kResized,
    kBoxAnswered,
    kDialogCommand,
    kDialogKey,
    kMouseMoved,
    kMouseLeft,
};
// A dialog key's code has this added when Shift is held; kNoControl: no control has the focus.
constexpr int kShiftHeld = 0x10000;
constexpr int kNoControl = -0x7fffffff;

// The numbers page.js shares with this file and with the Windows headers, handed to the page
// before anything else: page.js names them (Velmora.IDOK) and writes no number of its own.
struct PageNumber {
    const char* name;
    int value;
};
constexpr PageNumber kPageNumbers[] = {
    {"KEY_DOWN", kKeyDown},
    {"RESIZED", kResized},
    {"BOX_ANSWERED", kBoxAnswered},
    {"DIALOG_COMMAND", kDialogCommand},
    {"DIALOG_KEY", kDialogKey},
    {"MOUSE_MOVED", kMouseMoved},
    {"MOUSE_LEFT", kMouseLeft},
    {"SHIFT_HELD", kShiftHeld},
    {"NO_CONTROL", kNoControl},
    {"PUSH_BUTTON", static_cast<int>(platform::DialogControl::Kind::PushButton)},
    {"DEFAULT_PUSH_BUTTON", static_cast<int>(platform::DialogControl::Kind::DefaultPushButton)},
    {"LABEL", static_cast<int>(platform::DialogControl::Kind::Label)},
    {"EDIT", static_cast<int>(platform::DialogControl::Kind::Edit)},
    {"MB_ICONMASK", MB_ICONMASK},
    {"MB_ICONHAND", MB_ICONHAND},
    {"MB_ICONQUESTION", MB_ICONQUESTION},
    {"MB_ICONEXCLAMATION", MB_ICONEXCLAMATION},
    {"MB_ICONASTERISK", MB_ICONASTERISK},
    {"VK_TAB", VK_TAB},
    {"VK_RETURN", VK_RETURN},
    {"VK_ESCAPE", VK_ESCAPE},
    {"FONT_HEIGHT", surface::kFontHeight},
};

// Each function hands over to the page object of page.js.
// clang-format off
EM_JS(void, velmora_define, (const char* name, int value), {
    Velmora[UTF8ToString(name)] = value;
});
EM_JS(void, velmora_wait, (double timeout), {
    Asyncify.handleSleep(function(wakeUp) { Velmora.wait(timeout, wakeUp); });
});
EM_JS(int, velmora_take_event, (int* fields), { return Velmora.takeEvent(fields); });
EM_JS(void, velmora_show_window, (const char* title, int* size), {
    Velmora.showWindow(UTF8ToString(title), size);
});
EM_JS(void, velmora_present, (const std::uint32_t* pixels, int width, int height, int left, int top,
                              int right, int bottom), {
    Velmora.present(pixels, width, height, left, top, right, bottom);
});
EM_JS(void, velmora_show_texts, (const char* readings, const char* others), {
    Velmora.showTexts(UTF8ToString(readings), UTF8ToString(others));
});
EM_JS(void, velmora_timers_changed, (int anyTimer), { Velmora.timersChanged(anyTimer !== 0); });
EM_JS(void, velmora_open_box, (int id, const char* text, const char* caption, int type), {
    Velmora.openBox(id, UTF8ToString(text), UTF8ToString(caption), type);
});
EM_JS(void, velmora_add_box_button, (int id, const char* text, int button, int isDefault), {
    Velmora.addBoxButton(id, UTF8ToString(text), button, isDefault);
});
EM_JS(void, velmora_show_box, (int id), { Velmora.showBox(id); });
EM_JS(void, velmora_open_dialog, (int id, const char* caption, const char* font, int points,
                                  int width, int height), {
    Velmora.openDialog(id, UTF8ToString(caption), UTF8ToString(font), points, width, height);
});
EM_JS(void, velmora_add_control, (int id, int kind, int control, const char* text, int x, int y,
                                  int width, int height), {
    Velmora.addControl(id, kind, control, UTF8ToString(text), x, y, width, height);
});
EM_JS(void, velmora_show_dialog, (int id), { Velmora.showDialog(id); });
EM_JS(void, velmora_focus, (int id, int control), { Velmora.focus(id, control); });
EM_JS(int, velmora_control_text_size, (int id, int control), {
    return lengthBytesUTF8(Velmora.controlText(id, control)) + 1;
});
EM_JS(void, velmora_control_text, (int id, int control, char* text, int size), {
    stringToUTF8(Velmora.controlText(id, control), text, size);
});
EM_JS(void, velmora_type_text, (int id, int control, const char* text), {
    Velmora.typeText(id, control, UTF8ToString(text));
});
EM_JS(void, velmora_field_selection, (int id, int control, int* ends), {
    Velmora.fieldSelection(id, control, ends);
});
EM_JS(void, velmora_set_field, (int id, int control, const char* text, int anchor, int caret), {
    Velmora.setField(id, control, UTF8ToString(text), anchor, caret);
});
EM_JS(void, velmora_close, (int id), { Velmora.close(id); });
// clang-format on

}  // namespace

namespace platform::web {

class WebBackend::Box : public MessageBoxView {
  public:
    Box(WebBackend& backend, int id, MessageBoxButtons boxButtons)
        : buttons(std::move(boxButtons)), backend_(backend), id_(id) {
        backend_.boxes_[id] = this;
    }
    ~Box() override {
        backend_.boxes_.erase(id_);
        velmora_close(id_);
    }
    int result() const override { return result_; }
    void answer(int button) { result_ = button; }

    const MessageBoxButtons buttons;

  private:
    WebBackend& backend_;
    int id_;
    int result_ = 0;
};

class WebBackend::Dialog : public DialogView {
  public:
    Dialog(WebBackend& backend, int id, HWND dialog, std::vector<DialogControl> laidOut)
        : handle(dialog), controls(std::move(laidOut)), backend_(backend), id_(id) {
        backend_.dialogs_[id] = this;
    }
    ~Dialog() override {
        backend_.dialogs_.erase(id_);
        velmora_close(id_);
    }
    void setFocus(int controlId) override { velmora_focus(id_, controlId); }
    std::string controlText(int controlId) const override {
        std::string text(static_cast<std::size_t>(velmora_control_text_size(id_, controlId)), '\0');
        velmora_control_text(id_, controlId, text.data(), static_cast<int>(text.size()));
        text.resize(text.size() - 1);  // the terminator
        return text;
    }
    void typeText(int controlId, const std::string& text) override {
        velmora_type_text(id_, controlId, text.c_str());
    }
    void pressEditingKey(int controlId, int virtualKey, bool shift) override {
        int ends[2];
        velmora_field_selection(id_, controlId, ends);
        EditField field{controlText(controlId), static_cast<std::size_t>(ends[0]),
                        static_cast<std::size_t>(ends[1])};
        PressEditingKey(field, virtualKey, shift);
        velmora_set_field(id_, controlId, field.text.c_str(), static_cast<int>(field.anchor),
                          static_cast<int>(field.caret));
    }

    const HWND handle;
    const std::vector<DialogControl> controls;

  private:
    WebBackend& backend_;
    int id_;
};

WebBackend::WebBackend() {
    for (const PageNumber& number : kPageNumbers) velmora_define(number.name, number.value);
}

Millis WebBackend::now() { return static_cast<Millis>(std::floor(emscripten_get_now())); }

bool WebBackend::takeEvents() {
    bool any = false;
    int fields[3];
    for (int kind; (kind = velmora_take_event(fields)) != kNoEvent;) {
        any = true;
        switch (kind) {
            case kKeyDown:
                if (window_ != nullptr) KeyDown(window_, fields[0], fields[1] != 0);
                break;
            case kMouseMoved:
                if (window_ != nullptr) MouseMoved(window_, fields[0], fields[1]);
                break;
            case kMouseLeft:
                if (window_ != nullptr) MouseLeft(window_);
                break;
            case kResized:
                if (window_ != nullptr) ClientResized(window_, fields[0], fields[1]);
                break;
            case kBoxAnswered:
                if (const auto box = boxes_.find(fields[0]); box != boxes_.end()) {
                    box->second->answer(fields[1]);
                }
                break;
            case kDialogCommand:
                if (const auto dialog = dialogs_.find(fields[0]); dialog != dialogs_.end()) {
                    DialogCommand(dialog->second->handle, fields[1]);
                }
                break;
            case kDialogKey:
                answerDialogKey(fields[0], fields[1] & ~kShiftHeld, (fields[1] & kShiftHeld) != 0,
                                fields[2] != kNoControl ? std::optional(fields[2]) : std::nullopt);
                break;
        }
    }
    return any;
}

void WebBackend::answerDialogKey(int id, int virtualKey, bool shift, std::optional<int> focused) {
    const auto box = boxes_.find(id);
    const auto dialog = dialogs_.find(id);
    DialogKeyAction action;
    if (box != boxes_.end()) {
        const MessageBoxButtons& buttons = box->second->buttons;
        action = DialogKey(buttons.buttons, focused, buttons.cancelId, virtualKey, shift);
    } else if (dialog != dialogs_.end()) {
        action = DialogKey(dialog->second->controls, focused, IDCANCEL, virtualKey, shift);
    }
    switch (action.kind) {
        case DialogKeyAction::Kind::Command:
            if (box != boxes_.end()) box->second->answer(action.id);
            if (dialog != dialogs_.end()) DialogCommand(dialog->second->handle, action.id);
            break;
        case DialogKeyAction::Kind::Focus:
            velmora_focus(id, action.id);
            break;
        case DialogKeyAction::Kind::Pass:
            break;
    }
}

void WebBackend::waitForEvents(std::optional<Millis> deadline) {
    if (takeEvents()) return;
    // The browser runs its own work (input, painting the canvas) while the program sleeps.
    velmora_wait(deadline ? static_cast<double>(std::max<Millis>(*deadline - now(), 0)) : -1.0);
    takeEvents();
}

void WebBackend::showWindow(HWND window, const std::string& title, const surface::Canvas& canvas) {
    if (window_ != nullptr && window_ != window) return;
    window_ = window;
    canvas_ = &canvas;
    int size[2];
    velmora_show_window(title.c_str(), size);
    velmora_timers_changed(timed_.contains(window) ? 1 : 0);
    ClientResized(window, size[0], size[1]);
}

void WebBackend::hideWindow(HWND) {}

void WebBackend::present(HWND window, const surface::ChangedTiles& changed) {
    if (window != window_) return;
    const int width = canvas_->width();
    const int height = canvas_->height();
    if (width != shownWidth_ || height != shownHeight_) {
        // A new size clears the page's canvas: every tile is changed then.
        shown_.assign(static_cast<std::size_t>(width) * height, 0);
        shownWidth_ = width;
        shownHeight_ = height;
    }
    changed.forEachArea([&](const surface::PixelRect& area) {
        // A COLORREF is the bytes R G B 0 in memory; the page wants them opaque: R G B 255.
        for (int y = area.top; y < area.bottom; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * width;
            const COLORREF* from = canvas_->data() + row;
            std::uint32_t* to = shown_.data() + row;
            for (int x = area.left; x < area.right; ++x) to[x] = from[x] | 0xff000000u;
        }
        velmora_present(shown_.data(), width, height, area.left, area.top, area.right, area.bottom);
    });
}

void WebBackend::showTexts(HWND window, const WindowTexts& texts) {
    if (window != window_) return;
    auto lines = [](const std::vector<std::string>& texts) {
        std::string lines;
        for (const std::string& text : texts) lines.append(text).push_back('\n');
        return lines;
    };
    velmora_show_texts(lines(texts.readings).c_str(), lines(texts.others).c_str());
}

void WebBackend::timersChanged(HWND window, bool anyTimer) {
    if (anyTimer) {
        timed_.insert(window);
    } else {
        timed_.erase(window);
    }
    if (window == window_) velmora_timers_changed(anyTimer ? 1 : 0);
}

void WebBackend::destroyWindow(HWND window) {
    timed_.erase(window);
    if (window != window_) return;
    window_ = nullptr;
    canvas_ = nullptr;
}

std::unique_ptr<MessageBoxView> WebBackend::openMessageBox(HWND, const std::string& text,
                                                           const std::string& caption, UINT type) {
    const int id = ++lastElementId_;
    auto box = std::make_unique<Box>(*this, id, ButtonsOf(type));
    velmora_open_box(id, text.c_str(), caption.c_str(), static_cast<int>(type));
    for (const DialogControl& button : box->buttons.buttons) {
        velmora_add_box_button(id, button.text.c_str(), button.id,
                               button.kind == DialogControl::Kind::DefaultPushButton);
    }
    velmora_show_box(id);
    return box;
}

std::unique_ptr<DialogView> WebBackend::openDialog(HWND dialog, HWND, const DialogLayout& layout) {
    const int id = ++lastElementId_;
    auto view = std::make_unique<Dialog>(*this, id, dialog, layout.controls);
    velmora_open_dialog(id, layout.caption.c_str(), layout.fontName.c_str(), layout.fontPointSize,
                        layout.width, layout.height);
    for (const DialogControl& control : layout.controls) {
        velmora_add_control(id, static_cast<int>(control.kind), control.id, control.text.c_str(),
                            control.x, control.y, control.width, control.height);
    }
    velmora_show_dialog(id);
    return view;
}

}  // namespace platform::web
