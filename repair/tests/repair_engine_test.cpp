#include "repair/repair_engine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/registry_reader_writer.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

TaskEntry entry(uint8_t type, std::vector<std::string> fields) {
    TaskEntry e;
    e.type = type;
    e.fields = std::move(fields);
    return e;
}

TEST(RepairEngine, RemovesWhatEachEntryNames) {
    ScopedTestFolder folder;
    writeFile(folder.path() + "old.tmp", "x");
    writeFile(folder.path() + "readonly.tmp", "x");
    SetFileAttributesA((folder.path() + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    writeFile(folder.path() + "kept.tmp", "x");
    CreateDirectoryA((folder.path() + "empty").c_str(), nullptr);

    ScopedTestKey key;
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key.path() + "\\Class\\InProcServer32\\deep");
    reg.writeString("x", "v");
    reg.setKey(key.path());
    reg.writeString("font", "gone");
    reg.writeString("bytes", "raw");
    reg.writeString("stays", "kept");

    TaskEntry entries[] = {
        entry(EntryFile, {folder.path() + "old.tmp"}),
        entry(EntryFile, {folder.path() + "readonly.tmp"}),
        entry(EntryFolder, {folder.path() + "empty"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", key.path() + "\\Class"}),
        entry(EntryRegText, {"HKEY_CURRENT_USER", key.path(), "gone", "STRING", "font"}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path(), "raw"}),
    };
    std::vector<TaskEntry*> list;
    for (TaskEntry& e : entries) list.push_back(&e);

    RepairEngine engine;
    ASSERT_EQ(engine.bind(testing_support::ownProgramFolder()), RepairEngine::Binding::Bound);
    EXPECT_EQ(engine.runReport(list), 6);
    engine.unbind();

    EXPECT_FALSE(fileExists(folder.path() + "old.tmp"));
    EXPECT_FALSE(fileExists(folder.path() + "readonly.tmp"));
    EXPECT_FALSE(folderExists(folder.path() + "empty"));
    EXPECT_TRUE(fileExists(folder.path() + "kept.tmp"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key.path() + "\\Class"));
    EXPECT_FALSE(reg.valueExists("gone"));
    EXPECT_FALSE(reg.valueExists("raw"));
    EXPECT_TRUE(reg.valueExists("kept"));
    // The list is the caller's and stays as it was.
    EXPECT_EQ(entries[3].fields[1], key.path() + "\\Class");
}

TEST(RepairEngine, MalformedEntriesAreSkippedAndTheRootIsNeverDeleted) {
    ScopedTestKey key;
    TaskEntry entries[] = {
        entry(EntryRegKey, {"HKEY_CURRENT_USER"}),      // no key path
        entry(EntryRegKey, {"HKEY_CURRENT_USER", ""}),  // the root itself
        entry(EntryRegText, {"HKEY_CURRENT_USER", key.path()}),
        entry(9, {"x"}),
    };
    std::vector<TaskEntry*> list;
    for (TaskEntry& e : entries) list.push_back(&e);
    RepairEngine engine;
    ASSERT_EQ(engine.bind(testing_support::ownProgramFolder()), RepairEngine::Binding::Bound);
    EXPECT_EQ(engine.runReport(list), 0);
    EXPECT_EQ(engine.runReport({}), 0);
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key.path()));
}

TEST(RepairEngine, BindingReportsAMissingOrUnusableLibrary) {
    ScopedTestFolder folder;
    RepairEngine engine;
    EXPECT_EQ(engine.bind(folder.path()), RepairEngine::Binding::FileMissing);
    EXPECT_FALSE(engine.isBound());

    writeFile(folder.path() + "rptrnr.dll", "not a library");
    EXPECT_EQ(engine.bind(folder.path()), RepairEngine::Binding::Unusable);
    EXPECT_TRUE(engine.engineUnavailable());
    EXPECT_FALSE(engine.isBound());

    // A real library without the entry point.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(),
                          (folder.path() + "rptrnr.dll").c_str(), FALSE));
    EXPECT_EQ(engine.bind(folder.path()), RepairEngine::Binding::Unusable);
    EXPECT_FALSE(engine.isBound());

    EXPECT_EQ(engine.bind(testing_support::ownProgramFolder()), RepairEngine::Binding::Bound);
    EXPECT_FALSE(engine.engineUnavailable());
    engine.unbind();
    EXPECT_FALSE(engine.isBound());
    EXPECT_EQ(engine.bind(testing_support::ownProgramFolder()),
              RepairEngine::Binding::Bound);  // again
}

}  // namespace
