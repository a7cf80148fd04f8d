#include "scan/problem_reason.h"

#include <cstdio>

namespace sysrepair {

namespace {

// Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::string utcDateText(uint64_t fileTime) {
    const uint64_t kTicksPerDay = 864000000000ULL;
    const int64_t kDaysFrom1601To1970 = 134774;
    const int64_t days = static_cast<int64_t>(fileTime / kTicksPerDay) - kDaysFrom1601To1970;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    civilFromDays(days, year, month, day);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(year), month, day);
    return text;
}

std::string problemReason(const TaskEntry& entry) {
    if (entry.type == EntryFile && (entry.fileChecks & FoundUnused))
        return "last used on " + utcDateText(entry.lastAccess()) + ", not today";
    return entry.reason() ? *entry.reason() : std::string();
}

uint64_t problemBytes(const TaskEntry& entry) {
    return entry.type == EntryFile && (entry.fileChecks & FileStampKnown) ? entry.fileSize : 0;
}

std::string byteCountText(uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    while (value >= 1023.95 && unit + 1 < sizeof units / sizeof units[0]) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

}  // namespace sysrepair
