// Mendora's whole scan, repair and restore on a machine of PC size, each
// category and phase beside the platform's own enumeration of the same data,
// measured in the same run.
//
//     scan_bench.exe folders            the folders the categories walk
//     scan_bench.exe shortcuts FILE     makes the links of FILE (link|target)
//     scan_bench.exe run                the measured run
//
// tools/bench.sh scan makes the machine (bench/make_pc.py) in a prefix of its
// own, installs this program with the repair engine as Mendora and runs it.

#include <windows.h>

#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "common/message_box.h"
#include "common/win_handles.h"
#include "repair/repair_engine.h"
#include "repair/repair_run.h"
#include "repair/restore_run.h"
#include "scan/categories/categories.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"

namespace {
void* countedAllocation(size_t size);
void countedRelease(void* p);
}  // namespace

void* operator new(size_t size) {
    if (void* p = countedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void operator delete(void* p) noexcept {
    countedRelease(p);
}
void operator delete[](void* p) noexcept {
    countedRelease(p);
}
void operator delete(void* p, size_t) noexcept {
    countedRelease(p);
}
void operator delete[](void* p, size_t) noexcept {
    countedRelease(p);
}

namespace {

using Clock = std::chrono::steady_clock;
using sysrepair::ITask;
using sysrepair::TaskEntry;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double megabytes(size_t bytes) {
    return bytes / (1024.0 * 1024.0);
}

// The bytes the program holds through new, counted here so that the data a
// scan keeps is measured apart from the code and fonts in the working set.
std::atomic<size_t> heapInUse{0};
std::atomic<size_t> heapPeak{0};

void* countedAllocation(size_t size) {
    // The size goes in front of the block, kept 16-byte aligned.
    auto* block = static_cast<unsigned char*>(std::malloc(size + 16));
    if (!block) return nullptr;
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = heapInUse += size;
    size_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return block + 16;
}

void countedRelease(void* p) {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - 16;
    heapInUse -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}

// The peak since the last call.
size_t heapPeakSinceLast() {
    const size_t peak = heapPeak.exchange(heapInUse.load());
    return peak;
}

size_t peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

std::string environmentFolder(const char* name) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return n == 0 || n >= sizeof(buffer) ? std::string() : std::string(buffer, n);
}

std::string specialFolder(int csidl) {
    char buffer[MAX_PATH + 1] = {};
    return SHGetSpecialFolderPathA(nullptr, buffer, csidl, TRUE) ? buffer : "";
}

std::string windowsFolder() {
    char buffer[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryA(buffer, sizeof(buffer));
    return n == 0 || n >= sizeof(buffer) ? std::string() : std::string(buffer, n);
}

// One run of a command through cmd, its output discarded; seconds.
double timeCommand(const std::string& command) {
    std::string line = "cmd /c " + command + " > NUL 2>&1";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start: %s (error %lu)\n", line.c_str(), GetLastError());
        return 0;
    }
    win::KernelHandle processHandle(process.hProcess);
    win::KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    return secondsSince(start);
}

int printFolders() {
    std::printf("temp=%s\n", environmentFolder("TEMP").c_str());
    std::printf("cache=%s\n", specialFolder(CSIDL_INTERNET_CACHE).c_str());
    std::printf("profile=%s\n", specialFolder(CSIDL_PROFILE).c_str());
    std::printf("recent=%s\n", specialFolder(CSIDL_RECENT).c_str());
    std::printf("windows=%s\n", windowsFolder().c_str());
    return 0;
}

int makeShortcuts(const char* listFile) {
    CoInitialize(nullptr);
    std::ifstream list(listFile);
    std::string line;
    int made = 0;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string::size_type bar = line.find('|');
        if (bar == std::string::npos) continue;
        const std::string link = line.substr(0, bar);
        const std::string target = line.substr(bar + 1);
        win::ComPtr<IShellLinkA> shellLink;
        win::ComPtr<IPersistFile> file;
        WCHAR wide[MAX_PATH];
        if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             shellLink.receive()) != S_OK ||
            shellLink->SetPath(target.c_str()) != S_OK ||
            shellLink->QueryInterface(IID_IPersistFile, file.receive()) != S_OK ||
            !MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH) ||
            file->Save(wide, TRUE) != S_OK) {
            std::fprintf(stderr, "cannot make the shortcut %s\n", link.c_str());
            return 1;
        }
        ++made;
    }
    CoUninitialize();
    std::printf("made %d shortcuts\n", made);
    return 0;
}

// --- the platform's own work on the same data ------------------------------

HKEY rootKey(const std::string& name) {
    if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKEY_USERS") return HKEY_USERS;
    if (name == "HKEY_CURRENT_CONFIG") return HKEY_CURRENT_CONFIG;
    return HKEY_LOCAL_MACHINE;
}

