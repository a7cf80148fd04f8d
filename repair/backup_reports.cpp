#include "repair/backup_reports.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "common/message_box.h"
#include "common/registry_roots.h"
#include "common/win_handles.h"
#include "repair/backup_names.h"
#include "repair/file_ops.h"
#include "repair/report_format.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

// Far above any real report; a larger file is read up to here and treated as
// cut short.
const size_t kMaxReportBytes = 64u << 20;

// The predefined handle of a root name, as its 32-bit file value.
uint32_t rootCode(const std::string& name) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(win::rootFromName(name)));
}

// Predefined handles are sign-extended 32-bit values on 64-bit Windows.
std::string rootNameOf(uint32_t code) {
    return win::nameFromRoot(
        reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(code))));
}

// The value as it is in the registry now: its type and every byte.
bool readLiveValue(const TaskEntry& e, int32_t& regType, std::vector<unsigned char>& data) {
    win::RegKey key;
    if (RegOpenKeyExA(win::rootFromName(e.rootName()), e.keyPath().c_str(), 0, KEY_QUERY_VALUE,
                      key.receive()) != ERROR_SUCCESS)
        return false;
    const char* name = e.valueName().c_str();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data.assign(size, 0);
    if (RegQueryValueExA(key.get(), name, nullptr, &type, size ? data.data() : nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    data.resize(size);
    regType = static_cast<int32_t>(type);
    return true;
}

// The value an EntryRegText puts back when the live value cannot be read: its
// text as REG_SZ, or the leading decimal integer of its text as the four
// bytes of a REG_DWORD, the way the undo of the entry itself would write it.
void textValueData(const TaskEntry& e, int32_t& regType, std::vector<unsigned char>& data) {
    const std::string& text = e.valueText();
    if (e.valueKind() == "STRING") {
        regType = REG_SZ;
        data.assign(text.begin(), text.end());
        return;
    }
    int value = 0;
    if (std::sscanf(text.c_str(), "%d", &value) != 1) value = 0;
    const uint32_t u = static_cast<uint32_t>(value);
    regType = REG_DWORD;
    data = {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>((u >> 8) & 0xFF),
            static_cast<unsigned char>((u >> 16) & 0xFF), static_cast<unsigned char>(u >> 24)};
}

// At most this many backup copies share a folder: under Wine every new file
// makes the platform read its whole folder, so one folder of 50,000 copies
// made a large repair quadratic.
const size_t kCopiesPerFolder = 1000;

// Where a report's backup copies go: the slot's "files" folder for the first
// thousand, then its sub-folders "1", "2", ... for each next thousand.
class CopyFolders {
public:
    explicit CopyFolders(const std::string& filesFolder)
        : filesFolder_(filesFolder), names_(filesFolder, kCopyExtension) {}

    bool copy(const std::string& source, std::string& copy) {
        if (inFolder_ == kCopiesPerFolder) {
            const std::string folder = filesFolder_ + "\\" + std::to_string(++folderNumber_);
            CreateDirectoryA(folder.c_str(), nullptr);
            names_ = UniqueNameSequence(folder, kCopyExtension);
            inFolder_ = 0;
        }
        if (!names_.copyInto(source, std::time(nullptr), copy)) return false;
        ++inFolder_;
        return true;
    }

private:
    std::string filesFolder_;
    UniqueNameSequence names_;
    size_t inFolder_ = 0;
    unsigned folderNumber_ = 0;
};

bool allDigits(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c < '0' || c > '9') return false;
    return true;
}

// Deletes the files of one folder that have the extension (reports or
// backup copies); false when the folder cannot be listed.
bool deleteFilesWithExtension(const std::string& folder, const char* extension) {
    std::vector<std::string> names;
    if (!listFileNames(folder, names)) return false;
    for (const std::string& name : names)
        if (hasExtensionFromFirstDot(name, extension)) DeleteFileA((folder + "\\" + name).c_str());
    return true;
}

}  // namespace

