// What the user keeps for good, and the stored list a damaged file must not
// turn into more than nothing; the reasons and sizes the user reads.
#include "scan/keep_list.h"

#include <gtest/gtest.h>

#include "scan/problem_reason.h"

using namespace sysrepair;

namespace {

TaskEntry entry(uint8_t type, std::vector<std::string> fields) {
    TaskEntry e;
    e.type = type;
    e.fields = std::move(fields);
    return e;
}

KeepList sampleList() {
    KeepList list;
    EXPECT_TRUE(list.add({KeptKind::Problem,
                          EntryRegText,
                          {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Fonts", "Odd%\tName\r\n (TrueType)"}}));
    EXPECT_TRUE(list.add({KeptKind::Folder, EntryFile, {"C:\\Temp\\keep\\"}}));
    EXPECT_TRUE(list.add({KeptKind::Key, EntryFile, {"HKEY_CLASSES_ROOT", "CLSID\\{A}"}}));
    EXPECT_TRUE(list.add({KeptKind::FileType, EntryFile, {".log"}}));
    return list;
}

TEST(KeepList, KeepsWhatItNamesAndNothingBesideIt) {
    const KeepList list = sampleList();
    // A value whatever its data, and in any case of letters.
    TaskEntry font =
        entry(EntryRegRaw, {"HKEY_LOCAL_MACHINE", "software\\fonts", "ODD%\tNAME\r\n (TRUETYPE)"});
    font.setRawValue(1, "x", 2);
    EXPECT_TRUE(list.keepsEntry(font));
    EXPECT_FALSE(list.keepsEntry(
        entry(EntryRegText, {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Fonts", "Other", "STRING", "x"})));
    // At or below the folder, not a sibling whose name begins the same.
    EXPECT_TRUE(list.keepsEntry(entry(EntryFile, {"C:\\TEMP\\Keep\\a\\b.tmp"})));
    EXPECT_TRUE(list.keepsEntry(entry(EntryFolder, {"C:\\Temp\\keep"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryFile, {"C:\\Temp\\keeper\\b.tmp"})));
    // The key's tree, not a key of a longer name.
    EXPECT_TRUE(list.keepsEntry(entry(EntryRegKey, {"HKEY_CLASSES_ROOT", "CLSID\\{A}"})));
    EXPECT_TRUE(list.keepsEntry(entry(EntryRegRaw, {"HKEY_CLASSES_ROOT", "CLSID\\{a}\\Sub", "v"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryRegKey, {"HKEY_CLASSES_ROOT", "CLSID\\{AB}"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryRegKey, {"HKEY_LOCAL_MACHINE", "CLSID\\{A}"})));
    // Files of the type; not a file named only ".log", nor a folder.
    EXPECT_TRUE(list.keepsEntry(entry(EntryFile, {"D:\\x\\trace.LOG"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryFile, {"D:\\x\\.log"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryFolder, {"D:\\x\\old.log"})));
    EXPECT_FALSE(list.keepsEntry(entry(EntryFile, {"D:\\x\\trace.logs"})));

    // An item kept already, or an empty one, is not added again.
    KeepList again = list;
    EXPECT_FALSE(again.add({KeptKind::FileType, EntryFile, {".LOG"}}));
    EXPECT_FALSE(again.add({KeptKind::Folder, EntryFile, {""}}));
    EXPECT_EQ(again.items().size(), 4u);
}

TEST(KeepList, ChoicesGoFromTheProblemToItsFolderKeyAndType) {
    const std::vector<KeptItem> file = keepChoices(entry(EntryFile, {"C:\\Temp\\sub\\x.tmp"}));
    ASSERT_EQ(file.size(), 3u);
    EXPECT_EQ(keptItemText(file[0]), "C:\\Temp\\sub\\x.tmp");
    EXPECT_EQ(file[1].kind, KeptKind::Folder);
    EXPECT_EQ(keptItemText(file[1]), "C:\\Temp\\sub\\");
    EXPECT_EQ(keptItemText(file[2]), ".tmp");
    const std::vector<KeptItem> key =
        keepChoices(entry(EntryRegKey, {"HKEY_CLASSES_ROOT", "CLSID\\{A}"}));
    ASSERT_EQ(key.size(), 2u);
    EXPECT_EQ(keptItemText(key[1]), "HKEY_CLASSES_ROOT\\CLSID");
    const std::vector<KeptItem> value = keepChoices(
        entry(EntryRegText, {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Help", "x.hlp", "STRING", "C:\\"}));
    ASSERT_EQ(value.size(), 2u);
    EXPECT_EQ(keptItemText(value[0]), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\\x.hlp");
    EXPECT_EQ(keptItemText(value[1]), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Help");
    EXPECT_TRUE(keepChoices(entry(EntryRegKey, {"HKEY_CLASSES_ROOT"})).empty());
}

TEST(KeepList, AStoredListReadsBackWholeAndADamagedOneKeepsNothing) {
    const std::string text = formatKeepList(sampleList());
    KeepList read;
    ASSERT_TRUE(parseKeepList(text, read));
    EXPECT_EQ(formatKeepList(read), text);
    ASSERT_EQ(read.items().size(), 4u);
    EXPECT_EQ(read.items()[0].names[2], "Odd%\tName\r\n (TrueType)");

    const size_t end = text.find("end\t");
    std::string edited = text;
    edited[text.find("keep")] = 'K';  // one letter changed by hand
    std::string added = text;
    added.insert(end, "type\t.tmp\r\n");  // an item added without its check
    const std::vector<std::string> damaged = {
        "",
        text.substr(0, end),              // cut before the last line
        text.substr(0, text.size() - 1),  // cut inside it
        text + "type\t.x\r\n",            // more after it
        edited,
        added,
        "Mendora kept items 2" + text.substr(text.find("\r\n")),
        std::string("\0\0\0", 3),
    };
    for (const std::string& bad : damaged) {
        KeepList list = sampleList();
        EXPECT_FALSE(parseKeepList(bad, list)) << bad;
        EXPECT_TRUE(list.empty());
    }
}

TEST(ProblemReason, DatesAndSizesAsPeopleReadThem) {
    TaskEntry unused = entry(EntryFile, {"C:\\Temp\\a.tmp"});
    unused.fileChecks = FileStampKnown | FoundUnused;
    unused.fileSize = 1536;
    unused.setLastAccess(132592896000000000ULL);  // 2021-03-04 00:00 UTC
    EXPECT_EQ(problemReason(unused), "last used on 2021-03-04, not today");
    EXPECT_EQ(utcDateText(0), "1601-01-01");
    EXPECT_EQ(utcDateText(116444736000000000ULL - 1), "1969-12-31");
    EXPECT_EQ(utcDateText(126227808000000000ULL), "2001-01-01");
    EXPECT_EQ(utcDateText(125962560000000000ULL), "2000-02-29");
    EXPECT_EQ(problemBytes(unused), 1536u);
    EXPECT_EQ(problemBytes(entry(EntryRegKey, {"HKEY_CLASSES_ROOT", "CLSID"})), 0u);

    EXPECT_EQ(byteCountText(1), "1 byte");
    EXPECT_EQ(byteCountText(1023), "1023 bytes");
    EXPECT_EQ(byteCountText(1536), "1.5 KB");
    EXPECT_EQ(byteCountText(1048575), "1.0 MB");
    EXPECT_EQ(byteCountText(47395635ULL), "45.2 MB");
    EXPECT_EQ(byteCountText(~0ULL), "16.0 EB");
}

}  // namespace
