// How long the user-interface thread is held by the scan log and the problem
// report when they hold 100,000 lines: every log line as the scan monitor
// adds it (append, scroll to the end), its slowest call and the time per line
// as the log grows, and the problem report filled with 100,000 entries. The
// reference is the same text set into the log at once.
//
//     views_bench.exe [lines]
//
// It needs the install folder of an App Paths entry "Mendora.exe" (the main
// window makes its backup folders there); tools/scan-bench.sh runs it in the
// benchmark's prefix.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "scan/task.h"
#include "shell/details_form.h"
#include "shell/plugin_form.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string scannedPath(int i) {
    return "C:\\users\\root\\Temp\\" + std::to_string(i / 40) + "\\~report" + std::to_string(i) +
           ".tmp";
}

// A category holding a given number of found files, for the report.
class FilledCategory : public sysrepair::BasicTask {
public:
    explicit FilledCategory(int count) : count_(count) {}
    std::string name() override { return "Drive Cleaner"; }
    std::string description() override { return "Unused Temporary Files"; }
    bool scan() override {
        for (int i = 0; i < count_; ++i) {
            auto entry = std::make_unique<sysrepair::TaskEntry>();
            entry->fields = {scannedPath(i)};
            lockedEntries().push_back(std::move(entry));
        }
        return true;
    }

private:
    int count_;
};

// The log, line by line as the monitor writes it, and the same text set at
// once as the reference.
void timeLog(sysrepair::TSystemRepairForm& form, int lines) {
    std::vector<double> perThousand;
    double slowest = 0;
    int slowestAt = 0;
    Clock::time_point block = Clock::now();
    const Clock::time_point all = Clock::now();
    for (int i = 0; i < lines; ++i) {
        const Clock::time_point start = Clock::now();
        form.appendLogLine(" [ Scanned ]      " + scannedPath(i), 0x008000, true);
        form.scrollLogToEnd();
        const double ms = millisecondsSince(start);
        if (ms > slowest) {
            slowest = ms;
            slowestAt = i;
        }
        if ((i + 1) % 1000 == 0) {
            pumpMessages();
            perThousand.push_back(millisecondsSince(block) / 1000);
            block = Clock::now();
        }
    }
    const double logTotal = millisecondsSince(all);
    std::printf(
        "scan log, %d lines: %.1f s, %.3f ms a line; first thousand %.3f ms a line, "
        "last thousand %.3f ms a line; slowest call %.1f ms (line %d)\n",
        lines, logTotal / 1000, logTotal / lines, perThousand.front(), perThousand.back(), slowest,
        slowestAt);

    // Reference: the same text into a fresh log in one call.
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += (i ? "\r\n" : "") + (" [ Scanned ]      " + scannedPath(i));
    sysrepair::TSystemRepairForm reference;
    Clock::time_point start = Clock::now();
    SetWindowTextA(reference.TeRichEdit1.handle(), text.c_str());
    std::printf("reference, the whole text set at once: %.1f s (%.3f ms a line)\n",
                millisecondsSince(start) / 1000, millisecondsSince(start) / lines);
}

}  // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;
    win::setMessageBoxHandler([](const win::MessageBoxRequest&) { return IDOK; });

    const bool reportOnly = argc > 2 && std::string(argv[2]) == "report";
    sysrepair::TSystemRepairForm form;
    form.show();
    pumpMessages();
    if (!reportOnly) timeLog(form, lines);

    // The problem report with as many entries.
    FilledCategory category(lines);
    category.scan();
    sysrepair::TScanDetailsForm report;
    report.setReportTasks({&category});
    const Clock::time_point start = Clock::now();
    report.show();
    pumpMessages();
    std::printf("problem report, %d entries: shown in %.2f s\n", lines,
                millisecondsSince(start) / 1000);
    return 0;
}
