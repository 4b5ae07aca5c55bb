#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <map>
#include <new>

#include "platform/edit_field.h"
#include "platform/zoom.h"
#include "surface/magnify.h"

namespace platform {

namespace {

// A driver that keeps acting while simulated time stands still has lost its way.
constexpr int kMaxActionsWithoutTime = 10000;

bool BoxHasButton(UINT type, int button) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return button == IDOK;
        case MB_RETRYCANCEL:
            return button == IDRETRY || button == IDCANCEL;
        default:
            return true;
    }
}

}  // namespace

class HeadlessBackend::Box final : public MessageBoxView {
  public:
    explicit Box(HeadlessBackend& backend) : backend_(backend) {}
    ~Box() override { backend_.closeModal(this); }
    int result() const override { return result_; }
    int result_ = 0;

  private:
    HeadlessBackend& backend_;
};

class HeadlessBackend::Dialog final : public DialogView {
  public:
    Dialog(HeadlessBackend& backend, HWND dialog, const DialogLayout& layout)
        : dialog_(dialog), backend_(backend) {
        for (const DialogControl& control : layout.controls) {
            if (control.kind == DialogControl::Kind::Edit) {
                fields_[control.id] = {control.text, control.text.size(), control.text.size()};
                edits_.push_back(control.id);
            } else {
                texts_[control.id] = control.text;
            }
        }
    }
    ~Dialog() override { backend_.closeModal(this); }

    void setFocus(int controlId) override { focus_ = controlId; }
    std::string controlText(int controlId) const override {
        if (const auto field = fields_.find(controlId); field != fields_.end()) {
            return field->second.text;
        }
        const auto found = texts_.find(controlId);
        return found != texts_.end() ? found->second : std::string();
    }

    void typeText(int controlId, const std::string& text) override {
        if (const auto field = fields_.find(controlId); field != fields_.end()) {
            TypeInto(field->second, text);
        }
    }
    void pressEditingKey(int controlId, int virtualKey, bool shift) override {
        if (const auto field = fields_.find(controlId); field != fields_.end()) {
            PressEditingKey(field->second, virtualKey, shift);
        }
    }

    // Keys typed go to the focused control; only an edit field takes them.
    void type(const std::string& typed) {
        if (focus_) typeText(*focus_, typed);
    }

    // One text for each edit field, in the template's order.
    void fill(const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size() && i < edits_.size(); ++i) {
            typeText(edits_[i], fields[i]);
        }
    }

    const HWND dialog_;

  private:
    HeadlessBackend& backend_;
    std::map<int, std::string> texts_;  // of buttons and labels
    std::map<int, EditField> fields_;
    std::optional<int> focus_;
    std::vector<int> edits_;
};

void HeadlessBackend::answerMessageBox(int button, Millis after) {
    script_.push_back({Answer::Kind::Box, button, {}, after, {}});
}

void HeadlessBackend::answerDialog(std::string typed, Millis after) {
    script_.push_back({Answer::Kind::DialogOk, 0, std::move(typed), after, {}});
}

void HeadlessBackend::answerDialogFields(std::vector<std::string> fields, Millis after) {
    script_.push_back({Answer::Kind::DialogOk, 0, {}, after, std::move(fields)});
}

void HeadlessBackend::cancelDialog(Millis after) {
    script_.push_back({Answer::Kind::DialogCancel, 0, {}, after, {}});
}

void HeadlessBackend::pressKey(int virtualKey, bool shift) {
    driverActed_ = true;
    if (window_ != nullptr) KeyDown(window_, virtualKey, shift);
}

void HeadlessBackend::movePointer(int x, int y) {
    driverActed_ = true;
    if (window_ != nullptr) MouseMoved(window_, x, y);
}

void HeadlessBackend::leavePointer() {
    driverActed_ = true;
    if (window_ != nullptr) MouseLeft(window_);
}

void HeadlessBackend::closeWindow() {
    driverActed_ = true;
    if (window_ != nullptr) CloseRequested(window_);
}

void HeadlessBackend::resizeClient(int width, int height) {
    driverActed_ = true;
    if (liveScreen_ != nullptr) showArea(width, height);
}

