#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "common/registry_reader_writer.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "scan/categories/categories.h"
#include "scan/categories/custom_controls.h"
#include "scan/categories/font_paths.h"
#include "scan/categories/help_files.h"
#include "scan/categories/installed_software.h"
#include "scan/problem_reason.h"
#include "scan/task_manager.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

const char kFonts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const char kHelp[] = "SOFTWARE\\Microsoft\\Windows\\Help";

void setString(HKEY root, const std::string& key, const std::string& name,
               const std::string& text) {
    win::RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(key);
    ASSERT_TRUE(reg.writeString(text, name));
}

// The entries of one scan whose key path is `key` or lies below it.
std::vector<TaskEntry> scanFor(ITask* task, const std::string& key) {
    TaskManager::instance()->clearSeen();
    EXPECT_TRUE(task->scan());
    std::vector<TaskEntry*> all;
    task->getEntries(all);
    std::vector<TaskEntry> mine;
    for (TaskEntry* e : all)
        if (e->fields.size() > 1 && (e->fields[1] == key || e->fields[1].rfind(key + "\\", 0) == 0))
            mine.push_back(*e);
    return mine;
}

std::string windowsFolder() {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

class RegistryScanners : public ::testing::Test {
protected:
    static void SetUpTestSuite() { createCategories(); }
};

TEST_F(RegistryScanners, ComServersThatExistAreNoProblem) {
    ScopedTestKey quoted(HKEY_CLASSES_ROOT, "CLSID");
    setString(HKEY_CLASSES_ROOT, quoted.path() + "\\InProcServer32", "",
              "\"%SystemRoot%\\system32\\kernel32.dll\"");

    ScopedTestFolder folder;
    writeFile(folder.path() + "mendora-onpath.dll", "MZ");
    std::string dir = folder.path();
    dir.pop_back();
    char oldPath[4096] = {};
    GetEnvironmentVariableA("Path", oldPath, sizeof oldPath);
    SetEnvironmentVariableA("Path", (std::string(oldPath) + ";" + dir).c_str());
    ScopedTestKey bare(HKEY_CLASSES_ROOT, "CLSID");
    setString(HKEY_CLASSES_ROOT, bare.path() + "\\InProcServer32", "", "mendora-onpath.dll");

    ScopedTestKey noServerValue(HKEY_CLASSES_ROOT, "CLSID");
    setString(HKEY_CLASSES_ROOT, noServerValue.path() + "\\InProcServer32", "ThreadingModel",
              "Both");

    EXPECT_TRUE(scanFor(CustomControls::instance(), quoted.path()).empty());
    EXPECT_TRUE(scanFor(CustomControls::instance(), bare.path()).empty());
    EXPECT_TRUE(scanFor(CustomControls::instance(), noServerValue.path()).empty());
    SetEnvironmentVariableA("Path", oldPath);
}

TEST_F(RegistryScanners, MissingComServerYieldsItsWholeClassTreeThenTheClassKey) {
    ScopedTestKey cls(HKEY_CLASSES_ROOT, "CLSID");
    const std::string k = cls.path();
    cls.setString("", "Mendora Test Control");
    const DWORD flags = 5;
    cls.setValue("Flags", REG_DWORD, &flags, sizeof flags);
    setString(HKEY_CLASSES_ROOT, k + "\\InProcServer32", "", "C:\\mendora-missing\\gone.ocx");
    setString(HKEY_CLASSES_ROOT, k + "\\InProcServer32", "ThreadingModel", "Apartment");
    setString(HKEY_CLASSES_ROOT, k + "\\ProgID", "", "Mendora.Test.1");
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_CLASSES_ROOT);
    reg.setKey(k + "\\Implemented Categories\\{cat}");
    reg.writeInt(0, "tmp");
    reg.deleteValue("tmp");

    const std::vector<TaskEntry> found = scanFor(CustomControls::instance(), k);
    // 2 values of the class, 2 + 1 for InProcServer32, 1 for ProgID and its
    // key, the category key and its subkey, and the class key itself.
    ASSERT_EQ(found.size(), 10u);
    EXPECT_EQ(found.back().type, EntryRegKey);
    EXPECT_EQ(found.back().fields, (std::vector<std::string>{"HKEY_CLASSES_ROOT", k}));
    EXPECT_EQ(found[0].type, EntryRegRaw);  // the class's own values come first
    EXPECT_EQ(found[1].type, EntryRegRaw);
    EXPECT_EQ(found[0].fields[1], k);
    EXPECT_EQ(found[1].fields[1], k);

    // Every key entry comes after everything recorded below it.
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i].type != EntryRegKey) continue;
        for (size_t j = i + 1; j < found.size(); ++j) {
            const std::string& later = found[j].fields[1];
            EXPECT_FALSE(later.rfind(found[i].fields[1] + "\\", 0) == 0) << later;
        }
    }
    const auto flagsEntry = std::find_if(found.begin(), found.end(), [](const TaskEntry& e) {
        return e.type == EntryRegRaw && e.fields[2] == "Flags";
    });
    ASSERT_NE(flagsEntry, found.end());
    EXPECT_EQ(flagsEntry->regType, REG_DWORD);
    EXPECT_EQ(flagsEntry->data, (std::vector<unsigned char>{5, 0, 0, 0}));
    const auto model = std::find_if(found.begin(), found.end(), [](const TaskEntry& e) {
        return e.type == EntryRegRaw && e.fields[2] == "ThreadingModel";
    });
    ASSERT_NE(model, found.end());
    EXPECT_EQ(model->regType, REG_SZ);
    EXPECT_EQ(std::string(model->data.begin(), model->data.end()), std::string("Apartment", 10));
    EXPECT_FALSE(CustomControls::instance()->marker());

    // The whole tree was found for one reason, which names the missing file.
    for (const TaskEntry& e : found)
        EXPECT_EQ(problemReason(e), "the server file C:\\mendora-missing\\gone.ocx does not exist");

    // Kept for good: the next scan lists none of it.
    auto kept = std::make_shared<KeepList>();
    kept->add(keepChoices(found.back())[0]);
    TaskManager::instance()->setKeepList(kept);
    EXPECT_TRUE(scanFor(CustomControls::instance(), k).empty());
    TaskManager::instance()->setKeepList(nullptr);
}

