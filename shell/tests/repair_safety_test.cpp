// A repair changes exactly what its backup holds, and a restore never
// destroys what was written after it: problems are planted, found by the
// real scans, changed between the scan and the repair or after it, repaired
// by the real engine and put back by the restore dialog.
#include <shlobj.h>
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/exact_registry.h"
#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"
#include "repair/settings.h"
#include "scan/categories/categories.h"
#include "scan/task_manager.h"
#include "shell/restore_form.h"
#include "shell/tests/restore_support.h"

using namespace sysrepair;
using namespace restore_testing;
using namespace testing_support;

namespace {

const char kFonts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
// "Omega" with a capital Greek omega, and two CJK characters: no character
// but the blank has a form in the ANSI code page of these machines.
const wchar_t kForeign[] = L"\x03A9mega \x6F22\x5B57";

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// Runs the real scan of one category and keeps what the test planted.
std::unique_ptr<HeldProblems> scanAndHold(const std::string& name,
                                          const std::function<bool(const TaskEntry&)>& planted) {
    TaskManager* tasks = TaskManager::instance();
    tasks->clearSeen();
    for (uint32_t i = 0; i < tasks->taskCount(); ++i) {
        ITask* real = tasks->taskAt(i);
        if (real->name() != name) continue;
        real->scan();
        auto held = std::make_unique<HeldProblems>(real->name(), real->description());
        std::vector<TaskEntry*> found;
        real->getEntries(found);
        for (const TaskEntry* e : found)
            if (planted(*e)) held->hold(*e);
        return held;
    }
    return nullptr;
}

void restoreWithTheDialog() {
    TScanRestoreForm form;
    form.show();
    form.TeButton1.click();
}

std::wstring wide(const std::string& text) {
    std::wstring out;
    EXPECT_TRUE(win::exactWide(text, out));
    return out;
}

// A value written through the wide functions, with a text no ANSI code page
// of these machines holds.
void setForeignText(HKEY root, const std::wstring& key, const wchar_t* name, const wchar_t* text) {
    win::RegKey opened;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              opened.receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::wstring foreignText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    win::RegKey opened;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS ||
        RegQueryValueExW(opened.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

class RepairSafety : public ::testing::Test {
protected:
    RepairSafety() { createCategories(); }
    TestInstallation install;
    ScopedTestFolder planted;
};

TEST_F(RepairSafety, AKeyKeepsWhatCameAfterTheScanAndNamesNoAnsiCanHold) {
    // A class whose server is missing, with a subkey and a text that the
    // ANSI functions cannot name or read.
    ScopedTestKey cls(HKEY_CLASSES_ROOT, "CLSID");
    cls.setString("", "Mendora Safety Control");
    const DWORD flags = 7;
    cls.setValue("Flags", REG_DWORD, &flags, sizeof flags);
    const std::string serverKey = cls.path() + "\\InProcServer32";
    setForeignText(HKEY_CLASSES_ROOT, wide(serverKey), L"", L"C:\\mendora-missing\\safety.ocx");
    setForeignText(HKEY_CLASSES_ROOT, wide(cls.path()), L"Name", kForeign);
    setForeignText(HKEY_CLASSES_ROOT, wide(cls.path()) + L"\\" + kForeign, L"Inside", L"kept");

    const auto held = scanAndHold("Custom Controls", [&](const TaskEntry& e) {
        return e.fields.size() > 1 && startsWith(e.fields[1], cls.path());
    });
    ASSERT_NE(held, nullptr);
    // The class, its two values that the code page holds, the server key and
    // its value; not the foreign text, not the foreign subkey.
    EXPECT_EQ(held->problemCount(), 5u);

    // Between the scan and the repair the program writes more into the key.
    cls.setString("AddedLater", "after the scan");
    setForeignText(HKEY_CLASSES_ROOT, wide(cls.path() + "\\AddedLater\\Deep"), L"v", L"new");
    const RegTree beforeRepair = snapshotTree(HKEY_CLASSES_ROOT, cls.path());

    install.repair({held.get()});  // returns: nothing goes round in circles
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_THAT(install.messages[0].text,
                ::testing::HasSubstr("1 key or folder still holds items the scan did not list"));
    RegValue value;
    EXPECT_FALSE(readValue(HKEY_CLASSES_ROOT, cls.path(), "Flags", value));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, serverKey));
    EXPECT_TRUE(readValue(HKEY_CLASSES_ROOT, cls.path(), "AddedLater", value));
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, cls.path() + "\\AddedLater\\Deep"));
    EXPECT_EQ(foreignText(HKEY_CLASSES_ROOT, wide(cls.path()), L"Name"), kForeign);
    EXPECT_EQ(foreignText(HKEY_CLASSES_ROOT, wide(cls.path()) + L"\\" + kForeign, L"Inside"),
              L"kept");

    install.messages.clear();
    restoreWithTheDialog();
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "System Restored");
    EXPECT_EQ(snapshotTree(HKEY_CLASSES_ROOT, cls.path()), beforeRepair);
    EXPECT_EQ(foreignText(HKEY_CLASSES_ROOT, wide(cls.path()), L"Name"), kForeign);
}

