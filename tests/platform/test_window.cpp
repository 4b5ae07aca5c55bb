#include "tests/platform/test_window.h"

#include <iterator>

std::vector<std::string> messageLog;
std::function<void(HWND, UINT, WPARAM)> onMessage;

namespace {

// The program's part of USER32's contract: every unhandled message goes to DefWindowProcA.
LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (onMessage) onMessage(window, message, wParam);
    switch (message) {
        case WM_CREATE:
            messageLog.push_back("WM_CREATE");
            break;
        case WM_SIZE:
            messageLog.push_back("WM_SIZE " + std::to_string(LOWORD(lParam)) + "x" +
                                 std::to_string(HIWORD(lParam)));
            break;
        case WM_PAINT: {
            messageLog.push_back("WM_PAINT");
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
            messageLog.push_back("WM_TIMER " + std::to_string(wParam));
            break;
        case WM_KEYDOWN:
            messageLog.push_back("WM_KEYDOWN " + std::to_string(wParam));
            break;
        case WM_CHAR:
            messageLog.push_back("WM_CHAR " + std::to_string(wParam));
            break;
        case WM_CLOSE:
            messageLog.push_back("WM_CLOSE");
            break;
        case WM_DESTROY:
            messageLog.push_back("WM_DESTROY");
            PostQuitMessage(3);
            break;
        default:
            messageLog.push_back("message " + std::to_string(message));
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const DialogItemResource kItems[] = {
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 7, 50, 14, IDOK, "BUTTON", "OK"},
    {WS_CHILD | WS_VISIBLE | SS_LEFT, 61, 42, 80, 8, -1, "STATIC", "Label"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 81, 77, 40, 14, kEditId, "EDIT", "preset"},
};
const DialogResource kDialog = {kTestDialogId,
                                static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_SETFONT),
                                0,
                                0,
                                221,
                                134,
                                "Test dialog",
                                8,
                                "MS Sans Serif",
                                kItems,
                                static_cast<int>(std::size(kItems))};

}  // namespace

const DialogResource* FindDialogResource(int id) {
    return id == kTestDialogId ? &kDialog : nullptr;
}

WindowTest::WindowTest() {
    messageLog.clear();
    onMessage = nullptr;
    session.emplace(backend);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = LoggingProc;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "Test";
    RegisterClassExA(&windowClass);
    window = CreateWindowExA(0, "Test", "Test", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
}

WindowTest::~WindowTest() {
    session.reset();
    onMessage = nullptr;
}

int WindowTest::RunLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