void HeadlessBackend::setZoom(int zoom) {
    driverActed_ = true;
    zoom_ = std::clamp(zoom, 1, kMaxZoom);
    if (liveScreen_ != nullptr) showArea(area_.first, area_.second);
}

void HeadlessBackend::showArea(int width, int height) {
    area_ = {width, height};
    magnified_.reset();
    ClientResized(window_, width, height, zoom_);
    // The procedure may have destroyed the window on WM_SIZE.
    if (zoom_ == 1 || liveScreen_ == nullptr) return;
    magnified_.emplace(width, height);
    magnify({0, 0, liveScreen_->width(), liveScreen_->height()});
}

void HeadlessBackend::magnify(surface::PixelRect area) {
    // Only what both the canvas and the magnified picture hold (either may have kept less than
    // its size where memory ran short).
    area = area.intersected({0, 0, std::min(liveScreen_->width(), magnified_->width() / zoom_),
                             std::min(liveScreen_->height(), magnified_->height() / zoom_)});
    if (area.empty()) return;
    surface::Magnify(
        *liveScreen_, area, zoom_,
        magnified_->row(area.top * zoom_) + static_cast<std::ptrdiff_t>(area.left) * zoom_,
        static_cast<std::size_t>(magnified_->width()));
}

void HeadlessBackend::uncover(const RECT* area) {
    driverActed_ = true;
    if (window_ != nullptr) InvalidateRect(window_, area, TRUE);
}

void HeadlessBackend::passTime(Millis duration) {
    driverActed_ = true;
    now_ += duration;
}

void HeadlessBackend::keyArrives(int virtualKey) { arrivedKeys_.push_back(virtualKey); }

void HeadlessBackend::readInput() {
    for (; !arrivedKeys_.empty(); arrivedKeys_.pop_front()) {
        if (window_ != nullptr) KeyDown(window_, arrivedKeys_.front());
    }
}

const surface::Canvas* HeadlessBackend::screen() const {
    if (liveScreen_ != nullptr) return magnified_ ? &*magnified_ : liveScreen_;
    return lastScreen_ ? &*lastScreen_ : nullptr;
}

void HeadlessBackend::waitForEvents(std::optional<Millis> deadline) {
    if (!arrivedKeys_.empty()) return readInput();
    Modal* innermost = modals_.empty() ? nullptr : &modals_.back();
    if (innermost != nullptr && innermost->answer && now_ >= innermost->dueAt) {
        give(*innermost);
        return;
    }
    if (driver_) {
        driverActed_ = false;
        driver_(*this);
        if (driverActed_) {
            if (++actionsWithoutTime_ > kMaxActionsWithoutTime) {
                throw Stuck("the driver keeps acting while no simulated time passes");
            }
            return;
        }
    }
    std::optional<Millis> next = deadline;
    if (driverWake_ && *driverWake_ <= now_) driverWake_.reset();
    if (driverWake_) next = std::min(next.value_or(*driverWake_), *driverWake_);
    if (innermost != nullptr) {
        if (!innermost->answer) {
            throw Stuck(innermost->description + " is open and the script has no answer for it");
        }
        next = std::min(next.value_or(innermost->dueAt), innermost->dueAt);
    }
    if (!next) throw Stuck("the program waits for input and the driver gives none");
    if (*next > kTimeLimit) throw Stuck("the program has run for an hour of simulated time");
    if (*next > now_) {
        now_ = *next;
        actionsWithoutTime_ = 0;
    }
}

