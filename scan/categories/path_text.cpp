#include "scan/categories/path_text.h"

#include <windows.h>

#include <vector>

namespace sysrepair {

namespace {

// The variable's value of any length; empty when it is undefined.
std::string environmentVariable(const std::string& name) {
    if (name.empty()) return std::string();
    std::vector<char> buffer(260);
    for (;;) {
        const DWORD n =
            GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(n + 1);  // n is the size needed, terminator included
    }
}

enum class FileCheck { Exists, Missing, Unknown };

FileCheck checkFile(const std::string& path) {
    if (path.size() >= MAX_PATH) return FileCheck::Unknown;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileCheck::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileCheck::Missing : FileCheck::Exists;
}

}  // namespace

std::string expandText(const std::string& text) {
    std::string unquoted;
    unquoted.reserve(text.size());
    for (char c : text)
        if (c != '"') unquoted += c;

    std::string result;
    std::string::size_type i = 0;
    while (i < unquoted.size()) {
        if (unquoted[i] != '%') {
            result += unquoted[i++];
            continue;
        }
        std::string::size_type close = unquoted.find('%', i + 1);
        if (close == std::string::npos) close = unquoted.size();
        result += environmentVariable(unquoted.substr(i + 1, close - i - 1));
        i = close + 1;
    }
    return result;
}

bool fileExistsOnPath(const std::string& path) {
    FileCheck direct = checkFile(path);
    if (direct != FileCheck::Missing) return true;
    const std::string folders = environmentVariable("Path");
    std::string::size_type start = 0;
    while (start <= folders.size() && !folders.empty()) {
        std::string::size_type end = folders.find(';', start);
        if (end == std::string::npos) end = folders.size();
        if (checkFile(folders.substr(start, end - start) + "\\" + path) != FileCheck::Missing)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace sysrepair