const char kCopyKey[] = "Software\\MendoraBenchCopy";

void copyKeyTree(HKEY source, HKEY target) {
    char name[16384];
    BYTE data[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name), dataSize = sizeof(data), type = 0;
        const LONG status =
            RegEnumValueA(source, i, name, &nameSize, nullptr, &type, data, &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_SUCCESS) RegSetValueExA(target, name, 0, type, data, dataSize);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        const LONG status =
            RegEnumKeyExA(source, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        HKEY from = nullptr, to = nullptr;
        if (status != ERROR_SUCCESS ||
            RegOpenKeyExA(source, name, 0, KEY_READ, &from) != ERROR_SUCCESS)
            continue;
        win::RegKey fromKey(from);
        if (RegCreateKeyExA(target, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to, nullptr) !=
            ERROR_SUCCESS)
            continue;
        win::RegKey toKey(to);
        copyKeyTree(fromKey.get(), toKey.get());
    }
}

// Two ways to put copies on the disk before their originals go: one flush
// per copy (what any user may do), and one flush of the whole volume (an
// administrator's), each timed over the same copies.
struct FlushFigures {
    double perFile = 0;
    double volume = -1;  // below 0: the volume could not be flushed
};

FlushFigures timeFlushes(const std::vector<std::string>& copies) {
    FlushFigures figures;
    Clock::time_point start = Clock::now();
    for (const std::string& copy : copies) {
        win::FileHandle file(CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) FlushFileBuffers(file.get());
    }
    figures.perFile = secondsSince(start);
    start = Clock::now();
    win::FileHandle volume(CreateFileA("\\\\.\\C:", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    if (volume && FlushFileBuffers(volume.get())) figures.volume = secondsSince(start);
    return figures;
}

// A plain copy of every file, key and value of the entries into a scratch
// folder and key: what any backup of the same data has to do at least.
double timePlainCopy(const std::vector<TaskEntry*>& entries, const std::string& scratch,
                     double& deleteSeconds, FlushFigures& flushes) {
    CreateDirectoryA(scratch.c_str(), nullptr);
    HKEY created = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kCopyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                    nullptr);
    win::RegKey copyRoot(created);
    // Reading a file may count as a use of it; the repair after this copy
    // must still find the files unused, as the scan found them.
    std::vector<std::pair<std::string, FILETIME>> lastAccess;
    for (const TaskEntry* entry : entries) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (entry->type == sysrepair::EntryFile &&
            GetFileAttributesExA(entry->path().c_str(), GetFileExInfoStandard, &data))
            lastAccess.emplace_back(entry->path(), data.ftLastAccessTime);
    }
    const Clock::time_point start = Clock::now();
    size_t n = 0;
    std::vector<std::string> copies;
    for (const TaskEntry* entry : entries) {
        const size_t index = n++;
        const std::string number = std::to_string(index);
        if (entry->type == sysrepair::EntryFile) {
            // A thousand to a folder, as the backup keeps them (under Wine a
            // new name costs a read of its whole folder).
            const std::string folder = scratch + "\\" + std::to_string(index / 1000);
            if (index % 1000 == 0) CreateDirectoryA(folder.c_str(), nullptr);
            const std::string copy = folder + "\\" + number;
            if (CopyFileA(entry->path().c_str(), copy.c_str(), FALSE)) copies.push_back(copy);
            continue;
        }
        if (entry->fields.size() < 2) continue;
        HKEY opened = nullptr;
        if (RegOpenKeyExA(rootKey(entry->rootName()), entry->keyPath().c_str(), 0, KEY_READ,
                          &opened) != ERROR_SUCCESS)
            continue;
        win::RegKey source(opened);
        HKEY target = nullptr;
        if (RegCreateKeyExA(copyRoot.get(), number.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &target, nullptr) != ERROR_SUCCESS)
            continue;
        win::RegKey targetKey(target);
        if (entry->type == sysrepair::EntryRegKey) {
            copyKeyTree(source.get(), targetKey.get());
        } else if (entry->fields.size() >= 3) {
            BYTE data[16384];
            DWORD size = sizeof(data);
            DWORD type = 0;
            if (RegQueryValueExA(source.get(), entry->valueName().c_str(), nullptr, &type, data,
                                 &size) == ERROR_SUCCESS)
                RegSetValueExA(targetKey.get(), entry->valueName().c_str(), 0, type, data, size);
        }
    }
    const double seconds = secondsSince(start);
    flushes = timeFlushes(copies);
    for (const auto& file : lastAccess) {
        win::FileHandle handle(CreateFileA(file.first.c_str(), FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle) SetFileTime(handle.get(), nullptr, &file.second, nullptr);
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, kCopyKey);
    // The platform's own delete of as many files, the other half of what a
    // repair (and a restore, which deletes the backup copies) has to do.
    deleteSeconds = timeCommand("del /s /q \"" + scratch + "\"");
    timeCommand("rd /s /q \"" + scratch + "\"");
    return seconds;
}

// --- the measured run ------------------------------------------------------

struct CategoryFigures {
    std::string name;
    double seconds = 0;
    uint32_t problems = 0;
    size_t entries = 0;
    size_t peak = 0;
    double reference = 0;
    std::string referenceText;
};

class QuietWorking : public sysrepair::WorkingView {
public:
    void show() override {}
    void hide() override {}
};

std::vector<std::string> referenceCommands(const std::string& name) {
    const std::string quote = "\"";
    if (name == "Custom Controls")
        return {"reg query HKCR\\CLSID /s", "dir /s /b C:\\", "dir /s /b D:\\"};
    if (name == "Drive Cleaner") return {"dir /s /b " + quote + environmentFolder("TEMP") + quote};
    if (name == "Installed Software")
        return {"reg query \"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\" /s"};
    if (name == "Windows System Fonts")
        return {"reg query \"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\" /s"};
    if (name == "Internet Cleaner")
        return {"dir /s /b " + quote + specialFolder(CSIDL_INTERNET_CACHE) + quote};
    if (name == "Windows Help Files")
        return {"reg query \"HKLM\\SOFTWARE\\Microsoft\\Windows\\Help\" /s"};
    if (name == "Recent Documents")
        return {"dir /s /b " + quote + specialFolder(CSIDL_RECENT) + quote};
    if (name == "Windows Shortcuts") return {"dir /s /b C:\\*.lnk", "dir /s /b D:\\*.lnk"};
    return {};
}

size_t entryText(const std::vector<TaskEntry*>& entries) {
    size_t bytes = 0;
    for (const TaskEntry* entry : entries) {
        for (const std::string& field : entry->fields) bytes += field.size();
        bytes += entry->data.size();
    }
    return bytes;
}

int run() {
    int messages = 0;
    win::setMessageBoxHandler([&messages](const win::MessageBoxRequest& request) {
        if (++messages <= 5) std::printf("  (message: %s)\n", request.text.c_str());
        return request.flags & MB_YESNO ? IDYES : IDOK;
    });
    const size_t base = peakWorkingSet();
    const size_t heapBase = heapInUse.load();
    heapPeakSinceLast();
    size_t scanHeapPeak = heapBase;
    sysrepair::createCategories();
    sysrepair::TaskManager* manager = sysrepair::TaskManager::instance();
    sysrepair::DriveTable::destroy();
    manager->clearSeen();

    std::vector<ITask*> categories;
    std::vector<CategoryFigures> figures;
    std::printf("%-22s %9s %9s %9s %10s   %s\n", "category", "scan s", "problems", "entries",
                "heap MB", "platform's enumeration");
    for (uint32_t i = 0; i < manager->taskCount(); ++i) {
        ITask* task = manager->taskAt(i);
        categories.push_back(task);
        task->reset();
        CategoryFigures f;
        f.name = task->name();
        const Clock::time_point start = Clock::now();
        task->scan();
        f.seconds = secondsSince(start);
        std::vector<TaskEntry*> entries;
        task->getEntries(entries);
        f.entries = entries.size();
        f.problems = task->problemCount();
        f.peak = heapPeakSinceLast();
        scanHeapPeak = std::max(scanHeapPeak, f.peak);
        for (const std::string& command : referenceCommands(f.name)) {
            const double seconds = timeCommand(command);
            f.reference += seconds;
            f.referenceText += (f.referenceText.empty() ? "" : " + ") + command;
        }
        std::printf("%-22s %9.2f %9u %9zu %10.1f   %.2f s (%s)\n", f.name.c_str(), f.seconds,
                    f.problems, f.entries, megabytes(f.peak), f.reference, f.referenceText.c_str());
        std::fflush(stdout);
        figures.push_back(f);
    }
    double scanSeconds = 0, referenceSeconds = 0;
    size_t entryCount = 0;
    std::vector<TaskEntry*> all;
    for (size_t i = 0; i < figures.size(); ++i) {
        scanSeconds += figures[i].seconds;
        referenceSeconds += figures[i].reference;
        entryCount += figures[i].entries;
        std::vector<TaskEntry*> entries;
        categories[i]->getEntries(entries);
        all.insert(all.end(), entries.begin(), entries.end());
    }
    sysrepair::DriveTable* table = sysrepair::DriveTable::existing();
    size_t tableText = 0;
    const size_t tablePaths = table ? table->fileCount() : 0;
    for (size_t i = 0; i < tablePaths; ++i) tableText += table->fileAt(i).size();
    const size_t foundText = entryText(all) + tableText;
    const size_t scanPeak = peakWorkingSet();
    std::printf("%-22s %9.2f %9s %9zu %10.1f   %.2f s, ratio %.2f\n", "whole scan", scanSeconds, "",
                entryCount, megabytes(scanHeapPeak), referenceSeconds,
                referenceSeconds > 0 ? scanSeconds / referenceSeconds : 0.0);
    std::printf(
        "memory: heap %.1f MB before the scan, peak %.1f MB; text found %.1f MB (%zu table "
        "paths, %zu entries); (peak - before) / text = %.2f; working set %.1f MB before, "
        "peak %.1f MB\n",
        megabytes(heapBase), megabytes(scanHeapPeak), megabytes(foundText), tablePaths, all.size(),
        foundText ? double(scanHeapPeak - heapBase) / foundText : 0.0, megabytes(base),
        megabytes(scanPeak));
    std::fflush(stdout);

    // The files, keys and values a repair backs up, copied plainly.
    std::vector<TaskEntry*> backedUp;
    for (size_t i = 0; i < figures.size(); ++i) {
        if (figures[i].name == "Internet Cleaner") continue;
        std::vector<TaskEntry*> entries;
        categories[i]->getEntries(entries);
        backedUp.insert(backedUp.end(), entries.begin(), entries.end());
    }
    double deleteSeconds = 0;
    FlushFigures flushes;
    const double copySeconds =
        timePlainCopy(backedUp, "C:\\mendora-bench-copy", deleteSeconds, flushes);
    const double floorSeconds = copySeconds + deleteSeconds;
    std::printf("plain copy of the %zu backed-up entries: %.2f s; del of the copies: %.2f s\n",
                backedUp.size(), copySeconds, deleteSeconds);
    std::printf("putting the copies on the disk: one flush per copy %.2f s; ", flushes.perFile);
    if (flushes.volume < 0)
        std::printf("the volume cannot be flushed here\n");
    else
        std::printf("one flush of the volume %.2f s\n", flushes.volume);

    heapPeakSinceLast();
    sysrepair::RepairEngine engine;
    QuietWorking working;
    Clock::time_point start = Clock::now();
    if (!sysrepair::makeRepairs(categories, engine, working)) {
        std::fprintf(stderr, "the repair engine was not found in the install folder\n");
        return 1;
    }
    const double repairSeconds = secondsSince(start);
    std::printf(
        "repair:  %.2f s for %zu entries (%zu backed up), heap peak %.1f MB; %.2fx the plain "
        "copy, %.2fx copy and delete\n",
        repairSeconds, all.size(), backedUp.size(), megabytes(heapPeakSinceLast()),
        copySeconds > 0 ? repairSeconds / copySeconds : 0.0,
        floorSeconds > 0 ? repairSeconds / floorSeconds : 0.0);
    std::fflush(stdout);

    start = Clock::now();
    const sysrepair::SlotBackup backup = sysrepair::readNewestBackup();
    const sysrepair::RestoreResult result = sysrepair::restoreBackup(backup);
    const double restoreSeconds = secondsSince(start);
    std::printf(
        "restore: %.2f s, %u entries back, %zu not, %u damaged reports, heap peak %.1f MB; "
        "%.2fx the plain copy, %.2fx copy and delete\n",
        restoreSeconds, result.restored, result.notRestored.size(), result.damagedReports,
        megabytes(heapPeakSinceLast()), copySeconds > 0 ? restoreSeconds / copySeconds : 0.0,
        floorSeconds > 0 ? restoreSeconds / floorSeconds : 0.0);
    for (size_t i = 0; i < result.notRestored.size() && i < 5; ++i)
        std::printf("  not restored: %s\n", result.notRestored[i].what.c_str());
    std::printf(
        "RESULT scan %.2f %.2f repair %.2f restore %.2f copy %.2f del %.2f entries %zu peak %.1f "
        "base %.1f text %.1f flush %.2f %.2f\n",
        scanSeconds, referenceSeconds, repairSeconds, restoreSeconds, copySeconds, deleteSeconds,
        all.size(), megabytes(scanHeapPeak), megabytes(heapBase), megabytes(foundText),
        flushes.perFile, flushes.volume);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "folders") return printFolders();
    if (mode == "shortcuts" && argc > 2) return makeShortcuts(argv[2]);
    if (mode == "run") return run();
    std::fprintf(stderr, "usage: scan_bench.exe folders | shortcuts FILE | run\n");
    return 2;
}
