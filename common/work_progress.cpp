#include "common/work_progress.h"

#include <atomic>
#include <mutex>

namespace win {

namespace {

std::mutex stepLock;
std::string currentStep;
std::atomic<bool> running{false};
std::atomic<uint64_t> doneCount{0};
std::atomic<uint64_t> totalCount{0};

std::string grouped(uint64_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

}  // namespace

void beginWorkStep(const std::string& step, uint64_t total) {
    std::lock_guard<std::mutex> guard(stepLock);
    currentStep = step;
    doneCount = 0;
    totalCount = total;
    running = true;
}

void advanceWork(uint64_t count) {
    if (!running) return;
    const uint64_t total = totalCount;
    const uint64_t done = doneCount += count;
    // Never more than the step announced.
    if (done > total) doneCount = total;
}

void endWork() {
    std::lock_guard<std::mutex> guard(stepLock);
    running = false;
    currentStep.clear();
}

bool currentWork(WorkProgress& progress) {
    std::lock_guard<std::mutex> guard(stepLock);
    if (!running) return false;
    progress.step = currentStep;
    progress.done = doneCount;
    progress.total = totalCount;
    return true;
}

std::string workProgressText(const WorkProgress& progress) {
    return progress.step + " " + grouped(progress.done) + " of " + grouped(progress.total) +
           (progress.total == 1 ? " entry" : " entries");
}

}  // namespace win