TEST_F(RegistryScanners, AppPathsOfMissingProgramsComeKeyFirst) {
    ScopedTestKey upper(HKEY_LOCAL_MACHINE, kAppPathsKey);
    upper.setString("", "C:\\mendora-missing\\PROG.EXE");
    upper.setString("Path", "C:\\mendora-missing\\");
    ScopedTestKey com(HKEY_LOCAL_MACHINE, kAppPathsKey);
    com.setString("", "C:\\mendora-missing\\prog.com");
    ScopedTestKey present(HKEY_LOCAL_MACHINE, kAppPathsKey);
    present.setString("", "\"%SystemRoot%\\notepad.exe\"");

    const std::vector<TaskEntry> found = scanFor(InstalledSoftware::instance(), upper.path());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].type, EntryRegKey);
    EXPECT_EQ(found[0].fields, (std::vector<std::string>{"HKEY_LOCAL_MACHINE", upper.path()}));
    EXPECT_EQ(found[1].type, EntryRegRaw);
    EXPECT_EQ(found[2].type, EntryRegRaw);
    EXPECT_EQ(problemReason(found[2]),
              "the program file C:\\mendora-missing\\PROG.EXE does not exist");

    EXPECT_TRUE(scanFor(InstalledSoftware::instance(), com.path()).empty());
    EXPECT_TRUE(scanFor(InstalledSoftware::instance(), present.path()).empty());
}

// A file of a test's own in a folder of the system, removed at the end.
class ScopedSystemFile {
public:
    explicit ScopedSystemFile(const std::string& path) : path_(path) { writeFile(path, "MZ"); }
    ~ScopedSystemFile() { DeleteFileA(path_.c_str()); }
    ScopedSystemFile(const ScopedSystemFile&) = delete;
    ScopedSystemFile& operator=(const ScopedSystemFile&) = delete;

private:
    std::string path_;
};

std::string environmentValue(const char* name) {
    char value[MAX_PATH] = {};
    return GetEnvironmentVariableA(name, value, MAX_PATH) ? value : "";
}

