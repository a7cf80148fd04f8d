// The backup index and the reports survive a writer that dies at any moment:
// a child process writes them over and over, and is killed at random
// moments, 200 times. After each kill the index reads back as the old or the
// new list, never a damaged one, and each report is complete or absent.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/tests/support/child_process.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/test_files.h"
#include "repair/backup_index.h"
#include "repair/backup_reports.h"
#include "scan/task_entry.h"

using sysrepair::BackupIndex;
using sysrepair::TaskEntry;

namespace {

const char kFolderVariable[] = "MENDORA_CRASH_TEST_FOLDER";
const char kReadyVariable[] = "MENDORA_CRASH_TEST_READY";
constexpr size_t kReportEntries = 400;

std::string environment(const char* name) {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

// The two lists the writer alternates between; they differ in length and
// in every text, so that any mixture of the two is told apart.
BackupIndex indexList(int which, const std::string& folder) {
    BackupIndex index;
    const int count = which == 0 ? 3 : 17;
    for (int i = 0; i < count; ++i)
        index.add(
            {1700000000 + i * 60 + which, folder + "bak\\" + std::to_string(i),
             std::string(40 + which * 7, static_cast<char>('a' + which)) + std::to_string(i)});
    return index;
}

std::vector<TaskEntry> reportEntries() {
    std::vector<TaskEntry> entries(kReportEntries);
    for (size_t i = 0; i < entries.size(); ++i) {
        // Folders: backed up as named, with no question to the platform.
        entries[i].type = sysrepair::EntryFolder;
        entries[i].fields = {"C:\\Mendora crash test\\" + std::string(60, 'k') + std::to_string(i)};
    }
    return entries;
}

// The names of a folder's files that end with the suffix.
std::vector<std::string> filesEndingWith(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::vector<std::string> reportsIn(const std::string& slot) {
    return filesEndingWith(slot, ".srb");
}

// Writes the index and the reports of two slots for ever, telling the test
// when the first write begins.
CHILD_SCENARIO(writeBackupsForever) {
    const std::string folder = environment(kFolderVariable);
    std::vector<TaskEntry> entries = reportEntries();
    std::vector<TaskEntry*> pointers;
    for (TaskEntry& e : entries) pointers.push_back(&e);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, environment(kReadyVariable).c_str());
    if (ready) SetEvent(ready);
    for (int round = 0;; ++round) {
        const std::string slot = folder + "bak\\" + std::to_string(round % 2) + "\\";
        for (const std::string& name : reportsIn(slot)) DeleteFileA((slot + name).c_str());
        sysrepair::writeReport(pointers, "Crash Test", slot);
        indexList(round % 2 == 0 ? 1 : 0, folder).write(folder + "bak\\index.vsi");
    }
}

TEST(CrashSafety, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewBackups) {
    testing_support::ScopedTestFolder folder;
    const std::string bak = folder.path() + "bak\\";
    for (const char* slot : {"0", "1"}) {
        CreateDirectoryA(bak.c_str(), nullptr);
        CreateDirectoryA((bak + slot).c_str(), nullptr);
        CreateDirectoryA((bak + slot + "\\files").c_str(), nullptr);
    }
    ASSERT_TRUE(indexList(0, folder.path()).write(bak + "index.vsi"));
    const std::string readyName = "MendoraCrashTestReady-" + std::to_string(GetCurrentProcessId());
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    ASSERT_NE(ready, nullptr);
    SetEnvironmentVariableA(kFolderVariable, folder.path().c_str());
    SetEnvironmentVariableA(kReadyVariable, readyName.c_str());

    const std::deque<BackupIndex::BackupEntry> lists[2] = {indexList(0, folder.path()).entries(),
                                                           indexList(1, folder.path()).entries()};
    auto sameList = [](const BackupIndex& read, const std::deque<BackupIndex::BackupEntry>& list) {
        if (read.size() != list.size()) return false;
        for (size_t i = 0; i < list.size(); ++i) {
            const BackupIndex::BackupEntry& e = read.at(i);
            if (e.time != list[i].time || e.folder != list[i].folder ||
                e.summary != list[i].summary)
                return false;
        }
        return true;
    };

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delay(0, 40);
    int killedMidWrite = 0;
    int reportsSeen = 0;
    const std::string program =
        testing_support::ownProgramFolder() + testing_support::ownProgramName();
    for (int kill = 0; kill < 200; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        ResetEvent(ready);
        testing_support::ProgramProcess writer(program, "--child=writeBackupsForever");
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
        Sleep(static_cast<DWORD>(delay(random)));
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, writer.id());
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 9);
        ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
        CloseHandle(process);

        BackupIndex index;
        ASSERT_TRUE(index.read(bak + "index.vsi"));
        EXPECT_TRUE(sameList(index, lists[0]) || sameList(index, lists[1])) << index.size();
        if (testing_support::fileExists(bak + "index.vsi.new")) ++killedMidWrite;
        for (const char* slot : {"0\\", "1\\"}) {
            const std::vector<std::string> reports = reportsIn(bak + slot);
            ASSERT_LE(reports.size(), 1u);
            for (const std::string& name : reports) {
                std::vector<TaskEntry> read;
                std::string category;
                ASSERT_TRUE(sysrepair::readReport(bak + slot + name, read, category));
                EXPECT_EQ(read.size(), kReportEntries) << name;
                ++reportsSeen;
            }
            if (!filesEndingWith(bak + slot, ".new").empty()) ++killedMidWrite;
        }
    }
    CloseHandle(ready);
    // The kills fell into the writes, not only between them.
    EXPECT_GT(killedMidWrite, 0);
    EXPECT_GT(reportsSeen, 0);
    std::printf("200 kills: %d in the middle of a write, %d complete reports read\n",
                killedMidWrite, reportsSeen);
}

}  // namespace
