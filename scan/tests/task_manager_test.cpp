#include "scan/task_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/tests/support/child_process.h"

using namespace sysrepair;

namespace {

TaskEntry fileEntry(const std::string& path) {
    TaskEntry e;
    e.fields = {path};
    return e;
}

TEST(AcceptEntry, FirstFinderInARunKeepsTheProblem) {
    TaskManager* tm = TaskManager::instance();
    tm->clearSeen();
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\b.tmp")));
    EXPECT_FALSE(tm->acceptEntry(fileEntry("c:\\temp\\cache\\A.TMP")));
    EXPECT_FALSE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));  // still a duplicate

    TaskEntry folder = fileEntry("C:\\Temp\\Cache\\a.tmp");
    folder.type = EntryFolder;
    EXPECT_TRUE(tm->acceptEntry(folder));

    tm->clearSeen();  // the next run starts afresh
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));
}

TEST(AcceptEntry, RawValuesWithOtherBytesAreBothKept) {
    TaskManager* tm = TaskManager::instance();
    tm->clearSeen();
    TaskEntry a, b;
    a.fields = b.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{1}", "v"};
    a.setRawValue(3, "\x01", 1);
    b.setRawValue(3, "\x02", 1);
    EXPECT_TRUE(tm->acceptEntry(a));
    EXPECT_TRUE(tm->acceptEntry(b));
    EXPECT_FALSE(tm->acceptEntry(b));
    // Bytes past a zero byte count, and so do zero and escape bytes.
    TaskEntry zeroA = a, zeroB = a, zero = a, escaped = a;
    zeroA.setRawValue(3, "x\0y", 3);
    zeroB.setRawValue(3, "x\0z", 3);
    zero.setRawValue(3, "\0", 1);
    escaped.setRawValue(3,
                        "\x01"
                        "0",
                        2);
    EXPECT_TRUE(tm->acceptEntry(zeroA));
    EXPECT_TRUE(tm->acceptEntry(zeroB));
    EXPECT_TRUE(tm->acceptEntry(zero));
    EXPECT_TRUE(tm->acceptEntry(escaped));
    EXPECT_FALSE(tm->acceptEntry(zeroB));

    // Texts that read the same run together are still different entries,
    // and so are equal bytes under another value type.
    TaskEntry split = fileEntry("ab");
    split.fields.push_back("c");
    TaskEntry joined = fileEntry("a");
    joined.fields.push_back("bc");
    EXPECT_TRUE(tm->acceptEntry(split));
    EXPECT_TRUE(tm->acceptEntry(joined));
    b.regType = 4;
    EXPECT_TRUE(tm->acceptEntry(b));
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