// A 64-bit Mendora reads the 32-bit view beside its own, and a path there
// means what it means to the 32-bit programs that use it: System32 is their
// SysWOW64 and %ProgramFiles% their Program Files (x86). What such a program
// would look for along its own search path, or in a folder that Windows
// leaves unredirected, is not judged at all.
TEST_F(RegistryScanners, EntriesOfThe32BitViewAreCheckedAsA32BitProgramSeesThem) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "a 32-bit Mendora reads its own registry view only";
    char wow64[MAX_PATH] = {};
    ASSERT_NE(GetSystemWow64DirectoryA(wow64, MAX_PATH), 0u);
    const std::string dll = uniqueName("mendora-wow") + ".dll";
    ScopedSystemFile only32(std::string(wow64) + "\\" + dll);
    const std::string inSystem32 = "%SystemRoot%\\System32\\" + dll;
    const std::string bare = uniqueName("mendora-bare") + ".dll";

    ScopedTestKey nativeClass(HKEY_CLASSES_ROOT, "CLSID");
    setString(HKEY_CLASSES_ROOT, nativeClass.path() + "\\InProcServer32", "", inSystem32);
    ScopedTestKey valid32(HKEY_CLASSES_ROOT, "Wow6432Node\\CLSID");
    setString(HKEY_CLASSES_ROOT, valid32.path() + "\\InProcServer32", "", inSystem32);
    ScopedTestKey bare32(HKEY_CLASSES_ROOT, "Wow6432Node\\CLSID");
    setString(HKEY_CLASSES_ROOT, bare32.path() + "\\InProcServer32", "", bare);
    ScopedTestKey unredirected32(HKEY_CLASSES_ROOT, "Wow6432Node\\CLSID");
    setString(HKEY_CLASSES_ROOT, unredirected32.path() + "\\InProcServer32", "",
              "%SystemRoot%\\System32\\drivers\\etc\\" + bare);
    ScopedTestKey broken32(HKEY_CLASSES_ROOT, "Wow6432Node\\CLSID");
    setString(HKEY_CLASSES_ROOT, broken32.path() + "\\InProcServer32", "",
              "%SystemRoot%\\System32\\" + bare);

    // The native view's file is the one in System32, which is not there.
    EXPECT_EQ(scanFor(CustomControls::instance(), nativeClass.path()).size(), 3u);
    EXPECT_TRUE(scanFor(CustomControls::instance(), valid32.path()).empty());
    EXPECT_TRUE(scanFor(CustomControls::instance(), bare32.path()).empty());
    EXPECT_TRUE(scanFor(CustomControls::instance(), unredirected32.path()).empty());
    const std::vector<TaskEntry> classFound = scanFor(CustomControls::instance(), broken32.path());
    ASSERT_EQ(classFound.size(), 3u);
    EXPECT_EQ(classFound.back().fields,
              (std::vector<std::string>{"HKEY_CLASSES_ROOT", broken32.path()}));

    // A program in Program Files (x86) only.
    const std::string programs32 = environmentValue("ProgramFiles(x86)");
    ASSERT_FALSE(programs32.empty());
    const std::string folder = uniqueName("mendora-app");
    ASSERT_TRUE(CreateDirectoryA((programs32 + "\\" + folder).c_str(), nullptr));
    const std::string program = folder + "\\prog.exe";
    {
        ScopedSystemFile installed(programs32 + "\\" + program);
        const std::string appPaths32 =
            "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths";
        ScopedTestKey nativeApp(HKEY_LOCAL_MACHINE, kAppPathsKey);
        nativeApp.setString("", "%ProgramFiles%\\" + program);
        ScopedTestKey valid32App(HKEY_LOCAL_MACHINE, appPaths32);
        valid32App.setString("", "\"%ProgramFiles%\\" + program + "\"");
        ScopedTestKey broken32App(HKEY_LOCAL_MACHINE, appPaths32);
        broken32App.setString("", "%ProgramFiles%\\" + folder + "\\gone.exe");

        EXPECT_EQ(scanFor(InstalledSoftware::instance(), nativeApp.path()).size(), 2u);
        const std::string asNative =
            std::string(kAppPathsKey) + broken32App.path().substr(appPaths32.size());
        if (keyExists(HKEY_LOCAL_MACHINE, asNative)) {
            // One App Paths key serves both views (so under Wine): it is read
            // once, in the native view, and each problem is listed once.
            EXPECT_TRUE(scanFor(InstalledSoftware::instance(), broken32App.path()).empty());
            EXPECT_EQ(scanFor(InstalledSoftware::instance(), asNative).size(), 2u);
        } else {
            EXPECT_TRUE(scanFor(InstalledSoftware::instance(), valid32App.path()).empty());
            const std::vector<TaskEntry> appFound =
                scanFor(InstalledSoftware::instance(), broken32App.path());
            ASSERT_EQ(appFound.size(), 2u);
            EXPECT_EQ(appFound[0].fields,
                      (std::vector<std::string>{"HKEY_LOCAL_MACHINE", broken32App.path()}));
        }
    }
    RemoveDirectoryA((programs32 + "\\" + folder).c_str());
}

