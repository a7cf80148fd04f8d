// "Make Repairs" with the real engine, on problems that the tests plant.
#include "repair/repair_run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"
#include "repair/backup_reports.h"
#include "repair/settings.h"
#include "scan/task_manager.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

const int64_t kMargin = 102400000;

// A category whose problems a test chooses.
class PlantedCategory : public BasicTask {
public:
    PlantedCategory(std::string name, std::string description)
        : name_(std::move(name)), description_(std::move(description)) {}
    std::string name() override { return name_; }
    std::string description() override { return description_; }
    bool scan() override { return true; }
    uint32_t problemCount() override {
        const uint32_t n = BasicTask::problemCount();
        return name_ == "Internet Cleaner" ? (n > 0 ? 1 : 0) : n;
    }
    void plant(const TaskEntry& entry) {
        TaskManager::instance()->clearSeen();
        addEntry(std::make_unique<TaskEntry>(entry));
    }
    void clear() { clearEntries(); }

private:
    std::string name_, description_;
};

PlantedCategory& files() {
    static PlantedCategory* c = new PlantedCategory("Test Files", "Unused Test Files");
    return *c;
}
PlantedCategory& values() {
    static PlantedCategory* c = new PlantedCategory("Test Values", "Missing Test Values");
    return *c;
}
PlantedCategory& internet() {
    static PlantedCategory* c = new PlantedCategory("Internet Cleaner", "Unused Internet Files");
    return *c;
}

TaskEntry fileEntry(const std::string& path) {
    TaskEntry e;
    e.fields = {path};
    return e;
}

// The working window as the repair shows it: what still existed on disk when
// it appeared, and what the user had been told when it went.
class RecordingWorkingWindow : public WorkingView {
public:
    explicit RecordingWorkingWindow(const std::vector<win::MessageBoxRequest>& shown)
        : shown_(shown) {}
    void show() override {
        ++shows;
        fileExistedAtShow = watched.empty() || fileExists(watched);
    }
    void hide() override {
        ++hides;
        messagesBeforeHide = shown_.size();
    }

    std::string watched;
    int shows = 0, hides = 0;
    bool fileExistedAtShow = false;
    size_t messagesBeforeHide = 0;

private:
    const std::vector<win::MessageBoxRequest>& shown_;
};

class RepairRun : public ::testing::Test {
protected:
    void SetUp() override {
        releaseSettings();
        ASSERT_TRUE(CopyFileA((testing_support::ownProgramFolder() + "rptrnr.dll").c_str(),
                              (install.path() + "rptrnr.dll").c_str(), FALSE));
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            return IDOK;
        });
        setFreeSpaceQuery([this](const std::string&, uint64_t& bytes) {
            bytes = freeSpace;
            return spaceKnown;
        });
        for (PlantedCategory* c : {&files(), &values(), &internet()}) c->clear();
    }
    void TearDown() override {
        win::setMessageBoxHandler(nullptr);
        setFreeSpaceQuery(nullptr);
        releaseSettings();
    }

    bool repair(const std::vector<ITask*>& categories) {
        return makeRepairs(categories, engine, working);
    }
    std::string lastSummary() { return getSettings()->backups().at(0).summary; }
    size_t backupCount() { return getSettings()->backups().size(); }

    ScopedTestFolder install;
    ScopedAppPathsEntry installEntry{useOwnInstallEntry(), install.path()};
    ScopedTestFolder work;
    RepairEngine engine;
    std::vector<win::MessageBoxRequest> shown;
    RecordingWorkingWindow working{shown};
    uint64_t freeSpace = uint64_t(1) << 40;
    bool spaceKnown = true;
};

