#include "scan/entry_restore.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/tests/support/child_process.h"

#include "common/exact_registry.h"
#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

TaskEntry fileEntry(const std::string& path, const std::string& backup) {
    TaskEntry e;
    e.fields = {path, backup};
    return e;
}

TaskEntry regEntry(uint8_t type, const ScopedTestKey& key, std::vector<std::string> more) {
    TaskEntry e;
    e.type = type;
    e.fields = {"HKEY_CURRENT_USER", key.path()};
    e.fields.insert(e.fields.end(), more.begin(), more.end());
    return e;
}

TEST(RestoreFile, CopiesTheBackupBackAndDeletesIt) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "doc.txt";
    const std::string backup = folder.path() + "doc.bak";
    writeFile(backup, std::string("line\r\n\0bytes", 12));
    EXPECT_TRUE(restoreTaskEntry(new TaskEntry(fileEntry(path, backup))));
    EXPECT_EQ(readFile(path), std::string("line\r\n\0bytes", 12));
    EXPECT_FALSE(fileExists(backup));
}

TEST(RestoreFile, AnOccupiedPathFailsAndKeepsTheBackup) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "doc.txt";
    const std::string backup = folder.path() + "doc.bak";
    writeFile(backup, "old");
    writeFile(path, "new");
    const TaskEntry entry = fileEntry(path, backup);
    EXPECT_FALSE(restoreTaskEntry(&entry));
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(readFile(backup), "old");

    const TaskEntry noBackup = fileEntry(folder.path() + "other.txt", folder.path() + "gone.bak");
    EXPECT_FALSE(restoreTaskEntry(&noBackup));
}

TEST(RestoreFile, OutcomesSayWhyAFileIsNotPutBack) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "doc.txt";
    const std::string backup = folder.path() + "doc.bak";
    writeFile(backup, "same");
    writeFile(path, "other");
    const TaskEntry entry = fileEntry(path, backup);
    EXPECT_EQ(restoreEntryOutcome(&entry), RestoreOutcome::NameTaken);
    // The same bytes in place: back already, and the copy is spent.
    writeFile(path, "same");
    EXPECT_EQ(restoreEntryOutcome(&entry), RestoreOutcome::AlreadyInPlace);
    EXPECT_FALSE(fileExists(backup));
    EXPECT_EQ(restoreEntryOutcome(&entry), RestoreOutcome::CopyMissing);
    // A file whose copy could not be made was never repaired.
    const TaskEntry notBackedUp = fileEntry("<:*null*:>", "<:*null*:>");
    EXPECT_EQ(restoreEntryOutcome(&notBackedUp), RestoreOutcome::NothingToUndo);
}

TEST(RestoreFolder, CreatesOneLevelOnly) {
    ScopedTestFolder folder;
    TaskEntry e;
    e.type = EntryFolder;
    e.fields = {folder.path() + "sub"};
    EXPECT_TRUE(restoreTaskEntry(&e));
    EXPECT_TRUE(folderExists(folder.path() + "sub"));
    EXPECT_FALSE(restoreTaskEntry(&e));  // exists already
    e.fields = {folder.path() + "a\\b"};
    EXPECT_FALSE(restoreTaskEntry(&e));
}

TEST(RestoreRegKey, MakesTheKeyAndLeavesNoValueBehind) {
    ScopedTestKey key;
    TaskEntry missing = regEntry(EntryRegKey, key, {});
    missing.fields[1] += "\\CLSID\\{restored}";
    EXPECT_TRUE(restoreTaskEntry(&missing));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, missing.fields[1]));

    key.setString("kept", "x");
    const TaskEntry existing = regEntry(EntryRegKey, key, {});
    EXPECT_EQ(restoreEntryOutcome(&existing), RestoreOutcome::AlreadyInPlace);
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key.path());
    ASSERT_TRUE(reg.openValues());
    bool ok = false;
    EXPECT_EQ(reg.nextValueName(ok), "kept");
    reg.nextValueName(ok);
    EXPECT_FALSE(ok);  // only the value that was there
}

TEST(RestoreRegText, WritesStringsAndLeadingIntegers) {
    ScopedTestKey key;
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key.path());
    bool ok = false;

    const TaskEntry text = regEntry(EntryRegText, key, {"Arial", "STRING", "arial.ttf"});
    EXPECT_TRUE(restoreTaskEntry(&text));
    EXPECT_EQ(reg.readString("Arial", ok), "arial.ttf");

    const TaskEntry number = regEntry(EntryRegText, key, {"n", "INT", "  -42abc"});
    EXPECT_TRUE(restoreTaskEntry(&number));
    EXPECT_EQ(reg.readInt("n", ok), -42);
    const TaskEntry notANumber = regEntry(EntryRegText, key, {"z", "INT", "abc"});
    EXPECT_TRUE(restoreTaskEntry(&notANumber));
    EXPECT_EQ(reg.readInt("z", ok), 0);

    const TaskEntry otherKind = regEntry(EntryRegText, key, {"q", "BINARY", "1"});
    EXPECT_EQ(restoreEntryOutcome(&otherKind), RestoreOutcome::NothingToUndo);
    EXPECT_FALSE(reg.valueExists("q"));
}

