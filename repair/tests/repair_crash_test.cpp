// A repair that dies at any moment leaves a backup that brings back all it
// removed: a child process repairs files, values and a key tree with the
// real engine and is killed at random moments, many of them while the engine
// runs; after each kill a fresh start and a restore must give every file,
// value and key back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "repair/repair_run.h"
#include "repair/restore_run.h"
#include "repair/settings.h"
#include "scan/task_manager.h"

using namespace sysrepair;

namespace {

const char kFilesVariable[] = "MENDORA_REPAIR_CRASH_FILES";
const char kKeyVariable[] = "MENDORA_REPAIR_CRASH_KEY";
constexpr int kFiles = 300;
constexpr int kValues = 30;
constexpr int kSubkeys = 3;

std::string environment(const char* name) {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

std::string fileName(int i) {
    return "f" + std::to_string(i) + ".tmp";
}
std::string fileContents(int i) {
    return std::string(static_cast<size_t>(200 + 7 * i), static_cast<char>('a' + i % 26)) +
           std::to_string(i);
}
std::string valueName(int i) {
    return "v" + std::to_string(i);
}
std::string valueContents(int i) {
    return "value " + std::to_string(i) + std::string(1, '\0');
}

// The problems of one run, as a scan lists them.
class Planted : public BasicTask {
public:
    explicit Planted(std::string name) : name_(std::move(name)) {}
    std::string name() override { return name_; }
    std::string description() override { return "Planted " + name_; }
    bool scan() override { return true; }
    void plant(std::unique_ptr<TaskEntry> entry) { addEntry(std::move(entry)); }

private:
    std::string name_;
};

Planted& plantedFiles() {
    static Planted* c = new Planted("Crash Files");
    return *c;
}
Planted& plantedValues() {
    static Planted* c = new Planted("Crash Values");
    return *c;
}

void plantAll(const std::string& folder, const std::string& key) {
    TaskManager::instance()->clearSeen();
    for (int i = 0; i < kFiles; ++i) {
        auto e = std::make_unique<TaskEntry>();
        e->fields = {folder + fileName(i)};
        WIN32_FILE_ATTRIBUTE_DATA found;
        if (GetFileAttributesExA(e->path().c_str(), GetFileExInfoStandard, &found)) {
            e->fileChecks = FileStampKnown;
            e->fileSize = found.nFileSizeLow;
            e->lastWrite = (uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) |
                           found.ftLastWriteTime.dwLowDateTime;
        }
        plantedFiles().plant(std::move(e));
    }
    for (int i = 0; i < kValues; ++i) {
        auto e = std::make_unique<TaskEntry>();
        e->fields = {"HKEY_CURRENT_USER", key, valueName(i)};
        const std::string data = valueContents(i);
        e->setRawValue(REG_SZ, data.data(), static_cast<int32_t>(data.size()));
        plantedValues().plant(std::move(e));
    }
    // A key tree: its subkeys' values, the subkeys, the key.
    for (int s = 0; s < kSubkeys; ++s) {
        const std::string subkey = key + "\\Tree\\Sub" + std::to_string(s);
        for (int i = 0; i < 2; ++i) {
            auto e = std::make_unique<TaskEntry>();
            e->fields = {"HKEY_CURRENT_USER", subkey, valueName(i)};
            const std::string data = valueContents(100 * s + i);
            e->setRawValue(REG_SZ, data.data(), static_cast<int32_t>(data.size()));
            plantedValues().plant(std::move(e));
        }
        auto k = std::make_unique<TaskEntry>();
        k->type = EntryRegKey;
        k->fields = {"HKEY_CURRENT_USER", subkey};
        plantedValues().plant(std::move(k));
    }
    auto tree = std::make_unique<TaskEntry>();
    tree->type = EntryRegKey;
    tree->fields = {"HKEY_CURRENT_USER", key + "\\Tree"};
    plantedValues().plant(std::move(tree));
}

class QuietWorking : public WorkingView {
public:
    void show() override {}
    void hide() override {}
};

// One whole repair of what the parent planted.
CHILD_SCENARIO(repairPlanted) {
    useOwnInstallEntry();
    win::setMessageBoxHandler([](const win::MessageBoxRequest&) { return IDOK; });
    setFreeSpaceQuery([](const std::string&, uint64_t& bytes) {
        bytes = 1ull << 50;
        return true;
    });
    plantAll(environment(kFilesVariable), environment(kKeyVariable));
    RepairEngine engine;
    QuietWorking working;
    makeRepairs({&plantedFiles(), &plantedValues()}, engine, working);
    std::printf("repaired\n");
}

void writeOriginals(const std::string& folder, const std::string& key) {
    for (int i = 0; i < kFiles; ++i)
        testing_support::writeFile(folder + fileName(i), fileContents(i));
    testing_support::deleteKeyTree(HKEY_CURRENT_USER, key);
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key);
    for (int i = 0; i < kValues; ++i) {
        const std::string data = valueContents(i);
        reg.writeRaw(data.data(), REG_SZ, static_cast<DWORD>(data.size()), valueName(i));
    }
    for (int s = 0; s < kSubkeys; ++s) {
        reg.setKey(key + "\\Tree\\Sub" + std::to_string(s));
        for (int i = 0; i < 2; ++i) {
            const std::string data = valueContents(100 * s + i);
            reg.writeRaw(data.data(), REG_SZ, static_cast<DWORD>(data.size()), valueName(i));
        }
    }
}

bool valueIs(const std::string& key, const std::string& name, const std::string& expected) {
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key);
    char data[256] = {};
    DWORD type = 0, size = sizeof data;
    return reg.readRaw(data, type, size, name) == ERROR_SUCCESS && type == REG_SZ &&
           std::string(data, size) == expected;
}

