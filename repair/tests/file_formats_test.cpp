// The byte layouts of the index and the reports, and how their readers cope
// with files cut short or damaged anywhere.
#include <gtest/gtest.h>

#include <string>

#include "repair/backup_index.h"
#include "repair/byte_reader.h"
#include "repair/byte_writer.h"
#include "repair/report_format.h"

using namespace sysrepair;

namespace {

std::string rootName(uint32_t root) {
    return root == 0x80000001u ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string bytesOf(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST(ByteFormat, TextsAreSixteenBitCountedAndNeverWrapped) {
    ByteWriter w;
    EXPECT_TRUE(w.putString("ab"));
    EXPECT_TRUE(w.putString(""));
    EXPECT_TRUE(w.putString(std::string(kMaxStoredText, 'x')));
    EXPECT_FALSE(w.putString(std::string(kMaxStoredText + 1, 'x')));
    w.putI32(-2);
    EXPECT_EQ(w.bytes().substr(0, 6), bytesOf({2, 0, 'a', 'b', 0, 0}));
    EXPECT_EQ(w.size(), 6 + 2 + kMaxStoredText + 4);  // the refused text left nothing

    ByteReader r(w.bytes());
    std::string text;
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text, "ab");
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text, "");
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text.size(), kMaxStoredText);
    int32_t v;
    ASSERT_TRUE(r.readI32(v));
    EXPECT_EQ(v, -2);
    EXPECT_FALSE(r.readI32(v));
}

BackupIndex indexWith(int count) {
    BackupIndex index;
    index.maxEntries = 1000;
    for (int i = 0; i < count; ++i) {
        BackupIndex::BackupEntry e;
        e.time = 1100000000 + i;
        e.folder = "C:\\M\\bak\\" + std::to_string(i);
        e.summary = i % 2 ? "3 Missing System Fonts" : "";
        index.add(e);
    }
    return index;
}

TEST(IndexFormat, LayoutIsTagCountThenTimeSummaryFolder) {
    BackupIndex index;
    BackupIndex::BackupEntry e;
    e.time = -5;
    e.summary = "S";
    e.folder = "F";
    index.add(e);
    EXPECT_EQ(index.encode(), std::string("VSI") + bytesOf({1, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 1,
                                                            0, 'S', 1, 0, 'F'}));
}

TEST(IndexFormat, CutAnywhereKeepsEveryWholeRecordBeforeTheCut) {
    const BackupIndex index = indexWith(4);
    const std::string full = index.encode();
    // Where each record ends: the record boundaries of the full file.
    std::vector<size_t> ends;
    for (int k = 1; k <= 4; ++k) {
        BackupIndex part;
        for (int i = 0; i < k; ++i) part.add(index.at(k - 1 - i));
        ends.push_back(part.encode().size());
    }
    for (size_t n = 0; n < full.size(); ++n) {
        std::deque<BackupIndex::BackupEntry> out;
        const bool isIndex = BackupIndex::decode(full.substr(0, n), 30, out);
        EXPECT_EQ(isIndex, n >= 3) << n;
        size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= n) ++whole;
        ASSERT_EQ(out.size(), whole) << n;
        for (size_t i = 0; i < whole; ++i) EXPECT_EQ(out[i].folder, index.at(i).folder);
    }
}

