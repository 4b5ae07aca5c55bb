// Modal dialogs from templates: layout, WM_INITDIALOG and focus, commands, text, EndDialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/test_window.h"

namespace {

// What the test dialog procedure does and saw.
bool focusEditOnInit = true;
std::vector<std::string> dialogLog;
std::string textOnOk;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            dialogLog.push_back("WM_INITDIALOG " + std::to_string(lParam));
            if (!focusEditOnInit) return TRUE;
            SetFocus(GetDlgItem(dialog, kEditId));
            return FALSE;
        case WM_COMMAND: {
            dialogLog.push_back("WM_COMMAND " + std::to_string(LOWORD(wParam)));
            char text[8];
            GetDlgItemTextA(dialog, kEditId, text, sizeof text);
            textOnOk = text;
            EndDialog(dialog, LOWORD(wParam) == IDOK ? 11 : 22);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

class DialogTest : public WindowTest {
  protected:
    DialogTest() {
        focusEditOnInit = true;
        dialogLog.clear();
        textOnOk.clear();
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    INT_PTR Run(int id = kTestDialogId) {
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), window,
                               TestDialogProc, 42);
    }
};

TEST_F(DialogTest, TheTemplateIsLaidOutInPixelsOfTheDialogFont) {
    backend.cancelDialog();
    Run();
    ASSERT_EQ(backend.dialogs().size(), 1u);
    EXPECT_EQ(backend.dialogs()[0].owner, window);
    const platform::DialogLayout& layout = backend.dialogs()[0].layout;
    EXPECT_EQ(layout.caption, "Test dialog");
    // 6 x 13 pixel base units: x * 6 / 4 and y * 13 / 8, rounded.
    EXPECT_EQ(layout.width, 332);
    EXPECT_EQ(layout.height, 218);
    using Kind = platform::DialogControl::Kind;
    struct Expected {
        Kind kind;
        int id, x, y, width, height;
    };
    const Expected expected[] = {{Kind::DefaultPushButton, IDOK, 246, 11, 75, 23},
                                 {Kind::Label, -1, 92, 68, 120, 13},
                                 {Kind::Edit, kEditId, 122, 125, 60, 23}};
    ASSERT_EQ(layout.controls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const platform::DialogControl& control = layout.controls[i];
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_EQ(control.id, expected[i].id);
        EXPECT_EQ(control.x, expected[i].x);
        EXPECT_EQ(control.y, expected[i].y);
        EXPECT_EQ(control.width, expected[i].width);
        EXPECT_EQ(control.height, expected[i].height);
    }
}

TEST_F(DialogTest, TypedTextGoesToTheControlTheProcedureFocused) {
    backend.answerDialog("42");
    EXPECT_EQ(Run(), 11);
    EXPECT_EQ(dialogLog, (std::vector<std::string>{"WM_INITDIALOG 42", "WM_COMMAND 1"}));
    EXPECT_EQ(textOnOk, "preset4") << "cut to the buffer of 8 with its terminator";
}

TEST_F(DialogTest, ANonZeroInitAnswerFocusesTheFirstTabStop) {
    focusEditOnInit = false;
    backend.answerDialog("42");
    Run();
    EXPECT_EQ(textOnOk, "preset") << "the OK button had the focus and took no text";
}

TEST_F(DialogTest, CancelSendsTheCancelCommandAndEndDialogGivesTheResult) {
    backend.cancelDialog();
    EXPECT_EQ(Run(), 22);
    EXPECT_EQ(dialogLog.back(), "WM_COMMAND 2");
}

TEST_F(DialogTest, TheOwnerKeepsTickingButTakesNoKeysWhileTheDialogIsOpen) {
    SetTimer(window, 1, 50, nullptr);
    backend.answerDialog("", 200);
    backend.setDriver([pressed = false](platform::HeadlessBackend& driver) mutable {
        if (!pressed) driver.pressKey(VK_RETURN);
        pressed = true;
    });
    Run();
    EXPECT_EQ(std::count(messageLog.begin(), messageLog.end(), "WM_TIMER 1"), 4);
    EXPECT_EQ(std::count(messageLog.begin(), messageLog.end(), "WM_KEYDOWN 13"), 0);
}

TEST_F(DialogTest, AnUnknownTemplateFails) { EXPECT_EQ(Run(99), -1); }

}  // namespace
