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
    reg.setKey(key.path() + "\\Class\\InProcServer32");
    reg.writeString("x", "v");
    reg.setKey(key.path());
    reg.writeString("gone", "font");
    reg.writeString("raw", "bytes");
    reg.writeString("kept", "stays");

    // A key's tree comes before or after the key: the engine empties keys
    // last, the deepest first.
    TaskEntry entries[] = {
        entry(EntryFile, {folder.path() + "old.tmp"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", key.path() + "\\Class"}),
        entry(EntryFile, {folder.path() + "readonly.tmp"}),
        entry(EntryFolder, {folder.path() + "empty"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", key.path() + "\\Class\\InProcServer32"}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path() + "\\Class\\InProcServer32", "v"}),
        entry(EntryRegText, {"HKEY_CURRENT_USER", key.path(), "font", "STRING", "gone"}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path(), "bytes"}),
    };
    std::vector<TaskEntry*> list;
    for (TaskEntry& e : entries) list.push_back(&e);

    RepairEngine engine;
    ASSERT_EQ(engine.bind(testing_support::ownProgramFolder()), RepairEngine::Binding::Bound);
    std::vector<int> outcomes;
    EXPECT_EQ(engine.runReport(list, nullptr, &outcomes), 8);
    EXPECT_EQ(outcomes, std::vector<int>(8, RepairRemoved));
    // What is gone already is not counted as removed.
    EXPECT_EQ(engine.runReport(list, nullptr, &outcomes), 0);
    EXPECT_EQ(outcomes, std::vector<int>(8, RepairAlreadyGone));
    engine.unbind();

    EXPECT_FALSE(fileExists(folder.path() + "old.tmp"));
    EXPECT_FALSE(fileExists(folder.path() + "readonly.tmp"));
    EXPECT_FALSE(folderExists(folder.path() + "empty"));
    EXPECT_TRUE(fileExists(folder.path() + "kept.tmp"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key.path() + "\\Class"));
    EXPECT_FALSE(reg.valueExists("font"));
    EXPECT_FALSE(reg.valueExists("bytes"));
    EXPECT_TRUE(reg.valueExists("stays"));
    // The list is the caller's and stays as it was.
    EXPECT_EQ(entries[1].fields[1], key.path() + "\\Class");
}

TEST(RepairEngine, AnObjectThatChangedSinceItWasSeenIsLeftAlone) {
    ScopedTestFolder folder;
    const std::string file = folder.path() + "seen.tmp";
    writeFile(file, "as seen");
    WIN32_FILE_ATTRIBUTE_DATA seen;
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &seen));
    ScopedTestKey key;
    key.setString("value", "as seen");

    TaskEntry entries[] = {
        entry(EntryFile, {file}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path(), "value"}),
    };
    std::vector<TaskEntry*> list;
    for (TaskEntry& e : entries) list.push_back(&e);
    const std::string seenText("as seen", 8);
    std::vector<RepairExpectation> expected(2);
    expected[0].flags = RepairExpectFile | RepairExpectUnused;
    expected[0].fileSize = 7;
    expected[0].lastWriteTime =
        (uint64_t(seen.ftLastWriteTime.dwHighDateTime) << 32) | seen.ftLastWriteTime.dwLowDateTime;
    expected[0].latestAccess = uint64_t(1) << 62;  // any access so far
    expected[1].flags = RepairExpectValue;
    expected[1].valueType = REG_SZ;
    expected[1].dataSize = 8;
    expected[1].data = reinterpret_cast<const unsigned char*>(seenText.data());

    // Written again since: both stay.
    writeFile(file, "written since");
    key.setString("value", "written since");
    RepairEngine engine;
    ASSERT_EQ(engine.bind(testing_support::ownProgramFolder()), RepairEngine::Binding::Bound);
    std::vector<int> outcomes;
    EXPECT_EQ(engine.runReport(list, &expected, &outcomes), 0);
    EXPECT_EQ(outcomes, (std::vector<int>{RepairChanged, RepairChanged}));
    EXPECT_EQ(readFile(file), "written since");

    // As seen, but used since it was found unused: the file stays.
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &seen));
    expected[0].fileSize = 13;
    expected[0].lastWriteTime =
        (uint64_t(seen.ftLastWriteTime.dwHighDateTime) << 32) | seen.ftLastWriteTime.dwLowDateTime;
    expected[0].latestAccess = ((uint64_t(seen.ftLastAccessTime.dwHighDateTime) << 32) |
                                seen.ftLastAccessTime.dwLowDateTime) -
                               1;
    key.setString("value", "as seen");
    EXPECT_EQ(engine.runReport(list, &expected, &outcomes), 1);
    EXPECT_EQ(outcomes, (std::vector<int>{RepairChanged, RepairRemoved}));
    EXPECT_TRUE(fileExists(file));

    expected[0].latestAccess += 1;
    EXPECT_EQ(engine.runReport(list, &expected, &outcomes), 1);
    EXPECT_EQ(outcomes[0], RepairRemoved);
    EXPECT_FALSE(fileExists(file));
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
