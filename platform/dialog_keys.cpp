#include "platform/dialog_keys.h"

#include <algorithm>

namespace platform {

namespace {

bool IsPushButton(const DialogControl& control) {
    return control.kind == DialogControl::Kind::PushButton ||
           control.kind == DialogControl::Kind::DefaultPushButton;
}

int EnterCommand(std::span<const DialogControl> controls, std::optional<int> focused) {
    // Emscripten's C++ library has no std::ranges algorithms.
    const auto find = [&](auto predicate) {
        return std::find_if(controls.begin(), controls.end(), predicate);
    };
    if (focused) {
        const auto control = find([&](const DialogControl& c) { return c.id == *focused; });
        if (control != controls.end() && IsPushButton(*control)) return control->id;
    }
    const auto byDefault = find(
        [](const DialogControl& c) { return c.kind == DialogControl::Kind::DefaultPushButton; });
    return byDefault != controls.end() ? byDefault->id : IDOK;
}

std::optional<int> NextTabStop(std::span<const DialogControl> controls, std::optional<int> focused,
                               bool backwards) {
    std::vector<int> stops;
    for (const DialogControl& control : controls) {
        if ((control.style & WS_TABSTOP) != 0) stops.push_back(control.id);
    }
    if (stops.empty()) return std::nullopt;
    if (backwards) std::reverse(stops.begin(), stops.end());
    const auto current = focused ? std::find(stops.begin(), stops.end(), *focused) : stops.end();
    if (current == stops.end() || current + 1 == stops.end()) return stops.front();
    return *(current + 1);
}

}  // namespace

DialogKeyAction DialogKey(std::span<const DialogControl> controls, std::optional<int> focused,
                          int cancelId, int virtualKey, bool shift) {
    using Kind = DialogKeyAction::Kind;
    switch (virtualKey) {
        case VK_RETURN:
            return {Kind::Command, EnterCommand(controls, focused)};
        case VK_ESCAPE:
            return {Kind::Command, cancelId};
        case VK_TAB:
            if (const auto next = NextTabStop(controls, focused, shift))
                return {Kind::Focus, *next};
            return {};
        default:
            return {};
    }
}

MessageBoxButtons ButtonsOf(UINT type) {
    using Kind = DialogControl::Kind;
    const auto button = [](Kind kind, int id, const char* text) {
        return DialogControl{kind, id, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0};
    };
    if ((type & MB_TYPEMASK) == MB_RETRYCANCEL) {
        return {{button(Kind::DefaultPushButton, IDRETRY, "Retry"),
                 button(Kind::PushButton, IDCANCEL, "Cancel")},
                IDCANCEL};
    }
    return {{button(Kind::DefaultPushButton, IDOK, "OK")}, IDOK};
}

}  // namespace platform
