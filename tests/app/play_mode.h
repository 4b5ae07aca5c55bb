// A mode played on the headless backend, for the tests that drive it as a user would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/reading_places.h"
#include "app/resources/dialog_template.h"
#include "app/velmora.h"
#include "platform/headless/headless_backend.h"

// The answers a user gives at the start: both introductory boxes confirmed, then the start-up
// dialog's fields typed and confirmed.
inline void ConfirmIntroAndType(platform::HeadlessBackend& backend,
                                std::vector<std::string> fields) {
    backend.answerMessageBox(IDOK);  // the explanation
    backend.answerMessageBox(IDOK);  // the key help
    backend.answerDialogFields(std::move(fields));
}

// Plays the mode the command line asks for with the script's answers, at 992 x 666; the driver
// acts each time the program waits, until it returns false, and the window is closed.
inline void PlayMode(platform::HeadlessBackend& backend, std::string commandLine,
                     const std::function<bool(platform::HeadlessBackend&)>& driver) {
    backend.setShownClientSize(992, 666);
    backend.setDriver([&, done = false](platform::HeadlessBackend& d) mutable {
        if (d.modalOpen() || done) return;
        done = !driver(d);
        if (done) d.closeWindow();
    });
    platform::Session session(backend, dialogTemplates,
                              ReadingPlacesOf(ModeOfCommandLine(commandLine.c_str())));
    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT), 0);
}
