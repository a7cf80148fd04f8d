// mendora_tour.exe STEP: one step of a walk through a running Mendora, for
// the run command, which takes a screenshot between the steps. Steps:
//   welcome   wait for the main window
//   scanning  click Start Scan, wait until a scanner runs and, when a file
//             name follows, save the screen there at once as a BMP (a scan of
//             a small disk ends before an outside screenshot could be taken)
//   results   wait for the results panel
//   windows   open the Windows information window
//   devices   open its device window and choose the first device class
//   back      close both information windows
//   close     ask to close and answer Yes
// Exit code 0 when the step was done, 1 when it was not.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/tests/driver/window_driver.h"
#include "common/win_handles.h"
#include "shell/driver/mendora_driver.h"

using namespace mendora_driver;
using namespace window_driver;

namespace {

// Writes the whole screen as a 24-bit BMP file.
bool saveScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    win::WindowDc screen(nullptr);
    win::MemoryDc memory(CreateCompatibleDC(screen.get()));
    win::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap) return false;
    {
        win::SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
    }

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * height);
    if (GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    DWORD pid = 0;
    pollUntil([&] { return (pid = findMendoraProcess()) != 0; }, 60);
    HWND window = pid ? waitForMainWindow(pid, 1) : nullptr;
    if (!window) {
        std::fprintf(stderr, "Mendora's window did not show\n");
        return 1;
    }
    if (step == "welcome") return 0;
    if (step == "scanning") {
        clickAt(window, kStartScan.x, kStartScan.y);
        if (pollUntil([&] { return visibleChildWithText(window, isRunningCaption) != nullptr; },
                      120)) {
            if (argc > 2 && !saveScreen(argv[2])) std::fprintf(stderr, "no screenshot\n");
            return 0;
        }
        std::fprintf(stderr, "no scanner ran\n");
        return 1;
    }
    if (step == "results") {
        HWND headline = nullptr;
        if (pollUntil([&] { return (headline = visibleChildWithText(window, isResultHeadline)); },
                      600)) {
            std::printf("%s\n", windowText(headline).c_str());
            return 0;
        }
        std::fprintf(stderr, "the scan did not end\n");
        return 1;
    }
    if (step == "windows") {
        clickAt(window, kWindowsInformation.x, kWindowsInformation.y);
        if (waitForWindow(pid, "Windows Information", 60)) return 0;
        std::fprintf(stderr, "no Windows information window\n");
        return 1;
    }
    if (step == "devices") {
        HWND information = waitForWindow(pid, "Windows Information", 5);
        HWND devices = nullptr;
        if (information && chooseMenuItem(information, kAdvancedSystemInfo))
            devices = waitForWindow(pid, "System Information", 60);
        HWND classes = devices ? childOfClass(devices, "ListBox", 0) : nullptr;
        if (classes &&
            pollUntil([&] { return SendMessageA(classes, LB_GETCOUNT, 0, 0) > 0; }, 30)) {
            selectListLine(classes, 0);
            return 0;
        }
        std::fprintf(stderr, "no device classes\n");
        return 1;
    }
    if (step == "back") {
        for (const char* caption : {"System Information", "Windows Information"}) {
            HWND shown = waitForWindow(pid, caption, 5);
            if (shown) PostMessageA(shown, WM_CLOSE, 0, 0);
            pollUntil([&] { return !shown || !IsWindowVisible(shown); }, 30);
        }
        return 0;
    }
    if (step == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        HWND box = waitForMessageBox(pid, 30);
        if (box && answer(box, IDYES)) return 0;
        std::fprintf(stderr, "no close question\n");
        return 1;
    }
    std::fprintf(stderr,
                 "usage: mendora_tour welcome|scanning|results|windows|devices|back|close\n");
    return 1;
}