TEST_F(RepairRun, BacksUpThenRemovesExactlyWhatWasFound) {
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) {
        writeFile(work.path() + name, std::string("contents of ") + name);
        files().plant(fileEntry(work.path() + name));
    }
    writeFile(work.path() + "kept.tmp", "kept");
    ScopedTestKey key;
    key.setString("gone", "value");
    key.setString("kept", "value");
    TaskEntry value;
    value.fields = {"HKEY_CURRENT_USER", key.path(), "gone"};
    value.setRawValue(REG_SZ, "value", 6);
    values().plant(value);
    TaskEntry subkey;
    subkey.type = EntryRegKey;
    subkey.fields = {"HKEY_CURRENT_USER", key.path() + "\\Sub"};
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(subkey.fields[1]);
    reg.writeInt(1, "n");
    // The key's value is listed before it, as a scan lists a key's tree.
    TaskEntry inSubkey;
    inSubkey.fields = {"HKEY_CURRENT_USER", subkey.fields[1], "n"};
    const uint32_t one = 1;
    inSubkey.setRawValue(REG_DWORD, &one, sizeof one);
    values().plant(inSubkey);
    values().plant(subkey);

    working.watched = work.path() + "a.tmp";
    ASSERT_TRUE(repair({&files(), &values()}));
    EXPECT_FALSE(engine.isBound());
    // The working window came before the engine and went before the message.
    EXPECT_EQ(working.shows, 1);
    EXPECT_EQ(working.hides, 1);
    EXPECT_TRUE(working.fileExistedAtShow);
    EXPECT_EQ(working.messagesBeforeHide, 0u);

    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"})
        EXPECT_FALSE(fileExists(work.path() + name));
    EXPECT_TRUE(fileExists(work.path() + "kept.tmp"));
    reg.setKey(key.path());
    EXPECT_FALSE(reg.valueExists("gone"));
    EXPECT_TRUE(reg.valueExists("kept"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, subkey.fields[1]));

    EXPECT_EQ(lastSummary(), "3 Unused Test Files, 3 Missing Test Values");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Congratulations!\n\nThere were 6 problems fixed on your system!");
    EXPECT_EQ(shown[0].caption, "Mendora");

    // The backup reads back to the same problems, with the file copies.
    std::vector<std::vector<TaskEntry>> lists;
    std::vector<std::string> names;
    ASSERT_TRUE(loadReports(install.path() + "bak\\0", lists, names));
    ASSERT_EQ(names.size(), 2u);
    size_t fileReports = names[0] == "Test Files" ? 0 : 1;
    ASSERT_EQ(lists[fileReports].size(), 3u);
    for (const TaskEntry& e : lists[fileReports]) {
        ASSERT_EQ(e.fields.size(), 2u);
        EXPECT_EQ(readFile(e.fields[1]), "contents of " + e.fields[0].substr(work.path().size()));
    }
    EXPECT_EQ(lists[1 - fileReports].size(), 3u);
}

TEST_F(RepairRun, FreeSpaceOfExactlyTheNeedIsEnough) {
    writeFile(work.path() + "big.tmp", std::string(5000, 'x'));
    files().plant(fileEntry(work.path() + "big.tmp"));
    const int64_t needed = 5000 + 100 + kMargin;
    std::vector<TaskEntry*> list;
    files().getEntries(list);
    EXPECT_EQ(estimatedBackupSize(list), 5100);

    freeSpace = needed - 1;
    ASSERT_TRUE(repair({&files()}));
    EXPECT_TRUE(fileExists(work.path() + "big.tmp"));
    EXPECT_EQ(working.hides, 1);
    EXPECT_EQ(working.messagesBeforeHide, 0u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "You don't have enough free disk space to perform the operation");
    EXPECT_EQ(shown[0].caption, "Out of disk space");
    EXPECT_EQ(shown[0].owner, nullptr);
    // Refused before anything was backed up: no backup is recorded.
    EXPECT_EQ(backupCount(), 0u);

    shown.clear();
    freeSpace = needed;
    ASSERT_TRUE(repair({&files()}));  // the engine is bound afresh
    EXPECT_FALSE(fileExists(work.path() + "big.tmp"));
    EXPECT_EQ(lastSummary(), "1 Unused Test Files");
    EXPECT_EQ(backupCount(), 1u);
}

