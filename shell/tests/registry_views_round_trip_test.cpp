// A 64-bit Mendora scans the COM classes of both registry views: a broken
// class of either view is found, removed from its own view only and put back
// there by the restore, beside a working class of the same name in the
// other view.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/registry_reader_writer.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "repair/settings.h"
#include "scan/categories/categories.h"
#include "scan/categories/custom_controls.h"
#include "scan/task_manager.h"
#include "shell/restore_form.h"
#include "shell/tests/restore_support.h"

using namespace sysrepair;
using namespace restore_testing;
using namespace testing_support;

namespace {

const char kClasses[] = "CLSID";
const char kClasses32[] = "Wow6432Node\\CLSID";

// A class below HKEY_CLASSES_ROOT\<classes>, removed with its tree at the end.
class PlantedClass {
public:
    PlantedClass(const std::string& classes, const std::string& id, const std::string& server)
        : path_(classes + "\\" + id) {
        win::RegistryReaderWriter reg;
        reg.setRoot(HKEY_CLASSES_ROOT);
        reg.setKey(path_);
        reg.writeString("Mendora two views " + classes, "");
        reg.setKey(path_ + "\\InProcServer32");
        reg.writeString(server, "");
        reg.writeString("Both", "ThreadingModel");
    }
    ~PlantedClass() { deleteKeyTree(HKEY_CLASSES_ROOT, path_); }
    PlantedClass(const PlantedClass&) = delete;
    PlantedClass& operator=(const PlantedClass&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(RegistryViewsRoundTrip, ABrokenClassOfEitherViewLeavesAndReturnsInItsOwnViewOnly) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "a 32-bit Mendora reads its own registry view only";
    createCategories();
    TestInstallation install;
    // A server file outside the system folders is the same file in both
    // views (the 32-bit system folder is empty where 32-bit code cannot run).
    ScopedTestFolder servers;
    const std::string present = servers.path() + "present.dll";
    writeFile(present, "MZ");
    const std::string gone = "C:\\mendora-missing\\" + uniqueName("two-views") + ".dll";
    // One name broken in the native view, working in the 32-bit one; the
    // other the other way round.
    const std::string nativeBroken = "{" + uniqueName("mendora-native") + "}";
    const std::string broken32 = "{" + uniqueName("mendora-32") + "}";
    PlantedClass a(kClasses, nativeBroken, gone);
    PlantedClass aTwin(kClasses32, nativeBroken, present);
    PlantedClass b(kClasses32, broken32, gone);
    PlantedClass bTwin(kClasses, broken32, present);
    const PlantedClass* all[] = {&a, &aTwin, &b, &bTwin};
    std::vector<RegTree> before;
    for (const PlantedClass* c : all) {
        before.push_back(snapshotTree(HKEY_CLASSES_ROOT, c->path()));
        ASSERT_EQ(before.back().size(), 2u) << c->path();
    }

    TaskManager::instance()->clearSeen();
    ASSERT_TRUE(CustomControls::instance()->scan());
    std::vector<TaskEntry*> found;
    CustomControls::instance()->getEntries(found);
    HeldProblems held("Custom Controls", "Missing COM/DLL/OCX Components");
    for (const TaskEntry* e : found) {
        for (const PlantedClass* c : all) {
            if (e->fields.size() > 1 &&
                (e->fields[1] == c->path() || e->fields[1].rfind(c->path() + "\\", 0) == 0)) {
                EXPECT_TRUE(c == &a || c == &b) << "listed: " << e->fields[1];
                held.hold(*e);
            }
        }
    }
    // Each broken class: its value, the server key's two values, the server
    // key and the class key.
    ASSERT_EQ(held.problemCount(), 10u);

    install.repair({&held});
    EXPECT_TRUE(snapshotTree(HKEY_CLASSES_ROOT, a.path()).empty());
    EXPECT_TRUE(snapshotTree(HKEY_CLASSES_ROOT, b.path()).empty());
    EXPECT_EQ(snapshotTree(HKEY_CLASSES_ROOT, aTwin.path()), before[1]);
    EXPECT_EQ(snapshotTree(HKEY_CLASSES_ROOT, bTwin.path()), before[3]);

    install.messages.clear();
    {
        TScanRestoreForm form;
        form.show();
        form.TeButton1.click();
    }
    ASSERT_EQ(install.messages.size(), 1u);
    EXPECT_EQ(install.messages[0].caption, "System Restored");
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(snapshotTree(HKEY_CLASSES_ROOT, all[i]->path()), before[i]) << all[i]->path();
    EXPECT_TRUE(getSettings()->backups().empty());
}

}  // namespace
