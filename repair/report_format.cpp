#include "repair/report_format.h"

#include "repair/byte_reader.h"

namespace sysrepair {

namespace {

const char kReportTag[3] = {'M', 'R', 'B'};
const uint16_t kReportVersion = 1;

}  // namespace

ReportEncoder::ReportEncoder(const std::string& categoryName) {
    header_.putBytes(kReportTag, sizeof kReportTag);
    header_.putU16(kReportVersion);
    valid_ = header_.putString(categoryName);
}

bool ReportEncoder::append(const ByteWriter& record) {
    // The header, the count and the records.
    full_ = header_.size() + 4 + records_.size() + record.size() > kMaxReportBytes;
    if (full_) return false;
    records_.append(record);
    ++count_;
    return true;
}

bool ReportEncoder::addRegKey(uint32_t root, const std::string& keyPath) {
    ByteWriter r;
    r.putU16(RecordRegKey);
    r.putU32(root);
    return r.putString(keyPath) && append(r);
}

bool ReportEncoder::addRegValue(uint32_t root, const std::string& keyPath,
                                const std::string& valueName, int32_t regType,
                                const std::vector<unsigned char>& data) {
    if (data.size() > 0x7FFFFFFFu) return false;
    ByteWriter r;
    r.putU16(RecordRegValue);
    r.putU32(root);
    if (!r.putString(keyPath) || !r.putString(valueName)) return false;
    r.putI32(regType);
    r.putI32(static_cast<int32_t>(data.size()));
    r.putBytes(data.data(), data.size());
    return append(r);
}

bool ReportEncoder::addFile(const std::string& path, const std::string& copyPath) {
    ByteWriter r;
    r.putU16(RecordFile);
    return r.putString(path) && r.putString(copyPath) && append(r);
}

bool ReportEncoder::addFolder(const std::string& path) {
    ByteWriter r;
    r.putU16(RecordFolder);
    return r.putString(path) && append(r);
}

bool ReportEncoder::addReadBack(const TaskEntry& e, uint32_t root) {
    switch (e.type) {
        case EntryFile:
            return addFile(e.path(), e.backupCopy());
        case EntryFolder:
            return addFolder(e.path());
        case EntryRegKey:
            return addRegKey(root, e.keyPath());
        case EntryRegRaw:
            return addRegValue(root, e.keyPath(), e.valueName(), e.regType, e.data);
        default:
            return false;
    }
}

std::string ReportEncoder::bytes() const {
    ByteWriter file = header_;
    file.putU32(count_);
    file.append(records_);
    return file.bytes();
}

namespace {

// One record's payload; false when it is cut short or carries a bad length.
bool readRecord(ByteReader& in, uint16_t code, RootNameOf rootName, TaskEntry& entry) {
    uint32_t root = 0;
    std::string a, b;
    switch (code) {
        case RecordRegKey:
            if (!in.readU32(root) || !in.readString(a)) return false;
            entry.type = EntryRegKey;
            entry.fields = {rootName(root), a};
            return true;
        case RecordRegValue: {
            std::string valueName;
            int32_t regType = 0, length = 0;
            std::vector<unsigned char> data;
            if (!in.readU32(root) || !in.readString(a) || !in.readString(valueName) ||
                !in.readI32(regType) || !in.readI32(length) || length < 0 ||
                !in.readBlock(static_cast<size_t>(length), data))
                return false;
            entry.fields = {rootName(root), a, valueName};
            entry.type = EntryRegRaw;
            entry.regType = regType;
            entry.data = std::move(data);
            return true;
        }
        case RecordFile:
            if (!in.readString(a) || !in.readString(b)) return false;
            entry.type = EntryFile;
            entry.fields = {a, b};
            return true;
        case RecordFolder:
            if (!in.readString(a)) return false;
            entry.type = EntryFolder;
            entry.fields = {a};
            return true;
        default:
            return false;
    }
}

}  // namespace

bool readReportHeader(const std::string& bytes, std::string& categoryName, uint32_t& recordCount) {
    ByteReader in(bytes);
    char tag[sizeof kReportTag];
    uint16_t version = 0;
    return in.readBytes(tag, sizeof tag) && std::string(tag, sizeof tag) == "MRB" &&
           in.readU16(version) && version == kReportVersion && in.readString(categoryName) &&
           in.readU32(recordCount);
}

DecodedReport decodeReport(const std::string& bytes, RootNameOf rootName) {
    DecodedReport report;
    ByteReader in(bytes);
    char tag[sizeof kReportTag];
    uint16_t version = 0;
    if (!in.readBytes(tag, sizeof tag) || std::string(tag, sizeof tag) != "MRB" ||
        !in.readU16(version) || version != kReportVersion)
        return report;
    report.status = ReportStatus::Damaged;
    uint32_t count = 0;
    if (!in.readString(report.categoryName) || !in.readU32(count)) return report;
    report.recordCount = count;
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t code = 0;
        if (!in.readU16(code)) return report;
        if (code > RecordFolder) {
            report.status = ReportStatus::UnknownRecord;
            report.unknownCode = code;
            return report;
        }
        TaskEntry entry;
        if (!readRecord(in, code, rootName, entry)) return report;
        report.entries.push_back(std::move(entry));
    }
    report.status = ReportStatus::Complete;
    return report;
}

}  // namespace sysrepair