// The originals that are missing or changed, by name.
std::vector<std::string> missingOriginals(const std::string& folder, const std::string& key) {
    std::vector<std::string> missing;
    for (int i = 0; i < kFiles; ++i)
        if (!testing_support::fileExists(folder + fileName(i)) ||
            testing_support::readFile(folder + fileName(i)) != fileContents(i))
            missing.push_back(fileName(i));
    for (int i = 0; i < kValues; ++i)
        if (!valueIs(key, valueName(i), valueContents(i))) missing.push_back(valueName(i));
    for (int s = 0; s < kSubkeys; ++s)
        for (int i = 0; i < 2; ++i)
            if (!valueIs(key + "\\Tree\\Sub" + std::to_string(s), valueName(i),
                         valueContents(100 * s + i)))
                missing.push_back("Sub" + std::to_string(s) + "\\" + valueName(i));
    return missing;
}

TEST(RepairCrash, AKillAtAnyMomentLeavesABackupThatBringsEverythingBack) {
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry entry(useOwnInstallEntry(), install.path());
    ASSERT_TRUE(CopyFileA((testing_support::ownProgramFolder() + "rptrnr.dll").c_str(),
                          (install.path() + "rptrnr.dll").c_str(), FALSE));
    testing_support::ScopedTestFolder files;
    testing_support::ScopedTestKey key;
    SetEnvironmentVariableA(kFilesVariable, files.path().c_str());
    SetEnvironmentVariableA(kKeyVariable, key.path().c_str());
    win::setMessageBoxHandler([](const win::MessageBoxRequest&) { return IDOK; });
    plantedFiles();  // a category is registered, as the restore needs

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> fromStart(0, 900);
    std::uniform_int_distribution<int> intoEngine(0, 60);
    const std::string program =
        testing_support::ownProgramFolder() + testing_support::ownProgramName();
    int duringEngine = 0, beforeEngine = 0, afterRepair = 0;
    const int kills = 100;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        releaseSettings();
        testing_support::removeTree(install.path() + "bak");
        writeOriginals(files.path(), key.path());

        testing_support::ProgramProcess repair(program, "--child=repairPlanted");
        ASSERT_TRUE(repair.started()) << "error " << repair.startError();
        if (kill % 2 == 0) {
            Sleep(static_cast<DWORD>(fromStart(random)));
        } else {
            // Into the engine's work: once the first file is gone.
            for (int wait = 0; wait < 20000 && repair.exitCode(0) == STILL_ACTIVE &&
                               testing_support::fileExists(files.path() + fileName(0));
                 ++wait)
                Sleep(1);
            Sleep(static_cast<DWORD>(intoEngine(random)));
        }
        win::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, repair.id()));
        if (process) {
            TerminateProcess(process.get(), 9);
            WaitForSingleObject(process.get(), 30000);
        }
        const size_t missing = missingOriginals(files.path(), key.path()).size();
        const size_t total = kFiles + kValues + 2 * kSubkeys;
        if (missing == 0)
            ++beforeEngine;
        else if (missing < total)
            ++duringEngine;
        else
            ++afterRepair;

        // A fresh start, then Restore.
        Settings* settings = getSettings();
        if (!settings->backups().empty()) {
            const SlotBackup backup = readNewestBackup();
            const RestoreResult result = restoreBackup(backup);
            EXPECT_TRUE(result.complete()) << result.notRestored.size() << " not restored";
        }
        const std::vector<std::string> stillMissing = missingOriginals(files.path(), key.path());
        EXPECT_TRUE(stillMissing.empty()) << stillMissing.size() << " not back, the first "
                                          << (stillMissing.empty() ? "" : stillMissing.front());
        for (int s = 0; s < kSubkeys; ++s)
            EXPECT_TRUE(testing_support::keyExists(HKEY_CURRENT_USER,
                                                   key.path() + "\\Tree\\Sub" + std::to_string(s)));
        if (HasFailure()) break;
    }
    releaseSettings();
    win::setMessageBoxHandler(nullptr);
    std::printf("%d kills: %d before anything was removed, %d while the engine ran, %d after it\n",
                kills, beforeEngine, duringEngine, afterRepair);
    EXPECT_GE(duringEngine, kills / 10);
    EXPECT_GT(beforeEngine, 0);
}

}  // namespace
