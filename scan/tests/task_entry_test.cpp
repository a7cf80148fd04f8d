#include "scan/task_entry.h"

#include <gtest/gtest.h>

using namespace sysrepair;

namespace {

TaskEntry regText(const std::string& key, const std::string& value) {
    TaskEntry e;
    e.type = EntryRegText;
    e.fields = {"HKEY_LOCAL_MACHINE", key, value, "STRING", "data"};
    return e;
}

TEST(TaskEntryEquality, FieldsDifferingOnlyInAsciiCaseAreEqual) {
    EXPECT_TRUE(
        entriesEqual(regText("Software\\Fonts", "Arial"), regText("SOFTWARE\\fonts", "ARIAL")));
    EXPECT_FALSE(
        entriesEqual(regText("Software\\Fonts", "Arial"), regText("Software\\Fonts", "Arial ")));
    // Bytes outside ASCII letters compare exactly.
    EXPECT_FALSE(entriesEqual(regText("K\xC4", "v"), regText("K\xE4", "v")));
    EXPECT_FALSE(entriesEqual(regText("K[", "v"), regText("K{", "v")));
}

TEST(TaskEntryEquality, TypeFieldCountAndRawDataMustMatch) {
    TaskEntry file;
    file.fields = {"C:\\a.tmp"};
    TaskEntry folder = file;
    folder.type = EntryFolder;
    EXPECT_FALSE(entriesEqual(file, folder));

    TaskEntry two = file;
    two.fields.push_back("C:\\bak\\a.bak");
    EXPECT_FALSE(entriesEqual(file, two));

    TaskEntry raw1, raw2;
    raw1.fields = raw2.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{x}", "v"};
    raw1.setRawValue(3, "\x01\x02", 2);
    raw2.setRawValue(3, "\x01\x03", 2);
    EXPECT_FALSE(entriesEqual(raw1, raw2));
    raw2.setRawValue(3, "\x01\x02", 2);
    EXPECT_TRUE(entriesEqual(raw1, raw2));
    raw2.setRawValue(1, "\x01\x02", 2);
    EXPECT_FALSE(entriesEqual(raw1, raw2));  // other regType
}

TEST(TaskEntry, SetRawValueCopiesTheBytesAndCopiesAreDeep) {
    char bytes[] = {'a', 'b', 'c'};
    TaskEntry e;
    e.setRawValue(3, bytes, 3);
    bytes[0] = 'z';
    EXPECT_EQ(e.type, EntryRegRaw);
    EXPECT_EQ(e.regType, 3);
    ASSERT_EQ(e.dataSize(), 3);
    EXPECT_EQ(e.data[0], 'a');

    TaskEntry copy = e;
    copy.data[1] = 'y';
    EXPECT_EQ(e.data[1], 'b');

    e.setRawValue(4, nullptr, 0);
    EXPECT_EQ(e.dataSize(), 0);
}

TEST(DisplayText, ShowsTheLastPathComponentOrTheValuePath) {
    TaskEntry e;
    e.fields = {"C:\\Windows\\Temp\\a.tmp"};
    EXPECT_EQ(displayText(e), "a.tmp");
    e.type = EntryFolder;
    e.fields = {"C:\\dir\\"};
    EXPECT_EQ(displayText(e), "dir");
    e.fields = {"nobackslash"};
    EXPECT_EQ(displayText(e), "nobackslash");

    e.type = EntryRegKey;
    e.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{1}"};
    EXPECT_EQ(displayText(e), "CLSID\\{1}");

    EXPECT_EQ(displayText(regText("Software\\Fonts", "Arial")), "Software\\Fonts\\Arial");
    EXPECT_EQ(displayText(regText("Software\\App", kDefaultValueMarker)), "Software\\App\\\"\"");

    e.type = EntryRegRaw;
    e.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{1}\\InprocServer32", ""};
    EXPECT_EQ(displayText(e), "CLSID\\{1}\\InprocServer32\\");

    e.type = 9;
    EXPECT_EQ(displayText(e), "Unknown");
}

}  // namespace