bool writeReport(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                 const std::string& slotFolder, std::vector<bool>* backedUp) {
    if (backedUp) backedUp->assign(entries.size(), false);
    const std::string reportPath = uniqueFileName(slotFolder, kReportExtension, std::time(nullptr));

    ReportEncoder encoder(categoryName);
    CopyFolders copyFolders(slotFolder + "\\files");
    std::vector<bool> saved(entries.size(), false);
    std::vector<std::string> copies;
    for (size_t i = 0; i < entries.size() && encoder.valid(); ++i) {
        TaskManager::instance()->reportIndex = static_cast<int32_t>(i);
        const TaskEntry* e = entries[i];
        if (!e) continue;
        switch (e->type) {
            case EntryFile: {
                std::string copy;
                if (!copyFolders.copy(e->path(), copy)) {
                    encoder.addFile(kNoCopyMarker, kNoCopyMarker);
                } else if (encoder.addFile(e->path(), copy)) {
                    copies.push_back(copy);
                    saved[i] = true;
                } else {
                    DeleteFileA(copy.c_str());
                }
                break;
            }
            case EntryFolder:
                saved[i] = encoder.addFolder(e->path());
                break;
            case EntryRegKey:
                saved[i] = encoder.addRegKey(rootCode(e->rootName()), e->keyPath());
                break;
            case EntryRegRaw:
                saved[i] = encoder.addRegValue(rootCode(e->rootName()), e->keyPath(),
                                               e->valueName(), e->regType, e->data);
                break;
            case EntryRegText: {
                int32_t regType = 0;
                std::vector<unsigned char> data;
                // The entry holds the text as the scanner compared it (quotes
                // dropped, variables expanded); the repair removes the value
                // as it stands, so that is what the backup keeps.
                if (!readLiveValue(*e, regType, data)) textValueData(*e, regType, data);
                saved[i] = encoder.addRegValue(rootCode(e->rootName()), e->keyPath(),
                                               e->valueName(), regType, data);
                break;
            }
            default:
                win::showMessageBox(nullptr, "Unknown Report Type", "Error", MB_OK);
                break;
        }
    }

    // The report appears under its name only when it is complete (written
    // beside it, then moved there), so that a crash or power loss mid-write
    // never leaves a slot with a report cut short. One that could not be
    // written backs nothing up: the copies that only it named go.
    if (!encoder.valid() || !win::replaceFileContents(reportPath, encoder.bytes())) {
        for (const std::string& copy : copies) DeleteFileA(copy.c_str());
        return false;
    }
    if (backedUp) *backedUp = std::move(saved);
    return true;
}

namespace {

// A report read back; with NotAReport nothing was read.
DecodedReport decodeReportFile(const std::string& path) {
    std::string bytes;
    DecodedReport report;
    if (!win::readFileBytes(path, kMaxReportBytes, bytes)) return report;
    report = decodeReport(bytes, rootNameOf);
    if (report.status == ReportStatus::UnknownRecord)
        win::showMessageBox(nullptr, "Unknown Entry Type: " + std::to_string(report.unknownCode),
                            "", MB_OK);
    return report;
}

}  // namespace

bool readReport(const std::string& path, std::vector<TaskEntry>& entries,
                std::string& categoryName) {
    DecodedReport report = decodeReportFile(path);
    if (report.status == ReportStatus::NotAReport) return false;
    categoryName = report.categoryName;
    for (TaskEntry& e : report.entries) entries.push_back(std::move(e));
    return true;
}

bool readSlotReports(const std::string& slotFolder, std::vector<SlotReport>& reports) {
    reports.clear();
    std::vector<std::string> names;
    if (!listFileNames(slotFolder, names)) return false;
    for (const std::string& name : names) {
        if (!hasExtensionFromFirstDot(name, kReportExtension)) continue;
        SlotReport report;
        report.path = slotFolder + "\\" + name;
        DecodedReport decoded = decodeReportFile(report.path);
        report.categoryName = std::move(decoded.categoryName);
        report.entries = std::move(decoded.entries);
        report.complete = decoded.status == ReportStatus::Complete;
        if (!report.complete && decoded.recordCount > report.entries.size())
            report.unread = decoded.recordCount - static_cast<uint32_t>(report.entries.size());
        reports.push_back(std::move(report));
    }
    return true;
}

bool loadReports(const std::string& slotFolder, std::vector<std::vector<TaskEntry>>& lists,
                 std::vector<std::string>& categoryNames) {
    lists.clear();
    categoryNames.clear();
    std::vector<SlotReport> reports;
    if (!readSlotReports(slotFolder, reports)) return false;
    for (SlotReport& report : reports) {
        lists.push_back(std::move(report.entries));
        categoryNames.push_back(std::move(report.categoryName));
    }
    return true;
}

bool rewriteReport(const SlotReport& report, const std::vector<TaskEntry>& entries) {
    ReportEncoder encoder(report.categoryName);
    for (const TaskEntry& e : entries)
        if (!encoder.addReadBack(e, rootCode(e.rootName()))) return false;
    return encoder.valid() && win::replaceFileContents(report.path, encoder.bytes());
}

bool clearSlot(const std::string& slotFolder) {
    if (!deleteFilesWithExtension(slotFolder, kReportExtension)) return false;
    const std::string filesFolder = slotFolder + "\\files";
    if (!deleteFilesWithExtension(filesFolder, kCopyExtension)) return false;
    // The sub-folders of a large repair's copies.
    WIN32_FIND_DATAA found;
    win::FindHandle listing(FindFirstFileA((filesFolder + "\\*").c_str(), &found));
    if (!listing) return true;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !allDigits(found.cFileName))
            continue;
        const std::string folder = filesFolder + "\\" + found.cFileName;
        if (deleteFilesWithExtension(folder, kCopyExtension)) RemoveDirectoryA(folder.c_str());
    } while (FindNextFileA(listing.get(), &found));
    return true;
}

}  // namespace sysrepair
