// Scan, repair and restore leave the machine as it was: problems of every
// category are planted, found by the real scans, removed by the real engine
// and put back by the restore dialog. Only what the test planted is repaired.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/registry_reader_writer.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"
#include "repair/settings.h"
#include "scan/categories/categories.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"
#include "shell/restore_form.h"
#include "shell/tests/restore_support.h"

using namespace sysrepair;
using namespace restore_testing;
using namespace testing_support;

namespace {

const char kFonts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const char kHelp[] = "SOFTWARE\\Microsoft\\Windows\\Help";

std::string specialFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return path;
}

// A value of a shared system key as it is now; empty when it is missing.
RegValue current(const ScopedRegistryValue& value) {
    DWORD type = 0;
    std::string bytes;
    return value.read(type, bytes) ? RegValue(type, bytes) : RegValue();
}

std::string sz(const std::string& text) {
    return std::string(text.c_str(), text.size() + 1);
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

bool isUnderKey(const TaskEntry& e, const std::string& key) {
    return e.type >= EntryRegKey && e.fields.size() > 1 &&
           (e.fields[1] == key || startsWith(e.fields[1], key + "\\"));
}

TEST(RoundTrip, ScanRepairAndRestoreLeaveEverythingAsItWas) {
    createCategories();
    TestInstallation install;
    ScopedTestFolder planted;
    const std::string stem = uniqueName("mendora-rt");

    // Custom Controls: a class whose server is missing, with values of
    // several types and a tree of subkeys, one of them empty.
    ScopedTestKey cls(HKEY_CLASSES_ROOT, "CLSID");
    cls.setString("", "Mendora Round Trip Control");
    const DWORD flags = 0x12345678;
    cls.setValue("Flags", REG_DWORD, &flags, sizeof flags);
    const std::string blob("\x00\x01\xFF\x80 bytes", 10);
    cls.setValue("Blob", REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
    const std::string list("first\0second\0\0", 14);
    cls.setValue("List", REG_MULTI_SZ, list.data(), static_cast<DWORD>(list.size()));
    const std::string expand = sz("%SystemRoot%\\mendora-rt.dll");
    cls.setValue("Where", REG_EXPAND_SZ, expand.data(), static_cast<DWORD>(expand.size()));
    {
        win::RegistryReaderWriter reg;
        reg.setRoot(HKEY_CLASSES_ROOT);
        reg.setKey(cls.path() + "\\InProcServer32");
        reg.writeString("C:\\mendora-missing\\" + stem + ".ocx", "");
        reg.writeString("Apartment", "ThreadingModel");
        reg.setKey(cls.path() + "\\ProgID");
        reg.writeString("Mendora.RoundTrip.1", "");
        reg.setKey(cls.path() + "\\Implemented Categories\\{empty}");
        reg.writeInt(0, "tmp");
        reg.deleteValue("tmp");
    }

    // Installed Software: a registration of a missing program.
    ScopedTestKey app(HKEY_LOCAL_MACHINE, kAppPathsKey);
    app.setString("", "C:\\mendora-missing\\" + stem + ".EXE");
    app.setString("Path", "C:\\mendora-missing\\");
    const DWORD useUrl = 1;
    app.setValue("UseURL", REG_DWORD, &useUrl, sizeof useUrl);
    {
        win::RegistryReaderWriter reg;
        reg.setRoot(HKEY_LOCAL_MACHINE);
        reg.setKey(app.path() + "\\SupportedProtocols");
        reg.writeString("", "http");
    }

    // Fonts and help files: text values, quoted or naming variables, of both
    // text types. The scans compare the text without quotes and with the
    // variables expanded; the backup keeps each value as it is.
    ScopedVariable folderVariable("MENDORA_RT_HELP", "C:\\mendora-missing-help");
    ScopedVariable fontVariable("MENDORA_RT_FONTS", "C:\\mendora-missing-fonts");
    const RegValue fontValue(REG_SZ, sz(stem + "-gone.ttf"));
    const RegValue quotedFontValue(REG_SZ, sz("\"" + stem + "-bold.ttf\""));
    const RegValue expandFontValue(REG_EXPAND_SZ, sz("%MENDORA_RT_FONTS%\\" + stem + "-x.ttf"));
    const RegValue helpValue(REG_SZ, sz("C:\\mendora-missing-help\\"));
    const RegValue expandedHelpValue(REG_SZ, sz("%MENDORA_RT_HELP%"));
    ScopedRegistryValue font(HKEY_LOCAL_MACHINE, kFonts, stem + " (TrueType)");
    ScopedRegistryValue quotedFont(HKEY_LOCAL_MACHINE, kFonts, stem + " Bold (TrueType)");
    ScopedRegistryValue expandFont(HKEY_LOCAL_MACHINE, kFonts, stem + " Italic (TrueType)");
    ScopedRegistryValue help(HKEY_LOCAL_MACHINE, kHelp, stem + ".hlp");
    ScopedRegistryValue expandedHelp(HKEY_LOCAL_MACHINE, kHelp, stem + ".chm");
    const std::vector<std::pair<const ScopedRegistryValue*, RegValue>> values = {
        {&font, fontValue},
        {&quotedFont, quotedFontValue},
        {&expandFont, expandFontValue},
        {&help, helpValue},
        {&expandedHelp, expandedHelpValue}};
    for (const auto& value : values) value.first->set(value.second.first, value.second.second);

    // Drive Cleaner: unused files of the temporary folder, one of them below
    // a sub-folder, with every byte value.
    const std::string temp = planted.path() + "temp\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    CreateDirectoryA((temp + "sub").c_str(), nullptr);
    std::string allBytes;
    for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
    std::map<std::string, std::string> files = {{temp + "old.tmp", allBytes},
                                                {temp + "sub\\deep.tmp", "deep\r\n"}};

    // Recent Documents: an unused entry of the Recent folder.
    const std::string recent = specialFolder(CSIDL_RECENT) + "\\";
    const bool madeRecent = CreateDirectoryA(recent.c_str(), nullptr) != 0;
    files[recent + stem + ".txt"] = "a recent document";

    // Windows Shortcuts: a shortcut whose target is gone.
    const std::string links = planted.path() + "links\\";
    CreateDirectoryA(links.c_str(), nullptr);
    for (const auto& file : files) {
        writeFile(file.first, file.second);
        ASSERT_TRUE(setLastAccess(file.first, -2));
    }
    ASSERT_TRUE(makeShortcut(links + "broken.lnk", planted.path() + "gone.doc"));
    files[links + "broken.lnk"] = readFile(links + "broken.lnk");

    // Internet Cleaner: an unused cache file, which a repair deletes without
    // a backup.
    const std::string cache = specialFolder(CSIDL_INTERNET_CACHE) + "\\" + stem + "\\";
    CreateDirectoryA(cache.c_str(), nullptr);
    writeFile(cache + "page.htm", "cached page");
    ASSERT_TRUE(setLastAccess(cache + "page.htm", -2));

    const RegTree classBefore = snapshotTree(HKEY_CLASSES_ROOT, cls.path());
    const RegTree appBefore = snapshotTree(HKEY_LOCAL_MACHINE, app.path());
    ASSERT_EQ(classBefore.size(), 5u);
    ASSERT_EQ(appBefore.size(), 2u);

    // Scan every category in the order of a scan run.
    {
        ScopedVariable tempVariable("TEMP", temp.substr(0, temp.size() - 1));
        DriveTable::destroy();  // a fresh table that holds the new shortcut
        TaskManager* tasks = TaskManager::instance();
        tasks->clearSeen();
        ASSERT_EQ(tasks->taskCount(), 8u);
        for (uint32_t i = 0; i < tasks->taskCount(); ++i) tasks->taskAt(i)->scan();
    }

    // Hand the repair only what was planted.
    const std::map<std::string, std::function<bool(const TaskEntry&)>> isPlanted = {
        {"Custom Controls", [&](const TaskEntry& e) { return isUnderKey(e, cls.path()); }},
        {"Drive Cleaner", [&](const TaskEntry& e) { return startsWith(e.fields[0], temp); }},
        {"Installed Software", [&](const TaskEntry& e) { return isUnderKey(e, app.path()); }},
        {"Windows System Fonts",
         [&](const TaskEntry& e) {
             return isUnderKey(e, kFonts) && startsWith(e.fields[2], stem);
         }},
        {"Internet Cleaner", [&](const TaskEntry& e) { return startsWith(e.fields[0], cache); }},
        {"Windows Help Files",
         [&](const TaskEntry& e) { return isUnderKey(e, kHelp) && startsWith(e.fields[2], stem); }},
        {"Recent Documents",
         [&](const TaskEntry& e) { return e.fields[0] == recent + stem + ".txt"; }},
        {"Windows Shortcuts", [&](const TaskEntry& e) { return startsWith(e.fields[0], links); }},
    };
    const std::map<std::string, size_t> expectedCounts = {
        {"Custom Controls", 13},     {"Drive Cleaner", 2},     {"Installed Software", 6},
        {"Windows System Fonts", 3}, {"Internet Cleaner", 1},  {"Windows Help Files", 2},
        {"Recent Documents", 1},     {"Windows Shortcuts", 1},
    };
    std::vector<std::unique_ptr<HeldProblems>> held;
    std::vector<ITask*> categories;
    for (uint32_t i = 0; i < TaskManager::instance()->taskCount(); ++i) {
        ITask* real = TaskManager::instance()->taskAt(i);
        held.push_back(std::make_unique<HeldProblems>(real->name(), real->description()));
        std::vector<TaskEntry*> found;
        real->getEntries(found);
        for (const TaskEntry* e : found)
            if (!e->fields.empty() && isPlanted.at(real->name())(*e)) held.back()->hold(*e);
        EXPECT_EQ(held.back()->problemCount(), expectedCounts.at(real->name())) << real->name();
        categories.push_back(held.back().get());
    }

    install.repair(categories);
    EXPECT_TRUE(snapshotTree(HKEY_CLASSES_ROOT, cls.path()).empty());
    EXPECT_TRUE(snapshotTree(HKEY_LOCAL_MACHINE, app.path()).empty());
    for (const auto& value : values)
        EXPECT_EQ(current(*value.first), RegValue()) << value.first->name();
    for (const auto& file : files) EXPECT_FALSE(fileExists(file.first)) << file.first;
    EXPECT_FALSE(fileExists(cache + "page.htm"));
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].text,
              "Congratulations!\n\nThere were 29 problems fixed on your system!");

    // Meanwhile a new file took the name of a removed one: the first restore
    // puts back everything else and keeps that entry, with its copy.
    const std::string taken = temp + "sub\\deep.tmp";
    writeFile(taken, "a new file");
    install.messages.clear();
    {
        TScanRestoreForm form;
        form.show();
        EXPECT_EQ(form.newestBackup().reports.size(), 7u);  // every category but Internet Cleaner
        form.TeButton1.click();
    }
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "Restore Incomplete");
    EXPECT_THAT(install.messages[0].text,
                ::testing::StartsWith("1 of the 28 changes made by the last repair could not be "
                                      "undone:\n\n" +
                                      taken + ": a file of that name exists\n"));
    EXPECT_EQ(readFile(taken), "a new file");
    EXPECT_EQ(snapshotTree(HKEY_CLASSES_ROOT, cls.path()), classBefore);
    EXPECT_EQ(snapshotTree(HKEY_LOCAL_MACHINE, app.path()), appBefore);
    for (const auto& value : values)
        EXPECT_EQ(current(*value.first), value.second) << value.first->name();
    for (const auto& file : files) {
        if (file.first == taken) continue;
        EXPECT_EQ(readFile(file.first), file.second) << file.first;
    }
    ASSERT_EQ(getSettings()->backups().size(), 1u);
    {
        const SlotBackup left = readNewestBackup();
        ASSERT_EQ(left.reports.size(), 1u);
        ASSERT_EQ(left.reports[0].entries.size(), 1u);
        EXPECT_EQ(left.reports[0].entries[0].fields[0], taken);
        EXPECT_EQ(readFile(left.reports[0].entries[0].fields[1]), "deep\r\n");
    }

    // With the name free again the second restore finishes the work.
    DeleteFileA(taken.c_str());
    install.messages.clear();
    {
        TScanRestoreForm form;
        form.show();
        form.TeButton1.click();
    }
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "System Restored");
    for (const auto& file : files) EXPECT_EQ(readFile(file.first), file.second) << file.first;
    EXPECT_FALSE(fileExists(cache + "page.htm"));  // never backed up
    EXPECT_TRUE(getSettings()->backups().empty());

    DeleteFileA((recent + stem + ".txt").c_str());
    if (madeRecent) RemoveDirectoryA(recent.c_str());
    removeTree(cache);
}

}  // namespace
