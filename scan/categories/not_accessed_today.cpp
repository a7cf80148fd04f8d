#include <windows.h>

#include <string>

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

bool notAccessedToday(const std::string& path) {
    // No sharing: a file that another program holds open is left alone.
    win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FILETIME accessed;
    if (!GetFileTime(file.get(), nullptr, &accessed, nullptr)) {
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
    return dateBefore(accessDate, today);
}

}  // namespace sysrepair
