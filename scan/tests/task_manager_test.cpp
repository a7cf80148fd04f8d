#include "scan/task_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "common/tests/support/child_process.h"

using namespace sysrepair;

namespace {

TaskEntry fileEntry(const std::string& path) {
    TaskEntry e;
    e.fields = {path};
    return e;
}

// The check holds the entries it accepted, so they are kept in place here
// for the whole test.
class AcceptEntry : public ::testing::Test {
protected:
    void SetUp() override { TaskManager::instance()->clearSeen(); }
    void TearDown() override { TaskManager::instance()->clearSeen(); }
    bool accept(TaskEntry e) {
        kept.push_back(std::move(e));
        return TaskManager::instance()->acceptEntry(kept.back());
    }
    std::deque<TaskEntry> kept;
};

TEST_F(AcceptEntry, FirstFinderInARunKeepsTheProblem) {
    EXPECT_TRUE(accept(fileEntry("C:\\Temp\\Cache\\a.tmp")));
    EXPECT_TRUE(accept(fileEntry("C:\\Temp\\Cache\\b.tmp")));
    EXPECT_FALSE(accept(fileEntry("c:\\temp\\cache\\A.TMP")));
    EXPECT_FALSE(accept(fileEntry("C:\\Temp\\Cache\\a.tmp")));  // still a duplicate

    TaskEntry folder = fileEntry("C:\\Temp\\Cache\\a.tmp");
    folder.type = EntryFolder;
    EXPECT_TRUE(accept(folder));

    TaskManager::instance()->clearSeen();  // the next run starts afresh
    EXPECT_TRUE(accept(fileEntry("C:\\Temp\\Cache\\a.tmp")));
}

TEST_F(AcceptEntry, RawValuesWithOtherBytesAreBothKept) {
    TaskEntry a, b;
    a.fields = b.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{1}", "v"};
    a.setRawValue(3, "\x01", 1);
    b.setRawValue(3, "\x02", 1);
    EXPECT_TRUE(accept(a));
    EXPECT_TRUE(accept(b));
    EXPECT_FALSE(accept(b));
    // Bytes past a zero byte count.
    TaskEntry zeroY = a, zeroZ = a;
    zeroY.setRawValue(3, "x\0y", 3);
    zeroZ.setRawValue(3, "x\0z", 3);
    EXPECT_TRUE(accept(zeroY));
    EXPECT_TRUE(accept(zeroZ));
    EXPECT_FALSE(accept(zeroZ));

    // Texts that read the same run together are still different entries,
    // and so are equal bytes under another value type.
    TaskEntry split = fileEntry("ab");
    split.fields.push_back("c");
    TaskEntry joined = fileEntry("a");
    joined.fields.push_back("bc");
    EXPECT_TRUE(accept(split));
    EXPECT_TRUE(accept(joined));
    b.regType = 4;
    EXPECT_TRUE(accept(b));
}

// A category of the test's own, made once and kept like the real ones.
class ListTask : public BasicTask {
public:
    std::string name() override { return "List"; }
    std::string description() override { return "Listed problems"; }
    bool scan() override { return true; }
    bool add(const std::string& path) {
        return addEntry(std::make_unique<TaskEntry>(fileEntry(path)));
    }
    void clear() { clearEntries(); }
};

TEST_F(AcceptEntry, ADroppedEntryStaysSeenUntilTheNextRun) {
    static ListTask* const first = new ListTask();
    static ListTask* const second = new ListTask();
    EXPECT_TRUE(first->add("C:\\Temp\\x.tmp"));
    EXPECT_FALSE(second->add("C:\\TEMP\\X.TMP"));
    // The list that held it is cleared: the run still knows the problem.
    first->clear();
    EXPECT_FALSE(second->add("C:\\TEMP\\X.TMP"));
    EXPECT_FALSE(first->add("C:\\Temp\\x.tmp"));
    EXPECT_EQ(first->problemCount() + second->problemCount(), 0u);
    TaskManager::instance()->clearSeen();
    EXPECT_TRUE(second->add("C:\\TEMP\\X.TMP"));
    second->clear();
}

CHILD_SCENARIO(restoreWithoutCategories) {
    TaskManager::instance()->restoreEntries({});
}

TEST(RestoreEntries, StopsTheProgramWithoutAnyCategory) {
    const auto child = testing_support::runChild("restoreWithoutCategories");
    EXPECT_EQ(child.exitCode, 3u);
    EXPECT_THAT(child.output, ::testing::HasSubstr("task != NULL, file taskManager, line 1118"));
}

}  // namespace
