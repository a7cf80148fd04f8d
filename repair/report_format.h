// The backup report of one category (".srb"): "MRB", a 16-bit version 1, the
// category name, an unsigned 32-bit record count, then per backed-up entry a
// 16-bit record code and its payload. Texts are a signed 16-bit byte count
// and the bytes; registry roots are stored as their predefined 32-bit handle
// values. Portable: no Win32; callers convert root names to and from handles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/byte_writer.h"
#include "scan/task_entry.h"

namespace sysrepair {

enum ReportRecordCode : uint16_t {
    RecordRegKey = 0,    // root, key path
    RecordRegValue = 1,  // root, key path, value name, type, data length, data
    RecordFile = 2,      // file path, backup copy path
    RecordFolder = 3,    // folder path
};

// The largest report a writer makes and a reader reads: a category with more
// to back up is written into several reports.
constexpr size_t kMaxReportBytes = 64u << 20;

class ReportEncoder {
public:
    explicit ReportEncoder(const std::string& categoryName);
    // False when the category name is too long to store.
    bool valid() const { return valid_; }

    // Each appends one record and returns true, or appends nothing and
    // returns false when one of its texts is too long to store.
    //
    // An entry as it was read back from a report, written again as it stands
    // (no copy is made): false for an entry no record can hold.
    bool addReadBack(const TaskEntry& entry, uint32_t root);
    bool addRegKey(uint32_t root, const std::string& keyPath);
    bool addRegValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                     int32_t regType, const std::vector<unsigned char>& data);
    bool addFile(const std::string& path, const std::string& copyPath);
    bool addFolder(const std::string& path);

    uint32_t recordCount() const { return count_; }
    // The last add was refused because the report would grow past
    // kMaxReportBytes; a new report takes the record.
    bool full() const { return full_; }
    // The whole file, its count being the number of records added.
    std::string bytes() const;

private:
    bool append(const ByteWriter& record);

    ByteWriter header_;
    ByteWriter records_;
    uint32_t count_ = 0;
    bool valid_ = false;
    bool full_ = false;
};

enum class ReportStatus {
    Complete,       // every record the count announced was read
    NotAReport,     // no "MRB" tag or another version: nothing read
    Damaged,        // cut short or a bad length: the records before it were read
    UnknownRecord,  // a record code this program does not know: read up to it
};

struct DecodedReport {
    ReportStatus status = ReportStatus::NotAReport;
    std::string categoryName;
    std::vector<TaskEntry> entries;
    uint32_t recordCount = 0;  // the records the report announced
    uint16_t unknownCode = 0;  // with UnknownRecord
};

using RootNameOf = std::string (*)(uint32_t root);

// A report's header holds no more than this many bytes: the tag, the
// version, the category name (at most 32,767 bytes) and the record count.
constexpr size_t kReportHeaderLimit = 3 + 2 + 2 + 32767 + 4;

// The category name and the record count from the start of a report; false
// when the bytes do not start a report of this version.
bool readReportHeader(const std::string& bytes, std::string& categoryName, uint32_t& recordCount);

// Reads a report's bytes. A value record always comes back as an EntryRegRaw.
// Reading stops at the first damaged record, and at an unknown record code,
// whose length cannot be known.
DecodedReport decodeReport(const std::string& bytes, RootNameOf rootName);

}  // namespace sysrepair
