// Backup reports and file copies in a real backup slot.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "common/message_box.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "repair/backup_reports.h"
#include "repair/file_ops.h"
#include "scan/task_manager.h"

using namespace sysrepair;
using testing_support::readFile;
using testing_support::ScopedTestFolder;
using testing_support::writeFile;

namespace {

TaskEntry entry(uint8_t type, std::vector<std::string> fields) {
    TaskEntry e;
    e.type = type;
    e.fields = std::move(fields);
    return e;
}

std::vector<TaskEntry*> pointers(std::vector<TaskEntry>& entries) {
    std::vector<TaskEntry*> out;
    for (TaskEntry& e : entries) out.push_back(&e);
    return out;
}

class ReportFiles : public ::testing::Test {
protected:
    ReportFiles() : slot(folder.path() + "bak\\4") {
        CreateDirectoryA((folder.path() + "bak").c_str(), nullptr);
        CreateDirectoryA(slot.c_str(), nullptr);
        CreateDirectoryA((slot + "\\files").c_str(), nullptr);
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
    }
    ~ReportFiles() override { win::setMessageBoxHandler({}); }

    // The one report of the slot, read back.
    std::vector<TaskEntry> readBack(std::string* name = nullptr) {
        std::vector<std::vector<TaskEntry>> lists;
        std::vector<std::string> names;
        EXPECT_TRUE(loadReports(slot, lists, names));
        EXPECT_EQ(lists.size(), 1u);
        if (lists.size() != 1) return {};
        if (name) *name = names[0];
        return lists[0];
    }

