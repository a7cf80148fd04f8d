// download_bench.exe ADDRESS TARGET: one download through the updater's
// download path (the download library, polled as the updater window polls
// it), with its time and the process's peak memory, for tools/bench.sh.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "updater/updater.h"

namespace {

// The updater's window, without a window: the bench only needs the polling.
class NoWindow : public updater::UpdateView {
public:
    void trace(const std::string&) override {}
    void setStatus(const std::string&) override {}
    void setItemProgress(int) override {}
    void setOverallProgress(int) override {}
    void disableCheckButton() override {}
    void processMessages() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
};

double megabytes(SIZE_T bytes) {
    return bytes / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: download_bench ADDRESS TARGET\n");
        return 2;
    }
    updater::UpdaterHandle handle;
    NoWindow window;
    updater::initializeUpdater(&handle, argv[1], "bench", updater::kUpdaterVersion, "bench", "1");
    PROCESS_MEMORY_COUNTERS before = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const int received = updater::downloadFile(&handle, window, argv[1], argv[2], 0);
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    updater::terminateDownloads();
    std::printf("updater download: %s, %.3f s, peak memory %.1f MB (%.1f MB before the download)\n",
                received == 1 ? "received" : "FAILED",
                double(end.QuadPart - start.QuadPart) / frequency.QuadPart,
                megabytes(after.PeakWorkingSetSize), megabytes(before.PeakWorkingSetSize));
    return received == 1 ? 0 : 1;
}
