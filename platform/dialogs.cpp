// Message boxes and modal dialogs built from the program's templates.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/core.h"
#include "platform/edit_field.h"

using platform::core::Current;
using platform::core::Live;
using platform::core::Window;

namespace {

// Keeps the owner from taking input while a box or dialog it owns is open.
class OwnerDisabled {
  public:
    explicit OwnerDisabled(HWND owner) {
        if (Window* window = Live(owner)) {
            ++window->disabledBy;
            owner_ = owner;
        }
    }
    // The owner may have been destroyed meanwhile, and freed.
    ~OwnerDisabled() {
        if (Window* window = Live(owner_)) --window->disabledBy;
    }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

    // The owner if it is a live window.
    HWND handle() const { return owner_; }

  private:
    HWND owner_ = nullptr;
};

// Dialog units to pixels: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its height. An 8-point dialog font (MS Sans Serif) measures
// 6 x 13 pixels at 96 dots per inch; other sizes scale with it. Without DS_SETFONT the dialog
// uses the system font, 8 x 16.
struct BaseUnits {
    int x;
    int y;
};

BaseUnits BaseUnitsOf(const DialogResource& resource) {
    if ((resource.style & DS_SETFONT) == 0) return {8, 16};
    return {(6 * resource.pointSize + 4) / 8, (13 * resource.pointSize + 4) / 8};
}

// MulDiv: the product divided, rounded half away from zero.
int ScaleRounded(int value, int multiplier, int divisor) {
    const long long product = static_cast<long long>(value) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

bool KindOf(const DialogItemResource& item, platform::DialogControl::Kind& kind) {
    using Kind = platform::DialogControl::Kind;
    const std::string className = item.className != nullptr ? item.className : "";
    if (className == "BUTTON") {
        kind = (item.style & 0xf) == BS_DEFPUSHBUTTON ? Kind::DefaultPushButton : Kind::PushButton;
    } else if (className == "STATIC") {
        kind = Kind::Label;
    } else if (className == "EDIT") {
        kind = Kind::Edit;
    } else {
        return false;
    }
    return true;
}

bool LayOut(const DialogResource& resource, platform::DialogLayout& layout) {
    const BaseUnits units = BaseUnitsOf(resource);
    layout.caption = platform::core::Utf8Text(resource.caption != nullptr ? resource.caption : "");
    layout.x = ScaleRounded(resource.x, units.x, 4);
    layout.y = ScaleRounded(resource.y, units.y, 8);
    layout.fontName = resource.faceName != nullptr ? resource.faceName : "";
    layout.fontPointSize = resource.pointSize;
    layout.width = ScaleRounded(resource.cx, units.x, 4);
    layout.height = ScaleRounded(resource.cy, units.y, 8);
    for (int i = 0; i < resource.itemCount; ++i) {
        const DialogItemResource& item = resource.items[i];
        platform::DialogControl control{};
        if (!KindOf(item, control.kind)) return false;
        control.id = item.id;
        control.text = platform::core::Utf8Text(item.text != nullptr ? item.text : "");
        control.style = item.style;
        control.x = ScaleRounded(item.x, units.x, 4);
        control.y = ScaleRounded(item.y, units.y, 8);
        control.width = ScaleRounded(item.cx, units.x, 4);
        control.height = ScaleRounded(item.cy, units.y, 8);
        layout.controls.push_back(control);
    }
    return true;
}

Window* LiveDialog(HWND handle) {
    Window* window = Live(handle);
    return window != nullptr && window->kind == Window::Kind::Dialog ? window : nullptr;
}

Window* ControlOf(const Window& dialog, int id) {
    for (HWND handle : dialog.controls) {
        Window* control = Live(handle);
        if (control != nullptr && control->id == id) return control;
    }
    return nullptr;
}

// The session's template with this resource id; templates are named by number (MAKEINTRESOURCEA),
// so any larger value is a name, which no template has.
const DialogResource* FindTemplate(std::uintptr_t id) {
    if (id > 0xffff) return nullptr;
    for (const DialogResource& resource : Current().dialogs) {
        if (static_cast<std::uintptr_t>(resource.id) == id) return &resource;
    }
    return nullptr;
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    platform::core::State& state = Current();
    const OwnerDisabled disabled(owner);
    std::unique_ptr<platform::MessageBoxView> box = state.backend.openMessageBox(
        disabled.handle(), platform::core::Utf8Text(text != nullptr ? text : ""),
        platform::core::Utf8Text(caption != nullptr ? caption : "Error"), type);
    const bool answered = platform::core::RunModalLoop([&] { return box->result() != 0; });
    return answered ? box->result() : 0;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE /*instance*/, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam) {
    const DialogResource* resource = FindTemplate(reinterpret_cast<std::uintptr_t>(templateName));
    platform::DialogLayout layout;
    if (resource == nullptr || dialogProc == nullptr || !LayOut(*resource, layout)) return -1;

    platform::core::State& state = Current();
    Window& dialog = platform::core::NewWindow(Window::Kind::Dialog);
    dialog.text = layout.caption;
    dialog.dialogProcedure = dialogProc;
    dialog.layoutControls = layout.controls;
    HWND firstTabStop = nullptr;
    for (int i = 0; i < resource->itemCount; ++i) {
        Window& control = platform::core::NewWindow(Window::Kind::Control);
        control.parent = dialog.handle;
        control.id = resource->items[i].id;
        control.style = resource->items[i].style;
        control.text = layout.controls[i].text;
        dialog.controls.push_back(control.handle);
        if (firstTabStop == nullptr && (control.style & WS_TABSTOP) != 0) {
            firstTabStop = control.handle;
        }
    }

    const OwnerDisabled disabled(owner);
    const HWND focusBefore = state.focus;
    dialog.view = state.backend.openDialog(dialog.handle, disabled.handle(), layout);
    // A non-zero answer asks the platform to focus the first control with a tab stop.
    if (platform::core::Deliver(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop),
                                initParam) != 0 &&
        firstTabStop != nullptr) {
        SetFocus(firstTabStop);
    }
    platform::core::RunModalLoop([&] { return dialog.ended; });

    dialog.view.reset();
    const INT_PTR result = dialog.result;
    for (HWND handle : dialog.controls) platform::core::Forget(handle);
    platform::core::Forget(dialog.handle);
    state.focus = Live(focusBefore) != nullptr ? focusBefore : nullptr;
    return result;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    const Window* window = LiveDialog(dialog);
    const Window* control = window != nullptr ? ControlOf(*window, id) : nullptr;
    return control != nullptr ? control->handle : nullptr;
}

HWND WINAPI SetFocus(HWND handle) {
    platform::core::State& state = Current();
    const HWND previous = state.focus;
    if (handle == nullptr) {
        state.focus = nullptr;
        return previous;
    }
    const Window* window = Live(handle);
    if (window == nullptr) return nullptr;
    if (window->kind == Window::Kind::Control) {
        const Window* dialog = LiveDialog(window->parent);
        if (dialog != nullptr && dialog->view != nullptr) dialog->view->setFocus(window->id);
    }
    state.focus = handle;
    return previous;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
    const Window* window = LiveDialog(dialog);
    const Window* control = window != nullptr ? ControlOf(*window, id) : nullptr;
    if (control == nullptr || text == nullptr || maxCount <= 0) return 0;
    const std::string current = platform::core::AnsiText(
        window->view != nullptr ? window->view->controlText(id) : control->text);
    // Room is kept for the terminating zero: at most maxCount - 1 characters.
    const std::size_t count = std::min(current.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(text, current.data(), count);
    text[count] = '\0';
    return static_cast<UINT>(count);
}

// An edit field types characters and takes the editing keys, as Windows' does: BackSpace as
// the character it types, the others as keys.
void platform::core::ControlMessage(const Window& control, UINT message, WPARAM wParam) {
    const Window* dialog = LiveDialog(control.parent);
    if (dialog == nullptr || dialog->view == nullptr) return;
    const bool isEdit = std::any_of(
        dialog->layoutControls.begin(), dialog->layoutControls.end(), [&](const auto& laidOut) {
            return laidOut.id == control.id && laidOut.kind == platform::DialogControl::Kind::Edit;
        });
    if (!isEdit) return;
    const int key = static_cast<int>(wParam);
    if (message == WM_CHAR && key >= ' ') {
        dialog->view->typeText(control.id, std::string(1, static_cast<char>(key)));
    } else if ((message == WM_CHAR && key == VK_BACK) ||
               (message == WM_KEYDOWN && key != VK_BACK && platform::IsEditingKey(key))) {
        dialog->view->pressEditingKey(control.id, key, Current().shiftHeld);
    }
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    Window* window = LiveDialog(dialog);
    if (window == nullptr) return FALSE;
    window->ended = true;
    window->result = result;
    return TRUE;
}
