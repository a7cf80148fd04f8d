#include "scan/categories/clean_temp.h"

#include <windows.h>

#include <vector>

namespace sysrepair {

namespace {

// The value of TEMP; empty when it is undefined.
std::string temporaryFolder() {
    std::vector<char> buffer(MAX_PATH + 1);
    const DWORD n =
        GetEnvironmentVariableA("TEMP", buffer.data(), static_cast<DWORD>(buffer.size()));
    // A value too long for a path cannot be walked either.
    return n == 0 || n >= buffer.size() ? std::string() : std::string(buffer.data(), n);
}

}  // namespace

CleanTemp* CleanTemp::instance() {
    static CleanTemp* const task = new CleanTemp();
    return task;
}

bool CleanTemp::scan() {
    setRunning(true);
    clearEntries();
    const std::string folder = temporaryFolder();
    if (!folder.empty()) walkFolder(folder);
    setRunning(false);
    return true;
}

}  // namespace sysrepair