TEST_F(RepairSafety, AValueWrittenAfterTheRepairIsNotOverwrittenByTheRestore) {
    const std::string stem = uniqueName("mendora-safe");
    ScopedRegistryValue font(HKEY_LOCAL_MACHINE, kFonts, stem + " (TrueType)");
    font.set(REG_SZ, std::string(stem + "-gone.ttf") + '\0');
    const auto held = scanAndHold("Windows System Fonts", [&](const TaskEntry& e) {
        return e.fields.size() > 2 && e.fields[2] == font.name();
    });
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(held->problemCount(), 1u);
    install.repair({held.get()});
    DWORD type = 0;
    std::string bytes;
    EXPECT_FALSE(font.read(type, bytes));

    // The user installs the font again after the repair.
    const std::string installed = std::string(stem + "-new.ttf") + '\0';
    font.set(REG_SZ, installed);
    install.messages.clear();
    restoreWithTheDialog();
    ASSERT_TRUE(font.read(type, bytes));
    EXPECT_EQ(bytes, installed);
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "Restore Incomplete");
    EXPECT_THAT(
        install.messages[0].text,
        ::testing::HasSubstr(font.name() + ": the value was written again after the repair"));
    // It stays in the backup, for a later restore.
    ASSERT_EQ(getSettings()->backups().size(), 1u);
    const SlotBackup left = readNewestBackup();
    ASSERT_EQ(left.reports.size(), 1u);
    EXPECT_EQ(left.reports[0].entries.size(), 1u);
}

TEST_F(RepairSafety, AFileTouchedAfterTheScanIsLeftAndCacheRepairsHideNoBackup) {
    const std::string temp = planted.path() + "temp\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    for (const char* name : {"old.tmp", "touched.tmp"}) {
        writeFile(temp + name, std::string("unused ") + name);
        ASSERT_TRUE(setLastAccess(temp + name, -2));
    }
    std::unique_ptr<HeldProblems> held;
    {
        ScopedVariable tempVariable("TEMP", temp.substr(0, temp.size() - 1));
        held = scanAndHold("Drive Cleaner",
                           [&](const TaskEntry& e) { return startsWith(e.path(), temp); });
    }
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(held->problemCount(), 2u);
    // Written again between the scan and the repair: it is in use after all.
    writeFile(temp + "touched.tmp", "in use again");
    install.repair({held.get()});
    EXPECT_FALSE(fileExists(temp + "old.tmp"));
    EXPECT_EQ(readFile(temp + "touched.tmp"), "in use again");
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].text,
              "Congratulations!\n\nThere were 1 problems fixed on your system!\n\nLeft as they "
              "are:\n- 1 had changed since the scan or could not be backed up");

    // A later repair of the Internet cache alone backs nothing up: the
    // backup above stays the newest, and Restore still brings the file back.
    char cacheFolder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, cacheFolder, CSIDL_INTERNET_CACHE, TRUE);
    const std::string cache = std::string(cacheFolder) + "\\" + uniqueName("mendora-safe") + "\\";
    CreateDirectoryA(cache.c_str(), nullptr);
    writeFile(cache + "page.htm", "cached page");
    ASSERT_TRUE(setLastAccess(cache + "page.htm", -2));
    const auto pages = scanAndHold("Internet Cleaner",
                                   [&](const TaskEntry& e) { return startsWith(e.path(), cache); });
    ASSERT_NE(pages, nullptr);
    install.repair({pages.get()});
    EXPECT_FALSE(fileExists(cache + "page.htm"));
    ASSERT_EQ(getSettings()->backups().size(), 1u);
    EXPECT_EQ(getSettings()->backups()[0].summary, "1 Unused Temporary Files");

    install.messages.clear();
    restoreWithTheDialog();
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "System Restored");
    EXPECT_EQ(readFile(temp + "old.tmp"), "unused old.tmp");
    removeTree(cache);
}

}  // namespace
