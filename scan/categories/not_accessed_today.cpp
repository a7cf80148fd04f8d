#include <windows.h>

#include <string>

#include "common/file_time.h"
#include "common/message_box.h"
#include "common/win_handles.h"
#include "scan/categories/file_checks.h"

namespace sysrepair {

namespace {

bool dateBefore(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    if (a.wYear != b.wYear) return a.wYear < b.wYear;
    if (a.wMonth != b.wMonth) return a.wMonth < b.wMonth;
    return a.wDay < b.wDay;
}

void reportFileTimeFailure(const char* text) {
    win::showMessageOnUiThread(text, std::to_string(GetLastError()), MB_OK);
}

}  // namespace

bool notAccessedToday(const std::string& path, TaskEntry* found) {
    // No sharing: a file that another program holds open is left alone.
    win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // The times first (asked of every file), the size only of a file found
    // unused. Not GetFileInformationByHandle: it also asks the volume, which
    // made the scan of a large temporary folder several times slower.
    FILETIME accessed, written;
    if (!GetFileTime(file.get(), nullptr, &accessed, &written)) {
        reportFileTimeFailure("Cannot Get File Time");
        return false;
    }
    SYSTEMTIME accessDate;
    if (!FileTimeToSystemTime(&accessed, &accessDate)) {
        reportFileTimeFailure("Cannot Convert File Time To System Time");
        return false;
    }
    SYSTEMTIME today;
    GetSystemTime(&today);
    if (!dateBefore(accessDate, today)) return false;
    if (found) {
        // A file whose size cannot be read could not be told from one
        // written since: not shown.
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size)) return false;
        found->fileChecks = FileStampKnown | FoundUnused;
        found->fileSize = static_cast<uint64_t>(size.QuadPart);
        found->lastWrite = win::fileTimeValue(written);
        found->setLastAccess(win::fileTimeValue(accessed));
    }
    return true;
}

}  // namespace sysrepair
