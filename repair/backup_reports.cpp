#include "repair/backup_reports.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>

#include "common/exact_registry.h"
#include "common/file_time.h"
#include "common/message_box.h"
#include "common/registry_roots.h"
#include "common/win_handles.h"
#include "common/work_progress.h"
#include "repair/backup_copies.h"
#include "repair/backup_names.h"
#include "repair/file_ops.h"
#include "repair/report_format.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

// The predefined handle of a root name, as its 32-bit file value.
uint32_t rootCode(const std::string& name) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(win::rootFromName(name)));
}

// Predefined handles are sign-extended 32-bit values on 64-bit Windows.
std::string rootNameOf(uint32_t code) {
    return win::nameFromRoot(
        reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(code))));
}

// Whether a file found by a scan is still the one it found: the same size
// and last write, and still unused when it was found for being unused.
bool fileAsFound(const TaskEntry& e, uint64_t unusedSince) {
    if (!(e.fileChecks & FileStampKnown)) return true;
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExA(e.path().c_str(), GetFileExInfoStandard, &now)) return false;
    const uint64_t size = (static_cast<uint64_t>(now.nFileSizeHigh) << 32) | now.nFileSizeLow;
    if (size != e.fileSize || win::fileTimeValue(now.ftLastWriteTime) != e.lastWrite) return false;
    return !(e.fileChecks & FoundUnused) || win::fileTimeValue(now.ftLastAccessTime) < unusedSince;
}

// The value as it is in the registry now, when it is still the one the scan
// found (the same type and bytes, where the entry holds them) and its name
// and text survive the ANSI code page.
bool valueAsFound(const TaskEntry& e, DWORD& type, std::vector<unsigned char>& data) {
    if (win::readExactValue(win::rootFromName(e.rootName()), e.keyPath(), e.valueName(), type,
                            data) != win::ValueRead::Read)
        return false;
    const bool found = e.type == EntryRegRaw || e.regType != 0 || !e.data.empty();
    return !found || (type == static_cast<DWORD>(e.regType) && data == e.data);
}

bool keyExists(const TaskEntry& e) {
    win::RegKey key;
    return RegOpenKeyExA(win::rootFromName(e.rootName()), e.keyPath().c_str(), 0, KEY_QUERY_VALUE,
                         key.receive()) == ERROR_SUCCESS;
}

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

// One report of a category being written: a category with more to back up
// than one report may hold gets several.
struct ReportPart {
    std::string path;
    ReportEncoder encoder;
    std::vector<std::string> copies;
};

}  // namespace

uint64_t startOfTodayUtc() {
    SYSTEMTIME today;
    GetSystemTime(&today);
    today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
    FILETIME start;
    return SystemTimeToFileTime(&today, &start) ? win::fileTimeValue(start) : 0;
}