TEST(IndexFormat, ForeignOrDamagedBytesAreReadSafely) {
    std::deque<BackupIndex::BackupEntry> out;
    EXPECT_FALSE(BackupIndex::decode("VSX\x01", 30, out));
    EXPECT_FALSE(BackupIndex::decode("", 30, out));

    const std::string full = indexWith(3).encode();
    for (size_t i = 0; i < full.size(); ++i) {
        for (int flip : {0x80, 0xFF}) {
            std::string damaged = full;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            out.clear();
            BackupIndex::decode(damaged, 30, out);
            EXPECT_LE(out.size(), 3u);
        }
    }
    // A count far beyond the records present.
    std::string huge = full;
    huge.replace(3, 4, bytesOf({0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(BackupIndex::decode(huge, 30, out));
    EXPECT_EQ(out.size(), 3u);
}

// One report holding every record code, and the file size after each record.
struct SampleReport {
    std::string bytes;
    std::vector<size_t> ends;
};

SampleReport sampleReport() {
    ReportEncoder enc("Windows Shortcuts");
    std::vector<size_t> ends;
    enc.addRegKey(0x80000001u, "Software\\A");
    ends.push_back(enc.bytes().size());
    enc.addRegValue(0x80000002u, "Software\\B", "v", 3, {1, 2, 3, 0});
    ends.push_back(enc.bytes().size());
    enc.addFile("C:\\a.lnk", "C:\\bak\\0\\files\\1.bak");
    ends.push_back(enc.bytes().size());
    enc.addFolder("C:\\empty");
    ends.push_back(enc.bytes().size());
    return {enc.bytes(), ends};
}

TEST(ReportFormat, LayoutOfHeaderAndRecords) {
    ReportEncoder enc("N");
    ASSERT_TRUE(enc.valid());
    enc.addRegKey(0x80000000u, "K");
    enc.addFolder("D");
    EXPECT_EQ(enc.bytes(), std::string("MRB") + bytesOf({1, 0, 1, 0, 'N', 2,    0, 0, 0,  // header
                                                         0, 0, 0, 0, 0,   0x80, 1, 0, 'K',  // key
                                                         3, 0, 1, 0, 'D'}));
}

TEST(ReportFormat, OverlongTextsLeaveTheRecordOutAndTheCountRight) {
    ReportEncoder enc("Drive Cleaner");
    const std::string longPath(kMaxStoredText + 1, 'p');
    EXPECT_FALSE(enc.addFolder(longPath));
    EXPECT_FALSE(enc.addFile("C:\\x", longPath));
    EXPECT_FALSE(enc.addRegValue(0x80000002u, "K", longPath, 1, {}));
    EXPECT_TRUE(enc.addFolder("C:\\ok"));
    EXPECT_EQ(enc.recordCount(), 1u);
    const DecodedReport back = decodeReport(enc.bytes(), rootName);
    EXPECT_EQ(back.status, ReportStatus::Complete);
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.entries[0].fields[0], "C:\\ok");

    EXPECT_FALSE(ReportEncoder(longPath).valid());
}

TEST(ReportFormat, AReportNeverGrowsPastWhatTheReaderReads) {
    ReportEncoder enc("Drive Cleaner");
    const std::vector<unsigned char> block(1u << 20, 0x5A);
    uint32_t added = 0;
    while (enc.addRegValue(0x80000001u, "K", std::to_string(added), 3, block)) ++added;
    EXPECT_TRUE(enc.full());  // refused for its size, not for a text
    EXPECT_EQ(enc.recordCount(), added);
    EXPECT_GT(added, 60u);
    const std::string bytes = enc.bytes();
    EXPECT_LE(bytes.size(), kMaxReportBytes);
    const DecodedReport back = decodeReport(bytes, rootName);
    EXPECT_EQ(back.status, ReportStatus::Complete);
    EXPECT_EQ(back.entries.size(), added);
}

TEST(ReportFormat, CutAnywhereKeepsEveryWholeRecordBeforeTheCut) {
    const SampleReport sample = sampleReport();
    const DecodedReport whole = decodeReport(sample.bytes, rootName);
    ASSERT_EQ(whole.status, ReportStatus::Complete);
    ASSERT_EQ(whole.entries.size(), 4u);
    for (size_t n = 0; n < sample.bytes.size(); ++n) {
        const DecodedReport cut = decodeReport(sample.bytes.substr(0, n), rootName);
        size_t records = 0;
        while (records < sample.ends.size() && sample.ends[records] <= n) ++records;
        EXPECT_EQ(cut.status, n < 5 ? ReportStatus::NotAReport : ReportStatus::Damaged) << n;
        ASSERT_EQ(cut.entries.size(), records) << n;
        for (size_t i = 0; i < records; ++i)
            EXPECT_EQ(cut.entries[i].fields, whole.entries[i].fields) << n;
    }
}

TEST(ReportFormat, DamageAnywhereIsReadSafely) {
    const SampleReport sample = sampleReport();
    for (size_t i = 0; i < sample.bytes.size(); ++i) {
        for (int flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = sample.bytes;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            const DecodedReport r = decodeReport(damaged, rootName);
            EXPECT_LE(r.entries.size(), 4u);
        }
    }
    // A negative and an absurd data length in the value record.
    const size_t lengthAt = sample.ends[0] + 2 + 4 + 12 + 3 + 4;
    for (uint32_t bad : {0xFFFFFFFFu, 0x7FFFFFFFu}) {
        std::string damaged = sample.bytes;
        for (int b = 0; b < 4; ++b) damaged[lengthAt + b] = static_cast<char>(bad >> (8 * b));
        const DecodedReport r = decodeReport(damaged, rootName);
        EXPECT_EQ(r.status, ReportStatus::Damaged);
        EXPECT_EQ(r.entries.size(), 1u);
    }
}

TEST(ReportFormat, UnknownRecordCodeEndsTheReadThere) {
    SampleReport sample = sampleReport();
    sample.bytes[sample.ends[1]] = 9;  // the file record's code
    const DecodedReport r = decodeReport(sample.bytes, rootName);
    EXPECT_EQ(r.status, ReportStatus::UnknownRecord);
    EXPECT_EQ(r.unknownCode, 9);
    EXPECT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.categoryName, "Windows Shortcuts");
}

TEST(ReportFormat, OtherVersionsAndTagsAreNotReports) {
    std::string bytes = sampleReport().bytes;
    bytes[3] = 2;
    EXPECT_EQ(decodeReport(bytes, rootName).status, ReportStatus::NotAReport);
    bytes = sampleReport().bytes;
    bytes[0] = 'm';
    EXPECT_EQ(decodeReport(bytes, rootName).status, ReportStatus::NotAReport);
}

}  // namespace