void HeadlessBackend::showWindow(HWND window, const std::string& /*title*/,
                                 const surface::Canvas& canvas) {
    if (window_ == nullptr) window_ = window;
    if (window != window_) {
        if (shownSize_) ClientResized(window, shownSize_->first, shownSize_->second);
        return;
    }
    liveScreen_ = &canvas;
    if (shownSize_) {
        showArea(shownSize_->first, shownSize_->second);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    area_ = {client.right * zoom_, client.bottom * zoom_};
    if (zoom_ != 1) showArea(area_.first, area_.second);
}

void HeadlessBackend::hideWindow(HWND /*window*/) {}

// Unzoomed, the canvas is the screen: there is nothing to copy.
void HeadlessBackend::present(HWND window, const surface::ChangedTiles& changed) {
    if (window != window_ || !magnified_) return;
    changed.forEachArea([&](const surface::PixelRect& area) { magnify(area); });
}

void HeadlessBackend::showTexts(HWND window, const WindowTexts& texts) {
    if (window == window_) texts_ = texts;
}

std::vector<std::string> HeadlessBackend::texts() const {
    std::vector<std::string> all = texts_.readings;
    all.insert(all.end(), texts_.others.begin(), texts_.others.end());
    return all;
}

void HeadlessBackend::timersChanged(HWND window, bool anyTimer) {
    if (window == window_) timerChanges_.push_back(anyTimer);
}

void HeadlessBackend::destroyWindow(HWND window) {
    if (window != window_ || liveScreen_ == nullptr) return;
    // Kept where memory allows: a window is also destroyed as its session ends, where nothing may
    // throw.
    lastScreen_.reset();
    if (magnified_) {
        lastScreen_ = std::move(magnified_);
        magnified_.reset();
    } else {
        try {
            lastScreen_.emplace(*liveScreen_);
        } catch (const std::bad_alloc&) {
        }
    }
    liveScreen_ = nullptr;
}

std::unique_ptr<MessageBoxView> HeadlessBackend::openMessageBox(HWND owner, const std::string& text,
                                                                const std::string& caption,
                                                                UINT type) {
    boxes_.push_back({owner, text, caption, type, now_});
    const std::string description = "the message box \"" + text + "\"";
    std::optional<Answer> answer = takeAnswer(Answer::Kind::Box, description);
    if (answer && !BoxHasButton(type, answer->button)) {
        throw Stuck("the script answers " + description + " with a button it does not have (" +
                    std::to_string(answer->button) + ")");
    }
    auto box = std::make_unique<Box>(*this);
    modals_.push_back(
        {box.get(), nullptr, description, answer, now_ + (answer ? answer->after : 0)});
    return box;
}

std::unique_ptr<DialogView> HeadlessBackend::openDialog(HWND dialog, HWND owner,
                                                        const DialogLayout& layout) {
    dialogs_.push_back({owner, layout, now_});
    const std::string description = "the dialog \"" + layout.caption + "\"";
    std::optional<Answer> answer = takeAnswer(Answer::Kind::DialogOk, description);
    auto view = std::make_unique<Dialog>(*this, dialog, layout);
    modals_.push_back(
        {nullptr, view.get(), description, answer, now_ + (answer ? answer->after : 0)});
    return view;
}

bool HeadlessBackend::grantTimer() {
    if (timerFailures_ == 0) return true;
    --timerFailures_;
    return false;
}

std::optional<HeadlessBackend::Answer> HeadlessBackend::takeAnswer(Answer::Kind expected,
                                                                   const std::string& description) {
    if (script_.empty()) return std::nullopt;
    const bool wantBox = expected == Answer::Kind::Box;
    const bool isBox = script_.front().kind == Answer::Kind::Box;
    if (wantBox != isBox) {
        throw Stuck(description + " opened, but the script's next answer is for a " +
                    (isBox ? "message box" : "dialog"));
    }
    Answer answer = script_.front();
    script_.pop_front();
    return answer;
}

void HeadlessBackend::give(Modal& modal) {
    const Answer answer = *modal.answer;
    modal.answer.reset();
    if (modal.box != nullptr) {
        modal.box->result_ = answer.button;
    } else if (answer.kind == Answer::Kind::DialogOk) {
        if (answer.fields.empty()) {
            modal.dialog->type(answer.typed);
        } else {
            modal.dialog->fill(answer.fields);
        }
        DialogCommand(modal.dialog->dialog_, IDOK);
    } else {
        DialogCommand(modal.dialog->dialog_, IDCANCEL);
    }
}

void HeadlessBackend::closeModal(const void* view) {
    std::erase_if(modals_,
                  [&](const Modal& modal) { return modal.box == view || modal.dialog == view; });
}

}  // namespace platform