TEST(RestoreRegRaw, WritesTypeAndBytesExactly) {
    ScopedTestKey key;
    TaskEntry raw = regEntry(EntryRegRaw, key, {""});
    const char bytes[] = "%SystemRoot%\\x.dll";
    raw.setRawValue(REG_EXPAND_SZ, bytes, sizeof bytes);
    raw.fields = {"HKEY_CURRENT_USER", key.path(), ""};
    EXPECT_TRUE(restoreTaskEntry(&raw));

    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key.path());
    char back[64] = {};
    DWORD type = 0, size = sizeof back;
    ASSERT_EQ(reg.readRaw(back, type, size, ""), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_EXPAND_SZ));
    EXPECT_EQ(std::string(back, size), std::string(bytes, sizeof bytes));
}

// The bytes that were backed up come back as they were (no terminator is
// added); a value written again since the repair is newer than the backup
// and stays.
TEST(RestoreRegRaw, TheBackedUpBytesComeBackExactlyAndNeverOverANewerValue) {
    ScopedTestKey key;
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CURRENT_USER);
    reg.setKey(key.path());
    auto entryOf = [&](const std::string& name, int32_t type, const std::string& bytes) {
        TaskEntry raw = regEntry(EntryRegRaw, key, {name});
        raw.setRawValue(type, bytes.data(), static_cast<int32_t>(bytes.size()));
        raw.fields = {"HKEY_CURRENT_USER", key.path(), name};
        return raw;
    };
    auto now = [&](const std::string& name) {
        DWORD type = 0;
        std::vector<unsigned char> back;
        EXPECT_EQ(win::readExactValue(HKEY_CURRENT_USER, key.path(), name, type, back),
                  win::ValueRead::Read);
        return std::make_pair(type, std::string(back.begin(), back.end()));
    };
    const TaskEntry text = entryOf("text", REG_SZ, std::string("arial.ttf", 10));
    EXPECT_EQ(restoreEntryOutcome(&text), RestoreOutcome::Restored);
    EXPECT_EQ(now("text"), std::make_pair(DWORD(REG_SZ), std::string("arial.ttf", 10)));
    const TaskEntry list = entryOf("list", REG_MULTI_SZ, std::string("a\0\0", 3));
    EXPECT_EQ(restoreEntryOutcome(&list), RestoreOutcome::Restored);
    EXPECT_EQ(now("list"), std::make_pair(DWORD(REG_MULTI_SZ), std::string("a\0\0", 3)));
    EXPECT_EQ(restoreEntryOutcome(&list), RestoreOutcome::AlreadyInPlace);

    key.setString("font", "written after the repair");
    const TaskEntry font = entryOf("font", REG_SZ, std::string("backed up", 10));
    EXPECT_EQ(restoreEntryOutcome(&font), RestoreOutcome::ValueChanged);
    EXPECT_EQ(now("font").second, std::string("written after the repair", 25));
    const TaskEntry retyped = entryOf("text", REG_EXPAND_SZ, std::string("arial.ttf", 10));
    EXPECT_EQ(restoreEntryOutcome(&retyped), RestoreOutcome::ValueChanged);
}

TEST(RestoreUnknownType, AsksNothingAndShowsTheTypeNumber) {
    win::MessageBoxRequest seen{};
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        seen = r;
        return IDOK;
    });
    TaskEntry e;
    e.type = 7;
    EXPECT_TRUE(restoreTaskEntry(&e));
    win::setMessageBoxHandler(nullptr);
    EXPECT_EQ(seen.text, "Unknown Task Entry Type");
    EXPECT_EQ(seen.caption, "7");
    EXPECT_EQ(seen.flags, UINT(MB_OK));
}

CHILD_SCENARIO(restoreNullEntry) {
    restoreTaskEntry(nullptr);
}

TEST(RestoreEntry, WithoutAnEntryStopsTheProgram) {
    const auto child = testing_support::runChild("restoreNullEntry");
    EXPECT_EQ(child.exitCode, 3u);
    EXPECT_THAT(child.output, ::testing::HasSubstr("entry != NULL, file taskManager, line 310"));
}

}  // namespace