TEST_F(RepairRun, AnUnknownFreeSpaceRefusesTheRepair) {
    writeFile(work.path() + "a.tmp", "a");
    files().plant(fileEntry(work.path() + "a.tmp"));
    spaceKnown = false;
    ASSERT_TRUE(repair({&files()}));
    EXPECT_TRUE(fileExists(work.path() + "a.tmp"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Out of disk space");
}

TEST_F(RepairRun, NoBackupAndNothingRemovedTakeNoSlot) {
    // All thirty slots hold backups; the oldest would be the next to go.
    for (int i = 0; i < 30; ++i) getSettings()->addBackup(1000 + i, "backup " + std::to_string(i));
    writeFile(install.path() + "bak\\0\\old.srb", "the oldest backup");
    writeFile(work.path() + "page1.htm", "1");
    writeFile(work.path() + "page2.htm", "2");
    internet().plant(fileEntry(work.path() + "page1.htm"));
    internet().plant(fileEntry(work.path() + "page2.htm"));

    ASSERT_TRUE(repair({&files(), &internet()}));
    EXPECT_FALSE(fileExists(work.path() + "page1.htm"));
    EXPECT_FALSE(fileExists(work.path() + "page2.htm"));
    // Nothing was backed up, so no backup was given up for it.
    EXPECT_TRUE(fileExists(install.path() + "bak\\0\\old.srb"));
    EXPECT_EQ(backupCount(), 30u);
    EXPECT_EQ(lastSummary(), "backup 29");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Congratulations!\n\nThere were 1 problems fixed on your system!");

    // Neither does a repair that could back nothing up (the file is gone),
    // nor one that backed up a file it then could not remove.
    files().plant(fileEntry(work.path() + "gone.tmp"));
    ASSERT_TRUE(repair({&files()}));
    files().clear();
    writeFile(work.path() + "held.tmp", "h");
    files().plant(fileEntry(work.path() + "held.tmp"));
    win::FileHandle held(CreateFileA((work.path() + "held.tmp").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
    ASSERT_TRUE(repair({&files()}));
    EXPECT_TRUE(fileExists(work.path() + "held.tmp"));
    EXPECT_EQ(readFile(install.path() + "bak\\0\\old.srb"), "the oldest backup");
    EXPECT_FALSE(folderExists(install.path() + "bak\\0.old"));
    EXPECT_EQ(backupCount(), 30u);
    EXPECT_EQ(getSettings()->backups().back().summary, "backup 0");
    EXPECT_EQ(getSettings()->backups().back().folder, install.path() + "bak\\0");
}

TEST_F(RepairRun, NothingFoundMeansNoCallNoMessageAndNoBackup) {
    ASSERT_TRUE(repair({&files(), &values()}));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(backupCount(), 0u);
}

TEST_F(RepairRun, AFileWhoseCopyFailedIsLeftAlone) {
    writeFile(work.path() + "safe.tmp", "s");
    files().plant(fileEntry(work.path() + "safe.tmp"));
    getSettings();
    // Without the slot's files folder no copy can be made.
    removeTree(install.path() + "bak\\0\\files");
    ASSERT_TRUE(repair({&files()}));
    EXPECT_TRUE(fileExists(work.path() + "safe.tmp"));
    EXPECT_EQ(backupCount(), 0u);
    // Not a silent return to the welcome panel: the user learns why.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "No problems were fixed: none of them could be backed up, and Mendora changes "
              "nothing it cannot undo.\n\nLeft as they are:\n- 1 had changed since the scan or "
              "could not be backed up");
    EXPECT_EQ(shown[0].caption, "Mendora");
}

TEST_F(RepairRun, TheMessageCountsWhatTheEngineRemoved) {
    for (const char* name : {"a.tmp", "b.tmp", "held.tmp"}) {
        writeFile(work.path() + name, name);
        files().plant(fileEntry(work.path() + name));
    }
    // Another program holds one file open without letting it be deleted.
    win::FileHandle held(CreateFileA((work.path() + "held.tmp").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
    ASSERT_TRUE(held.valid());
    ASSERT_TRUE(repair({&files()}));
    EXPECT_TRUE(fileExists(work.path() + "held.tmp"));
    EXPECT_EQ(lastSummary(), "2 Unused Test Files");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "Congratulations!\n\nThere were 2 problems fixed on your system!\n\nLeft as they "
              "are:\n- 1 could not be removed (in use, or no rights)");
    // The backup holds what was removed, not the file that stayed.
    std::vector<std::vector<TaskEntry>> lists;
    std::vector<std::string> names;
    ASSERT_TRUE(loadReports(install.path() + "bak\\0", lists, names));
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 2u);
    for (const TaskEntry& e : lists[0]) EXPECT_NE(e.path(), work.path() + "held.tmp");

    // Nothing removable at all: said so, nothing counted.
    held.reset();
    files().clear();
    writeFile(work.path() + "locked.tmp", "l");
    files().plant(fileEntry(work.path() + "locked.tmp"));
    held.reset(CreateFileA((work.path() + "locked.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    shown.clear();
    ASSERT_TRUE(repair({&files()}));
    // A backup of nothing removed is dropped; the earlier one stays newest.
    EXPECT_EQ(backupCount(), 1u);
    EXPECT_EQ(lastSummary(), "2 Unused Test Files");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "No problems were fixed: the repair engine could not remove any of them.\n\nLeft "
              "as they are:\n- 1 could not be removed (in use, or no rights)");
}

TEST_F(RepairRun, AMissingOrUnusableEngineStopsBeforeAnyBackup) {
    writeFile(work.path() + "a.tmp", "a");
    files().plant(fileEntry(work.path() + "a.tmp"));
    DeleteFileA((install.path() + "rptrnr.dll").c_str());
    EXPECT_FALSE(repair({&files()}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Invalid version installed.");
    EXPECT_EQ(shown[0].caption, "Mendora Error");
    EXPECT_EQ(shown[0].flags, UINT(MB_OK | MB_ICONQUESTION));

    writeFile(install.path() + "rptrnr.dll", "no library");
    EXPECT_FALSE(repair({&files()}));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Invalid version installed!");
    EXPECT_TRUE(fileExists(work.path() + "a.tmp"));
    EXPECT_EQ(backupCount(), 0u);
}

}  // namespace