TEST_F(RegistryScanners, FontsAreLookedForAsGivenAndInTheFontsFolders) {
    const std::string stem = uniqueName("mendora-font");
    const std::string fontsFolder = windowsFolder() + "\\Fonts\\";
    CreateDirectoryA(fontsFolder.c_str(), nullptr);
    writeFile(fontsFolder + stem + ".ttf", "font");
    // A font of the user's own, in the user's Fonts folder.
    char local[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local)));
    const std::string userFonts = std::string(local) + "\\Microsoft\\Windows\\Fonts\\";
    const bool madeUserFonts = CreateDirectoryA(userFonts.c_str(), nullptr) != 0;
    writeFile(userFonts + stem + "-user.ttf", "font");
    ScopedRegistryValue usersOwn(HKEY_LOCAL_MACHINE, kFonts, stem + " user (TrueType)",
                                 stem + "-user.ttf");
    ScopedRegistryValue present(HKEY_LOCAL_MACHINE, kFonts, stem + " present (TrueType)",
                                stem + ".ttf");
    ScopedRegistryValue missing(HKEY_LOCAL_MACHINE, kFonts, stem + " missing (TrueType)",
                                "\"" + stem + "-gone.ttf\"");

    const std::vector<TaskEntry> found = scanFor(FontPaths::instance(), kFonts);
    DeleteFileA((fontsFolder + stem + ".ttf").c_str());
    DeleteFileA((userFonts + stem + "-user.ttf").c_str());
    if (madeUserFonts) RemoveDirectoryA(userFonts.c_str());
    const auto mine = std::count_if(found.begin(), found.end(), [&](const TaskEntry& e) {
        return e.fields[2].rfind(stem, 0) == 0;
    });
    EXPECT_EQ(mine, 1);
    const auto gone = std::find_if(found.begin(), found.end(), [&](const TaskEntry& e) {
        return e.fields[2] == stem + " missing (TrueType)";
    });
    ASSERT_NE(gone, found.end());
    EXPECT_EQ(gone->type, EntryRegText);
    EXPECT_EQ(gone->fields,
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE", kFonts, stem + " missing (TrueType)",
                                        "STRING", stem + "-gone.ttf"}));
    EXPECT_EQ(problemReason(*gone),
              "the font file " + stem + "-gone.ttf is not in the Fonts folder " + fontsFolder);
}

TEST_F(RegistryScanners, HelpFoldersWithAndWithoutBackslashTestTheSamePath) {
    ScopedTestFolder folder;
    const std::string file = uniqueName("mendora") + ".hlp";
    const std::string other = uniqueName("mendora") + ".chm";
    std::string bare = folder.path();
    bare.pop_back();
    ScopedRegistryValue withSlash(HKEY_LOCAL_MACHINE, kHelp, file, folder.path());
    ScopedRegistryValue withoutSlash(HKEY_LOCAL_MACHINE, kHelp, other, bare);

    writeFile(folder.path() + file, "help");
    writeFile(folder.path() + other, "help");
    auto mine = [&](const std::vector<TaskEntry>& found) {
        return std::count_if(found.begin(), found.end(), [&](const TaskEntry& e) {
            return e.fields[2] == file || e.fields[2] == other;
        });
    };
    EXPECT_EQ(mine(scanFor(HelpFiles::instance(), kHelp)), 0);

    DeleteFileA((folder.path() + file).c_str());
    DeleteFileA((folder.path() + other).c_str());
    const std::vector<TaskEntry> found = scanFor(HelpFiles::instance(), kHelp);
    EXPECT_EQ(mine(found), 2);
    const auto entry = std::find_if(found.begin(), found.end(),
                                    [&](const TaskEntry& e) { return e.fields[2] == other; });
    ASSERT_NE(entry, found.end());
    EXPECT_EQ(entry->fields[4], bare);  // the folder text as found
    EXPECT_EQ(problemReason(*entry), "the help file " + folder.path() + other + " does not exist");
}

TEST_F(RegistryScanners, AProblemIsListedOnceInARun) {
    ScopedRegistryValue missing(HKEY_LOCAL_MACHINE, kHelp, uniqueName("mendora") + ".hlp",
                                "C:\\mendora-missing");
    const size_t first = scanFor(HelpFiles::instance(), kHelp).size();
    EXPECT_GE(first, 1u);
    // The same run again: everything was seen already.
    EXPECT_TRUE(HelpFiles::instance()->scan());
    EXPECT_EQ(HelpFiles::instance()->problemCount(), 0u);
    // A new run lists it again.
    EXPECT_EQ(scanFor(HelpFiles::instance(), kHelp).size(), first);
}

}  // namespace
