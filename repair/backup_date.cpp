#include "repair/backup_date.h"

#include <ctime>

namespace sysrepair {

std::string backupDateText(int32_t time) {
    const std::time_t t = time;
    // The user-interface thread is the only caller, so the shared result of
    // localtime is safe to use.
    const std::tm* local = std::localtime(&t);
    if (!local) return {};
    char text[100];
    const size_t n = std::strftime(text, sizeof text, "%m/%d/%y at %I:%M %p", local);
    return std::string(text, n);
}

}  // namespace sysrepair
