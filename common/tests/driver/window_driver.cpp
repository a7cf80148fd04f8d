#include "common/tests/driver/window_driver.h"

#include <psapi.h>

#include "common/win_handles.h"

namespace window_driver {

namespace {

struct WindowSearch {
    DWORD processId;
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectProcessWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (pid == search->processId && IsWindowVisible(hwnd) &&
        (search->className.empty() || search->className == name))
        search->found.push_back(hwnd);
    return TRUE;
}

struct ChildSearch {
    const std::function<bool(const std::string&)>& match;
    HWND found;
};

BOOL CALLBACK findChildByText(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (IsWindowVisible(hwnd) && search->match(windowText(hwnd))) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct CaptionSearch {
    const std::string& caption;
    const std::function<bool(HWND)>& test;
    DWORD processId;
};

BOOL CALLBACK findWindowWithCaption(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (IsWindowVisible(hwnd) && windowText(hwnd) == search->caption && search->test(hwnd)) {
        GetWindowThreadProcessId(hwnd, &search->processId);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool pollUntil(const std::function<bool()>& condition, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

std::vector<HWND> visibleWindows(DWORD processId, const std::string& className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindowWhere(DWORD processId, const std::function<bool(HWND)>& test, int seconds) {
    HWND found = nullptr;
    pollUntil(
        [&] {
            for (HWND w : visibleWindows(processId))
                if (test(w)) found = w;
            return found != nullptr;
        },
        seconds);
    return found;
}

HWND waitForMessageBox(DWORD processId, int seconds) {
    HWND found = nullptr;
    pollUntil(
        [&] {
            std::vector<HWND> boxes = visibleWindows(processId, "#32770");
            found = boxes.empty() ? nullptr : boxes.front();
            return found != nullptr;
        },
        seconds);
    return found;
}

DWORD findProcessWithWindow(const std::string& caption, const std::function<bool(HWND)>& test) {
    CaptionSearch search{caption, test, 0};
    EnumWindows(findWindowWithCaption, reinterpret_cast<LPARAM>(&search));
    return search.processId;
}

std::string programFileOf(DWORD processId) {
    win::KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    char image[MAX_PATH + 1] = {};
    if (!process || !GetModuleFileNameExA(process.get(), nullptr, image, MAX_PATH)) return "";
    return image;
}

void endProcess(DWORD processId) {
    win::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) return;
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 10000);
}

namespace {

std::vector<DWORD> runningProcesses() {
    std::vector<DWORD> ids(4096);
    DWORD bytes = 0;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes))
        return {};
    ids.resize(bytes / sizeof(DWORD));
    return ids;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() &&
           CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, text.c_str(),
                          static_cast<int>(start.size()), start.c_str(),
                          static_cast<int>(start.size())) == CSTR_EQUAL;
}

}  // namespace

void endProgramsIn(const std::string& folder) {
    for (DWORD id : runningProcesses()) {
        const std::string program = programFileOf(id);
        if (program.size() > folder.size() && startsWithIgnoringCase(program, folder))
            endProcess(id);
    }
}

DWORD findProcessOf(const std::string& programFile) {
    for (DWORD id : runningProcesses()) {
        const std::string program = programFileOf(id);
        if (program.size() == programFile.size() && startsWithIgnoringCase(program, programFile))
            return id;
    }
    return 0;
}

std::string windowText(HWND hwnd) {
    char text[512] = {};
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string messageText(HWND box) {
    // The text of a message box is its static control 0xFFFF.
    return windowText(GetDlgItem(box, 0xFFFF));
}

bool answer(HWND box, int button) {
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

HWND controlAt(HWND window, int x, int y) {
    HWND parent = window;
    POINT p = {x, y};
    for (;;) {
        HWND child = ChildWindowFromPointEx(parent, p, CWP_SKIPINVISIBLE);
        if (!child || child == parent) return parent;
        MapWindowPoints(parent, child, &p, 1);
        parent = child;
    }
}

int scaledForScreen(int pixelsAt96Dpi) {
    win::WindowDc screen(nullptr);
    return MulDiv(pixelsAt96Dpi, GetDeviceCaps(screen.get(), LOGPIXELSY), 96);
}

void clickAt(HWND window, int x, int y) {
    HWND control = controlAt(window, scaledForScreen(x), scaledForScreen(y));
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

HWND visibleChildWithText(HWND window, const std::function<bool(const std::string&)>& match) {
    ChildSearch search{match, nullptr};
    EnumChildWindows(window, findChildByText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD processId, const std::string& caption, int seconds) {
    return waitForWindowWhere(
        processId, [&](HWND w) { return windowText(w) == caption; }, seconds);
}

namespace {

struct ClassSearch {
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectChildOfClass(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (IsWindowVisible(hwnd) && search->className == name) search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> visibleChildrenOfClass(HWND window, const std::string& className) {
    ClassSearch search{className, {}};
    EnumChildWindows(window, collectChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND childOfClass(HWND window, const std::string& className, int n) {
    const std::vector<HWND> found = visibleChildrenOfClass(window, className);
    return n >= 0 && static_cast<size_t>(n) < found.size() ? found[n] : nullptr;
}

HWND writableChildOfClass(HWND window, const std::string& className) {
    for (HWND child : visibleChildrenOfClass(window, className))
        if (!(GetWindowLongA(child, GWL_STYLE) & ES_READONLY)) return child;
    return nullptr;
}

void typeText(HWND box, const std::string& text) {
    SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

void pressButton(HWND button) {
    // What a push button tells its window when it is clicked. A simulated
    // click (BM_CLICK) needs the mouse capture, which another program's
    // window may take away in the middle of it.
    PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool chooseMenuItem(HWND window, int n) {
    const UINT firstCommand = 0x8000;  // common/ui/menu_bar.h
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(firstCommand + n, 0), 0) != FALSE;
}

void selectListLine(HWND list, int line) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

namespace {

INPUT keyInput(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void sendKeys(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The receiving program takes them in its own time; a short pause keeps
    // keys typed in a row from outrunning a window that a key opens.
    Sleep(60);
}

GUITHREADINFO threadInfoOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

}  // namespace

void pressKey(WORD virtualKey) {
    sendKeys({keyInput(virtualKey, false), keyInput(virtualKey, true)});
}

void pressChord(WORD modifier, WORD virtualKey) {
    sendKeys({keyInput(modifier, false), keyInput(virtualKey, false), keyInput(virtualKey, true),
              keyInput(modifier, true)});
}

void typeKeys(const std::string& text) {
    for (char c : text) {
        const SHORT key = VkKeyScanA(c);
        if (key == -1) continue;
        const WORD virtualKey = LOBYTE(key);
        if (HIBYTE(key) & 1)
            pressChord(VK_SHIFT, virtualKey);
        else
            pressKey(virtualKey);
    }
}

HWND focusOf(HWND window) {
    return threadInfoOf(window).hwndFocus;
}

HWND activeWindowOf(HWND window) {
    return threadInfoOf(window).hwndActive;
}

HWND waitForFocus(HWND window, const std::function<bool(HWND)>& test, int seconds) {
    HWND focus = nullptr;
    pollUntil([&] { return (focus = focusOf(window)) != nullptr && test(focus); }, seconds);
    return focus && test(focus) ? focus : nullptr;
}

bool isAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

}  // namespace window_driver
