// Times the path table over a folder tree against the listing of the same
// tree by `cmd /c dir /s /b` and against a minimal walk of it
// (FindFirstFileExA, basic information, large fetches: about as fast as the
// platform lists a tree), measures contains() at several table sizes and the
// table's memory per path.
//
//     table_bench.exe <tree folder>
//
// tools/bench.sh makes the tree, runs this under Wine and removes the tree.

#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "common/win_handles.h"
#include "scan/walk/file_table.h"

namespace {

// Heap bytes held by the whole program, for the table's memory per path.
std::atomic<long long> heapBytes{0};

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One run of `cmd /c dir /s /b` over the tree, its output discarded.
double timeDirListing(const std::string& tree) {
    std::string command = "cmd /c dir /s /b \"" + tree + "\" > NUL";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    Clock::time_point start = Clock::now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start cmd (error %lu)\n", GetLastError());
        std::exit(1);
    }
    win::KernelHandle processHandle(process.hProcess);
    win::KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    return millisecondsSince(start);
}

// A walk of the tree that only lists it: the platform's own limit for
// finding every path, which the table build spends most of its time on.
void walkMinimal(const std::string& folder, std::size_t& count) {
    WIN32_FIND_DATAA found;
    win::FindHandle listing(FindFirstFileExA((folder + "\\*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!listing) return;
    do {
        const char* name = found.cFileName;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        ++count;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            walkMinimal(folder + "\\" + name, count);
    } while (FindNextFileA(listing.get(), &found));
}

double timeMinimalWalk(const std::string& tree, std::size_t* count) {
    Clock::time_point start = Clock::now();
    *count = 0;
    walkMinimal(tree, *count);
    return millisecondsSince(start);
}

double timeBuild(const std::vector<std::string>& roots, std::size_t* count) {
    sysrepair::FileTable table;
    for (const std::string& root : roots) table.addRoot(root);
    Clock::time_point start = Clock::now();
    table.build();
    double ms = millisecondsSince(start);
    *count = table.fileCount();
    return ms;
}

// Nanoseconds per contains() call for random paths of the table and for
// paths not in it.
void timeContains(const std::vector<std::string>& roots) {
    sysrepair::FileTable table;
    for (const std::string& root : roots) table.addRoot(root);
    table.build();
    const std::size_t count = table.fileCount();
    const std::size_t calls = 100000;
    std::mt19937 random(12345);
    std::vector<std::string> hits, misses;
    for (std::size_t i = 0; i < calls; ++i) {
        std::string path = table.fileAt(random() % count);
        misses.push_back(path + "~");
        hits.push_back(std::move(path));
    }
    // The best of several rounds: the machine's other work only ever adds.
    std::size_t wrong = 0;
    double hitNs = 1e18, missNs = 1e18;
    for (int round = 0; round < 5; ++round) {
        std::size_t found = 0;
        Clock::time_point start = Clock::now();
        for (const std::string& path : hits) found += table.contains(path);
        hitNs = std::min(hitNs, millisecondsSince(start) * 1e6 / calls);
        wrong += calls - found;
        found = 0;
        start = Clock::now();
        for (const std::string& path : misses) found += table.contains(path);
        missNs = std::min(missNs, millisecondsSince(start) * 1e6 / calls);
        wrong += found;
    }
    if (wrong != 0) std::printf("  (!) %zu lookups answered wrongly\n", wrong);
    std::printf("  contains, %7zu paths     : hit %6.0f ns, miss %6.0f ns per call\n", count, hitNs,
                missNs);
}

void measureMemory(const std::string& tree) {
    long long before = heapBytes;
    sysrepair::FileTable table;
    table.addRoot(tree);
    table.build();
    long long held = heapBytes - before;
    const std::size_t count = table.fileCount();
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < count; ++i) textBytes += table.fileAt(i).size();
    std::printf(
        "  memory                    : %.1f bytes per path (path text %.1f bytes), %.1f MB "
        "for %zu paths\n",
        static_cast<double>(held) / count, static_cast<double>(textBytes) / count, held / 1048576.0,
        count);
}

// The top-level folders of the tree, for tables of growing size.
std::vector<std::string> subFolders(const std::string& tree) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data;
    win::FindHandle find(FindFirstFileA((tree + "\\*").c_str(), &data));
    if (!find) return folders;
    do {
        std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            folders.push_back(tree + "\\" + name);
    } while (FindNextFileA(find.get(), &data));
    return folders;
}

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    heapBytes += static_cast<long long>(_msize(p));
    return p;
}

void operator delete(void* p) noexcept {
    if (!p) return;
    heapBytes -= static_cast<long long>(_msize(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: table_bench <tree folder>\n");
        return 2;
    }
    std::string tree = argv[1];
    while (!tree.empty() && tree.back() == '\\') tree.pop_back();
    std::vector<std::string> folders = subFolders(tree);
    if (folders.empty()) {
        std::fprintf(stderr, "%s has no sub-folders\n", tree.c_str());
        return 1;
    }

    // One untimed round of each, so that both start from the same caches.
    std::size_t count = 0, walked = 0;
    timeDirListing(tree);
    timeMinimalWalk(tree, &walked);
    timeBuild({tree}, &count);

    const int rounds = 3;
    std::vector<double> dirTimes, walkTimes, buildTimes;
    for (int i = 0; i < rounds; ++i) {
        dirTimes.push_back(timeDirListing(tree));
        walkTimes.push_back(timeMinimalWalk(tree, &walked));
        buildTimes.push_back(timeBuild({tree}, &count));
    }
    const double dirMs = median(dirTimes), walkMs = median(walkTimes), buildMs = median(buildTimes);
    std::printf("Tree %s: %zu paths (the minimal walk found %zu)\n", tree.c_str(), count, walked);
    std::printf("  cmd /c dir /s /b          : %8.1f ms (median of %d)\n", dirMs, rounds);
    std::printf("  FindFirstFileExA walk     : %8.1f ms (median of %d)\n", walkMs, rounds);
    std::printf("  FileTable::build          : %8.1f ms (median of %d)\n", buildMs, rounds);
    std::printf("  build / listing           : %8.2f (target at most 1.50)\n", buildMs / dirMs);
    std::printf("  build / minimal walk      : %8.2f (goal at most 1.20)\n", buildMs / walkMs);

    // Tables over a tenth, half and all of the tree.
    for (std::size_t share : {folders.size() / 10, folders.size() / 2, folders.size()}) {
        std::vector<std::string> roots(folders.begin(),
                                       folders.begin() + std::max<std::size_t>(share, 1));
        timeContains(roots);
    }
    measureMemory(tree);
    return 0;
}