bool writeReports(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                  const std::string& slotFolder, BackupCopies& copies, WrittenBackup& written) {
    written.reports.clear();
    written.entries.assign(entries.size(), BackedUpEntry());
    const uint64_t unusedSince = startOfTodayUtc();
    std::vector<ReportPart> parts;
    const auto newPart = [&] {
        parts.push_back({uniqueFileName(slotFolder, kReportExtension, std::time(nullptr)),
                         ReportEncoder(categoryName),
                         {}});
        return parts.back().encoder.valid();
    };
    if (!newPart()) return false;
    // The parts that filled up, written at once: the next part's name must
    // differ from theirs.
    std::vector<std::string> writtenEarly;

    for (size_t i = 0; i < entries.size(); ++i) {
        TaskManager::instance()->reportIndex = static_cast<int32_t>(i);
        win::advanceWork();
        const TaskEntry* e = entries[i];
        if (!e) continue;
        BackedUpEntry& out = written.entries[i];
        // The record of the entry, added to the current part or, when that
        // is full, to a new one.
        const auto add = [&](const std::function<bool(ReportEncoder&)>& record) {
            if (record(parts.back().encoder)) return true;
            if (!parts.back().encoder.full()) return false;
            if (!win::replaceFileContents(parts.back().path, parts.back().encoder.bytes()))
                return false;
            writtenEarly.push_back(parts.back().path);
            if (!newPart()) return false;
            return record(parts.back().encoder);
        };
        switch (e->type) {
            case EntryFile: {
                std::string copy;
                if (!fileAsFound(*e, unusedSince) || !copies.copy(e->path(), copy)) break;
                if (!add([&](ReportEncoder& r) { return r.addFile(e->path(), copy); })) {
                    copies.discard(copy);
                    break;
                }
                parts.back().copies.push_back(copy);
                out.copy = copy;
                if (e->fileChecks & FileStampKnown) {
                    out.expectFlags = RepairExpectFile;
                    out.fileSize = e->fileSize;
                    out.lastWrite = e->lastWrite;
                    // Making the copy may count as a use of the file (the
                    // platform may note the read): a use after it does.
                    // The clock after the copy, not the file's time: one
                    // question less per file, and a file system whose clock
                    // runs ahead only makes the repair leave the file.
                    if (e->fileChecks & FoundUnused) {
                        FILETIME copied;
                        GetSystemTimeAsFileTime(&copied);
                        out.expectFlags |= RepairExpectUnused;
                        out.latestAccess = win::fileTimeValue(copied);
                    }
                }
                out.saved = true;
                break;
            }
            case EntryFolder:
                out.saved = add([&](ReportEncoder& r) { return r.addFolder(e->path()); });
                break;
            case EntryRegKey:
                out.saved = keyExists(*e) && add([&](ReportEncoder& r) {
                                return r.addRegKey(rootCode(e->rootName()), e->keyPath());
                            });
                break;
            case EntryRegRaw:
            case EntryRegText: {
                // The backup keeps the value as it stands (an EntryRegText
                // holds the text as the scanner compared it: quotes dropped,
                // variables expanded), and the engine removes it only while
                // it is still that.
                DWORD type = 0;
                std::vector<unsigned char> data;
                if (!valueAsFound(*e, type, data)) break;
                out.saved = add([&](ReportEncoder& r) {
                    return r.addRegValue(rootCode(e->rootName()), e->keyPath(), e->valueName(),
                                         static_cast<int32_t>(type), data);
                });
                if (!out.saved) break;
                out.expectFlags = RepairExpectValue;
                out.valueType = type;
                out.valueData = std::move(data);
                break;
            }
            default:
                win::showMessageBox(nullptr, "Unknown Report Type", "Error", MB_OK);
                break;
        }
        if (out.saved) {
            out.report = parts.size() - 1;
            out.record = parts.back().encoder.recordCount() - 1;
        }
    }

    // A report appears under its name only when it is complete (written
    // beside it, then moved there), so that a crash or power loss mid-write
    // never leaves a slot with a report cut short. One that could not be
    // written backs nothing up: the copies that only it named go, and so do
    // the reports written before it, so that nothing of the category is
    // repaired without its whole backup.
    bool allWritten = true;
    for (ReportPart& part : parts) {
        if (part.encoder.recordCount() == 0 && parts.size() > 1) continue;
        const bool alreadyWritten =
            std::find(writtenEarly.begin(), writtenEarly.end(), part.path) != writtenEarly.end();
        if (!alreadyWritten && !win::replaceFileContents(part.path, part.encoder.bytes()))
            allWritten = false;
        written.reports.push_back(part.path);
    }
    if (!allWritten) {
        for (const std::string& report : written.reports) DeleteFileA(report.c_str());
        for (const ReportPart& part : parts)
            for (const std::string& copy : part.copies) copies.discard(copy);
        written.reports.clear();
        written.entries.assign(entries.size(), BackedUpEntry());
        return false;
    }
    return true;
}

bool writeReport(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                 const std::string& slotFolder, std::vector<bool>* backedUp) {
    BackupCopies copies(slotFolder);
    WrittenBackup written;
    const bool ok = writeReports(entries, categoryName, slotFolder, copies, written);
    if (backedUp) {
        backedUp->assign(entries.size(), false);
        for (size_t i = 0; i < entries.size(); ++i) (*backedUp)[i] = written.entries[i].saved;
    }
    return ok;
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

bool keepOnlyRemoved(const WrittenBackup& written, const std::vector<bool>& removed) {
    bool allKept = true;
    for (size_t r = 0; r < written.reports.size(); ++r) {
        // What this report holds of the entries, by record.
        std::vector<bool> keep;
        bool changed = false;
        for (size_t i = 0; i < written.entries.size(); ++i) {
            const BackedUpEntry& e = written.entries[i];
            if (!e.saved || e.report != r) continue;
            if (keep.size() <= e.record) keep.resize(e.record + 1, false);
            keep[e.record] = i < removed.size() && removed[i];
            changed = changed || !keep[e.record];
        }
        if (!changed) continue;
        SlotReport report;
        report.path = written.reports[r];
        DecodedReport decoded = decodeReportFile(report.path);
        if (decoded.status != ReportStatus::Complete) {
            allKept = false;
            continue;
        }
        report.categoryName = decoded.categoryName;
        std::vector<TaskEntry> kept;
        for (size_t record = 0; record < decoded.entries.size(); ++record)
            if (record < keep.size() && keep[record]) kept.push_back(decoded.entries[record]);
        const bool rewritten =
            kept.empty() ? DeleteFileA(report.path.c_str()) != 0 : rewriteReport(report, kept);
        if (!rewritten) {
            allKept = false;
            continue;
        }
        // Only once no report names them.
        for (size_t i = 0; i < written.entries.size(); ++i) {
            const BackedUpEntry& e = written.entries[i];
            if (e.saved && e.report == r && !e.copy.empty() && !(i < removed.size() && removed[i]))
                DeleteFileA(e.copy.c_str());
        }
    }
    return allKept;
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