    ScopedTestFolder folder;
    std::string slot;
    TaskManager* tm = TaskManager::instance();
    std::vector<win::MessageBoxRequest> boxes;
};

TEST_F(ReportFiles, EveryEntryTypeRoundTrips) {
    const std::string source = folder.path() + "doc.lnk";
    const std::string contents("\0\x01shortcut\xff\r\n", 13);
    writeFile(source, contents);

    // The registry objects the entries name exist: a backup is made only of
    // what is still there as it was found.
    testing_support::ScopedTestKey key;
    key.setValue("", REG_BINARY, "\x00\x01\x02\x00", 4);
    key.setString("Arial (TrueType)", "arial.ttf");
    const int32_t count = -42;
    key.setValue("n", REG_DWORD, &count, sizeof count);
    testing_support::ScopedTestKey gone(HKEY_CURRENT_USER, key.path());
    std::vector<TaskEntry> entries = {
        entry(EntryFile, {source}),
        entry(EntryFolder, {"C:\\Program Files\\Gone\\"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", gone.path()}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path(), ""}),
        entry(EntryRegText,
              {"HKEY_CURRENT_USER", key.path(), "Arial (TrueType)", "STRING", "arial.ttf"}),
        entry(EntryRegText, {"HKEY_CURRENT_USER", key.path(), "n", "INT", "-42"}),
        entry(EntryRegKey, {"HKLM", "Software"}),
    };
    entries[3].setRawValue(REG_BINARY, "\x00\x01\x02\x00", 4);
    std::vector<bool> backedUp;
    ASSERT_TRUE(writeReport(pointers(entries), "Windows System Fonts", slot, &backedUp));
    EXPECT_EQ(backedUp, std::vector<bool>(entries.size(), true));
    EXPECT_EQ(tm->reportIndex, 6);
    EXPECT_TRUE(boxes.empty());

    std::string name;
    const std::vector<TaskEntry> back = readBack(&name);
    EXPECT_EQ(name, "Windows System Fonts");
    ASSERT_EQ(back.size(), entries.size());

    EXPECT_EQ(back[0].type, EntryFile);
    ASSERT_EQ(back[0].fields.size(), 2u);
    EXPECT_EQ(back[0].fields[0], source);
    const std::string copy = back[0].fields[1];
    EXPECT_EQ(copy.substr(0, slot.size() + 7), slot + "\\files\\");
    EXPECT_EQ(copy.substr(copy.size() - 4), ".bak");
    EXPECT_EQ(readFile(copy), contents);

    EXPECT_EQ(back[1].type, EntryFolder);
    EXPECT_EQ(back[1].fields, entries[1].fields);
    EXPECT_EQ(back[2].type, EntryRegKey);
    EXPECT_EQ(back[2].fields, entries[2].fields);
    EXPECT_EQ(back[3].type, EntryRegRaw);
    EXPECT_EQ(back[3].fields, entries[3].fields);
    EXPECT_EQ(back[3].regType, REG_BINARY);
    EXPECT_EQ(back[3].data, entries[3].data);

    // Text values come back as the raw values they stand for, as they are
    // in the registry.
    EXPECT_EQ(back[4].type, EntryRegRaw);
    EXPECT_EQ(back[4].fields,
              (std::vector<std::string>{"HKEY_CURRENT_USER", key.path(), "Arial (TrueType)"}));
    EXPECT_EQ(back[4].regType, REG_SZ);
    EXPECT_EQ(std::string(back[4].data.begin(), back[4].data.end()), std::string("arial.ttf", 10));
    EXPECT_EQ(back[5].type, EntryRegRaw);
    EXPECT_EQ(back[5].fields[0], "HKEY_CURRENT_USER");
    EXPECT_EQ(back[5].regType, REG_DWORD);
    EXPECT_EQ(back[5].data, (std::vector<unsigned char>{0xD6, 0xFF, 0xFF, 0xFF}));

    EXPECT_EQ(back[6].fields[0], "HKEY_LOCAL_MACHINE");

    // The roots are stored as the predefined 32-bit handle values.
    std::vector<std::string> names;
    ASSERT_TRUE(listFileNames(slot, names));
    ASSERT_EQ(names.size(), 1u);
    const std::string bytes = readFile(slot + "\\" + names[0]);
    EXPECT_EQ(bytes.substr(0, 5), std::string("MRB\x01\x00", 5));
    EXPECT_NE(bytes.find(std::string("\x00\x00\x01\x00\x00\x80", 6)), std::string::npos);
}

TEST_F(ReportFiles, EntriesThatCannotBeBackedUpAreReported) {
    const std::string present = folder.path() + "present.tmp";
    writeFile(present, "x");
    const std::string changed = folder.path() + "changed.tmp";
    writeFile(changed, "as found");
    testing_support::ScopedTestKey key;
    key.setString("font", "as found");
    std::vector<TaskEntry> entries = {
        entry(EntryFile, {folder.path() + "vanished.tmp"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", std::string(40000, 'k')}),
        entry(9, {"?"}),
        entry(EntryFile, {present}),
        entry(EntryFile, {changed}),
        entry(EntryRegRaw, {"HKEY_CURRENT_USER", key.path(), "font"}),
        entry(EntryRegKey, {"HKEY_CURRENT_USER", key.path() + "\\gone"}),
    };
    // Found by a scan, then written again before the backup.
    entries[4].fileChecks = FileStampKnown;
    entries[4].fileSize = 8;
    WIN32_FILE_ATTRIBUTE_DATA found;
    ASSERT_TRUE(GetFileAttributesExA(changed.c_str(), GetFileExInfoStandard, &found));
    entries[4].lastWrite = (uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) |
                           found.ftLastWriteTime.dwLowDateTime;
    entries[5].setRawValue(REG_SZ, "as found", 9);
    writeFile(changed, "written after the scan");
    key.setString("font", "written after the scan");
    std::vector<bool> backedUp;
    ASSERT_TRUE(writeReport(pointers(entries), "Drive Cleaner", slot, &backedUp));
    EXPECT_EQ(backedUp, (std::vector<bool>{false, false, false, true, false, false, false}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown Report Type");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].owner, nullptr);

    const std::vector<TaskEntry> back = readBack();
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].fields[0], present);
    EXPECT_EQ(readFile(back[0].fields[1]), "x");
}

TEST_F(ReportFiles, ReportThatCannotBeOpenedBacksNothingUp) {
    const std::string source = folder.path() + "a.tmp";
    writeFile(source, "a");
    std::vector<TaskEntry> entries = {entry(EntryFile, {source})};
    std::vector<bool> backedUp;
    EXPECT_FALSE(
        writeReport(pointers(entries), "Drive Cleaner", folder.path() + "no-slot", &backedUp));
    EXPECT_EQ(backedUp, std::vector<bool>{false});
    EXPECT_FALSE(writeReport(pointers(entries), std::string(40000, 'n'), slot, &backedUp));
    EXPECT_EQ(backedUp, std::vector<bool>{false});
    std::vector<std::string> names;
    ASSERT_TRUE(listFileNames(slot, names));
    EXPECT_TRUE(names.empty());
    ASSERT_TRUE(listFileNames(slot + "\\files", names));
    EXPECT_TRUE(names.empty());
}

TEST_F(ReportFiles, CopiesInOneSecondGetCountedNames) {
    const std::string files = slot + "\\files";
    UniqueNameSequence names(files, ".bak");
    EXPECT_EQ(names.next(1100000000), files + "\\1100000000.bak");
    writeFile(files + "\\1100000000.bak", "");
    EXPECT_EQ(names.next(1100000000), files + "\\1100000000-0.bak");
    writeFile(files + "\\1100000000-0.bak", "");
    // A name handed out but not used is handed out again.
    EXPECT_EQ(names.next(1100000000), files + "\\1100000000-1.bak");
    EXPECT_EQ(names.next(1100000000), files + "\\1100000000-1.bak");
    writeFile(files + "\\1100000000-1.bak", "");
    EXPECT_EQ(uniqueFileName(files, ".bak", 1100000000), files + "\\1100000000-2.bak");
    EXPECT_EQ(names.next(1100000001), files + "\\1100000001.bak");

    // A copy takes the first free name and never replaces a file.
    const std::string source = folder.path() + "source.tmp";
    writeFile(source, "new");
    writeFile(files + "\\1100000002.bak", "old");
    std::string copy;
    ASSERT_TRUE(names.copyInto(source, 1100000002, copy));
    EXPECT_EQ(copy, files + "\\1100000002-0.bak");
    EXPECT_EQ(readFile(files + "\\1100000002.bak"), "old");
    EXPECT_EQ(readFile(copy), "new");
    ASSERT_TRUE(names.copyInto(source, 1100000002, copy));
    EXPECT_EQ(copy, files + "\\1100000002-1.bak");
    EXPECT_FALSE(names.copyInto(folder.path() + "vanished.tmp", 1100000002, copy));
    EXPECT_TRUE(copy.empty());
}

TEST_F(ReportFiles, ALargeReportSpreadsItsCopiesOverFoldersOfAThousand) {
    std::vector<TaskEntry> entries;
    for (int i = 0; i < 1050; ++i) {
        const std::string source = folder.path() + std::to_string(i / 100);
        if (i % 100 == 0) CreateDirectoryA(source.c_str(), nullptr);
        const std::string path = source + "\\" + std::to_string(i) + ".tmp";
        writeFile(path, std::to_string(i));
        entries.push_back(entry(EntryFile, {path}));
    }
    std::vector<bool> backedUp;
    ASSERT_TRUE(writeReport(pointers(entries), "Drive Cleaner", slot, &backedUp));
    EXPECT_EQ(backedUp, std::vector<bool>(1050, true));
    std::vector<std::string> names;
    const std::pair<const char*, size_t> folders[] = {{"", 1000}, {"\\1", 50}};
    for (const auto& [sub, count] : folders) {
        ASSERT_TRUE(listFileNames(slot + "\\files" + sub, names)) << sub;
        EXPECT_EQ(names.size(), count) << sub;
    }
    const std::vector<TaskEntry> back = readBack();
    ASSERT_EQ(back.size(), 1050u);
    for (int i : {0, 999, 1000, 1049}) {
        EXPECT_EQ(back[i].fields[0], entries[i].fields[0]);
        EXPECT_EQ(readFile(back[i].fields[1]), std::to_string(i));
    }

    writeFile(slot + "\\files\\1\\keep.txt", "");
    CreateDirectoryA((slot + "\\files\\7").c_str(), nullptr);
    writeFile(slot + "\\files\\7\\1100000000.bak", "");
    EXPECT_TRUE(clearSlot(slot));
    ASSERT_TRUE(listFileNames(slot + "\\files", names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(testing_support::folderExists(slot + "\\files\\7"));
    // A folder that holds something else than copies stays, with it.
    EXPECT_TRUE(fileExists(slot + "\\files\\1\\keep.txt"));
    ASSERT_TRUE(listFileNames(slot + "\\files\\1", names));
    EXPECT_EQ(names, std::vector<std::string>{"keep.txt"});
}

TEST_F(ReportFiles, OnlyReportsAndCopiesBelongToTheSlot) {
    std::vector<TaskEntry> entries = {entry(EntryFolder, {"C:\\x"})};
    ASSERT_TRUE(writeReport(pointers(entries), "Windows Shortcuts", slot));
    std::vector<std::string> names;
    ASSERT_TRUE(listFileNames(slot, names));
    ASSERT_EQ(names.size(), 1u);
    ASSERT_TRUE(MoveFileA((slot + "\\" + names[0]).c_str(), (slot + "\\x.SRB").c_str()));
    writeFile(slot + "\\y.old.srb", readFile(slot + "\\x.SRB"));
    writeFile(slot + "\\notes.txt", "keep");
    writeFile(slot + "\\noextension", "keep");
    CreateDirectoryA((slot + "\\z.srb").c_str(), nullptr);
    writeFile(slot + "\\files\\1.bak", "");
    writeFile(slot + "\\files\\2-0.BAK", "");
    writeFile(slot + "\\files\\keep.txt", "");

    std::string name;
    const std::vector<TaskEntry> back = readBack(&name);
    EXPECT_EQ(name, "Windows Shortcuts");
    EXPECT_EQ(back.size(), 1u);

    EXPECT_TRUE(clearSlot(slot));
    EXPECT_FALSE(fileExists(slot + "\\x.SRB"));
    EXPECT_TRUE(fileExists(slot + "\\y.old.srb"));
    EXPECT_TRUE(fileExists(slot + "\\notes.txt"));
    EXPECT_TRUE(fileExists(slot + "\\noextension"));
    EXPECT_TRUE(testing_support::folderExists(slot + "\\z.srb"));
    EXPECT_FALSE(fileExists(slot + "\\files\\1.bak"));
    EXPECT_FALSE(fileExists(slot + "\\files\\2-0.BAK"));
    EXPECT_TRUE(fileExists(slot + "\\files\\keep.txt"));
    EXPECT_TRUE(testing_support::folderExists(slot + "\\files"));
}

TEST_F(ReportFiles, MissingFoldersAreReported) {
    std::vector<std::vector<TaskEntry>> lists(1);
    std::vector<std::string> names(1);
    EXPECT_FALSE(loadReports(folder.path() + "none", lists, names));
    EXPECT_TRUE(lists.empty());
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(clearSlot(folder.path() + "none"));

    // Without its files folder the slot still loses its reports.
    RemoveDirectoryA((slot + "\\files").c_str());
    writeFile(slot + "\\1.srb", "");
    EXPECT_FALSE(clearSlot(slot));
    EXPECT_FALSE(fileExists(slot + "\\1.srb"));
}

TEST_F(ReportFiles, DamagedReportsAreReadUpToTheDamage) {
    std::vector<TaskEntry> entries = {entry(EntryFolder, {"C:\\a"}), entry(EntryFolder, {"C:\\b"}),
                                      entry(EntryFolder, {"C:\\c"})};
    ASSERT_TRUE(writeReport(pointers(entries), "Recent Documents", slot));
    std::vector<std::string> names;
    ASSERT_TRUE(listFileNames(slot, names));
    const std::string path = slot + "\\" + names.at(0);
    const std::string full = readFile(path);

    // Cut inside the last record: the whole records before it stay.
    writeFile(path, full.substr(0, full.size() - 3));
    std::vector<TaskEntry> cut;
    std::string cutName;
    EXPECT_TRUE(readReport(path, cut, cutName));
    EXPECT_EQ(cut.size(), 2u);
    EXPECT_EQ(cutName, "Recent Documents");

    // An unknown record code: the user is told, and what came before stays.
    std::string unknown = full;
    const size_t second = full.size() - 2 * (2 + 2 + 4);
    unknown[second] = 7;
    writeFile(path, unknown);
    std::vector<TaskEntry> list;
    std::string name;
    EXPECT_TRUE(readReport(path, list, name));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].fields[0], "C:\\a");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown Entry Type: 7");
    EXPECT_EQ(boxes[0].caption, "");

    // A foreign file among the reports gives an empty list of its own.
    writeFile(path, "PK\x03\x04");
    std::vector<std::vector<TaskEntry>> lists;
    EXPECT_TRUE(loadReports(slot, lists, names));
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_TRUE(lists[0].empty());
    EXPECT_EQ(names[0], "");
    EXPECT_FALSE(readReport(folder.path() + "missing.srb", list, name));
}

}  // namespace
